#include "filelist/filelistmodel.h"
#include "rename/renameplan.h"
#include "rename/renamerows.h"
#include "statushelpers.h"
#include "support/forwardingfs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace kelvoro;
using test::contentOf;
using test::namesIn;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(kelvoro::NameConflict)
Q_DECLARE_METATYPE(kelvoro::RenameOptions)

namespace {

// Each row's number stands instead of its name: the order of the rows decides who gets which.
RenameOptions numberedInstead(int digits = 1, qint64 start = 1, const QByteArray& base = {},
                              const QByteArray& separator = {}) {
    RenameOptions o;
    o.numbering = {true, start, 1, digits, NumberPosition::InsteadOfName, separator, base};
    return o;
}

// The native file system, with a hook that runs before each move.
class HookedFileSystem : public test::ForwardingFileSystem {
public:
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<platform::FileIdentity>& listed) override {
        ++moves;
        if (beforeMove)
            beforeMove(moves, to);
        return real().moveNoReplace(from, to, listed);
    }

    int moves = 0;
    std::function<void(int move, const std::string& to)> beforeMove;
};

} // namespace

class TestRenamePlan : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    // Files whose content is their first name, listed in the given order.
    void listFiles(FileListModel& model, const QByteArrayList& names) {
        for (const QByteArray& name : names)
            QVERIFY(model.addFile(test::makeFile(dir(), name, name), platform::nativeFileSystem()));
    }
    static std::vector<int> allRows(const FileListModel& model) {
        std::vector<int> rows;
        for (int i = 0; i < model.rowCount(); ++i)
            rows.push_back(i);
        return rows;
    }
    static QByteArrayList failures(const RenameResult& r) {
        QByteArrayList out;
        for (const RowRenameResult& row : r.rows) {
            if (row.failure != RenameFailure::None)
                out << row.oldName + ": " + renameFailureText(row.failure).toUtf8();
        }
        return out;
    }

private Q_SLOTS:
    void init() {
        for (const QByteArray& name : namesIn(dir()))
            QFile::remove(QString::fromLocal8Bit(dir() + '/' + name));
    }

    // Names held by other rows that move away are free; each file ends under the name its
    // place in the list gives it, with its own content, and nothing else is on disk.
    void dependentRenames_data() {
        QTest::addColumn<QByteArrayList>("listed");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<QByteArrayList>("expected"); // new name of each listed file
        QTest::newRow("swap") << QByteArrayList{"2", "1"} << qint64(1) << QByteArrayList{"1", "2"};
        QTest::newRow("chain, last first")
            << QByteArrayList{"1", "2", "3"} << qint64(2) << QByteArrayList{"2", "3", "4"};
        QTest::newRow("chain, first first")
            << QByteArrayList{"2", "3", "4"} << qint64(1) << QByteArrayList{"1", "2", "3"};
        QTest::newRow("cycle of three")
            << QByteArrayList{"3", "1", "2"} << qint64(1) << QByteArrayList{"1", "2", "3"};
        QTest::newRow("two swaps and a bystander")
            << QByteArrayList{"2", "1", "5", "4", "3"} << qint64(1)
            << QByteArrayList{"1", "2", "3", "4", "5"};
    }
    void dependentRenames() {
        QFETCH(QByteArrayList, listed);
        QFETCH(qint64, start);
        QFETCH(QByteArrayList, expected);
        FileListModel model;
        listFiles(model, listed);
        const RenameResult r = renameRows(model, platform::nativeFileSystem(),
                                          numberedInstead(1, start), allRows(model));
        QCOMPARE(failures(r), QByteArrayList());
        QCOMPARE(r.rows.size(), std::size_t(listed.size()));
        for (int i = 0; i < listed.size(); ++i) {
            QCOMPARE(model.row(i).name, expected[i]);
            QCOMPARE(contentOf(dir() + '/' + expected[i]), listed[i]);
        }
        QByteArrayList sorted = expected;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(namesIn(dir()), sorted);
    }

    // A name that another program takes between the plan and the move is never replaced.
    void nameTakenMeanwhile() {
        FileListModel model;
        listFiles(model, {"a.txt", "b.txt"});
        HookedFileSystem fs;
        fs.beforeMove = [&](int move, const std::string&) {
            if (move == 1)
                test::makeFile(dir(), "x_a.txt", "intruder");
        };
        RenameOptions o;
        o.mode = renamemode::Front;
        o.front = "x_";
        const RenameResult r = renameRows(model, fs, o, {0, 1});
        QCOMPARE(failures(r), QByteArrayList{"a.txt: 既に存在します"});
        QCOMPARE(contentOf(dir() + "/x_a.txt"), "intruder"_ba);
        QCOMPARE(model.row(0).name, "a.txt"_ba);
        QCOMPARE(model.row(1).name, "x_b.txt"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"a.txt", "x_a.txt", "x_b.txt"}));
    }

    // A swap whose last move finds its name taken leaves the file where the list says.
    void swapInterruptedKeepsTheListTrue() {
        FileListModel model;
        listFiles(model, {"2", "1"});
        HookedFileSystem fs;
        fs.beforeMove = [&](int move, const std::string&) {
            if (move == 3) // park, the other row, then this one: "1" is taken first
                test::makeFile(dir(), "1", "intruder");
        };
        const RenameResult r = renameRows(model, fs, numberedInstead(), {0, 1});
        QCOMPARE(failures(r), QByteArrayList{"2: 一時的な名前のままです"});
        QCOMPARE(contentOf(dir() + "/1"), "intruder"_ba);
        QCOMPARE(model.row(1).name, "2"_ba);
        QCOMPARE(contentOf(dir() + '/' + model.row(0).name), "2"_ba);
        QVERIFY(model.row(0).name.startsWith('.'));
    }

    // A swap whose temporary name another program takes at that moment takes the next one.
    void temporaryNameTakenMeanwhile() {
        FileListModel model;
        listFiles(model, {"2", "1"});
        HookedFileSystem fs;
        QByteArray intruder;
        fs.beforeMove = [&](int move, const std::string& to) {
            if (move == 1) {
                intruder = QByteArray::fromStdString(to);
                const QByteArray name = intruder.mid(intruder.lastIndexOf('/') + 1);
                test::makeFile(dir(), name, "intruder");
            }
        };
        const RenameResult r = renameRows(model, fs, numberedInstead(), {0, 1});
        QCOMPARE(failures(r), QByteArrayList());
        QCOMPARE(contentOf(dir() + "/1"), "2"_ba);
        QCOMPARE(contentOf(dir() + "/2"), "1"_ba);
        QCOMPARE(contentOf(intruder), "intruder"_ba);
        QCOMPARE(fs.moves, 4);
    }

    // A folder whose entries cannot change (immutable): the file keeps its name and the reason says
    // the file system refused.
    void refusedMoveIsTold() {
        const QByteArray locked = dir() + "/locked";
        QVERIFY(QDir().mkpath(QFile::decodeName(locked)));
        FileListModel model;
        QVERIFY(model.addFile(test::makeFile(locked, "a.txt"), platform::nativeFileSystem()));
        const auto chattr = [&](const char* flag) {
            return test::run(u"chattr"_s, {QString::fromLatin1(flag), QFile::decodeName(locked)})
                       .first == 0;
        };
        if (!chattr("+i"))
            QSKIP("chattr +i is refused here; root cannot be denied a rename otherwise");
        RenameOptions o;
        o.mode = renamemode::Front;
        o.front = "x_";
        const RenameResult r = renameRows(model, platform::nativeFileSystem(), o, {0});
        QVERIFY(chattr("-i"));
        QCOMPARE(failures(r), QByteArrayList{"a.txt: 名前を変更できませんでした"});
        QCOMPARE(model.row(0).name, "a.txt"_ba);
        QCOMPARE(namesIn(locked), QByteArrayList{"a.txt"});
        QDir(QFile::decodeName(locked)).removeRecursively();
    }

    void conflicts_data() {
        QTest::addColumn<QByteArrayList>("listed");
        QTest::addColumn<QByteArrayList>("others"); // on disk, not renamed
        QTest::addColumn<RenameOptions>("options");
        QTest::addColumn<QList<NameConflict>>("expected");
        using C = NameConflict;
        const auto pattern = [](const QByteArray& find, const QByteArray& replacement) {
            RenameOptions o;
            o.mode = renamemode::Replace;
            o.find = find;
            o.replacement = replacement;
            o.regularExpression = true;
            return o;
        };
        QTest::newRow("free") << QByteArrayList{"a1"} << QByteArrayList{} << pattern("a", "b")
                              << QList<C>{C::None};
        QTest::newRow("on disk") << QByteArrayList{"a1"} << QByteArrayList{"b1"}
                                 << pattern("a", "b") << QList<C>{C::Exists};
        QTest::newRow("two rows, one name")
            << QByteArrayList{"a1", "b1", "c1"} << QByteArrayList{} << pattern("[ab]", "x")
            << QList<C>{C::None, C::Duplicate, C::None};
        QTest::newRow("held by a row that stays")
            << QByteArrayList{"a1", "b1"} << QByteArrayList{} << pattern("^a", "b")
            << QList<C>{C::Exists, C::None};
        QTest::newRow("held by a row that cannot move")
            << QByteArrayList{"ab", "b"} << QByteArrayList{} << pattern("^a|^b$", "")
            << QList<C>{C::Exists, C::Unusable};
        QTest::newRow("swap is free") << QByteArrayList{"2", "1"} << QByteArrayList{}
                                      << numberedInstead() << QList<C>{C::None, C::None};
        QTest::newRow("a blocked row blocks the row behind it")
            << QByteArrayList{"1", "2"} << QByteArrayList{"3"} << numberedInstead(1, 2)
            << QList<C>{C::Exists, C::Exists};
        QTest::newRow("separator") << QByteArrayList{"a1"} << QByteArrayList{} << pattern("a", "x/")
                                   << QList<C>{C::Unusable};
        QTest::newRow("emptied") << QByteArrayList{"a1"} << QByteArrayList{} << pattern(".*", "")
                                 << QList<C>{C::Unusable};
        QTest::newRow("too long") << QByteArrayList{"a1"} << QByteArrayList{}
                                  << pattern("a", QByteArray(300, 'x')) << QList<C>{C::Unusable};
        QTest::newRow("unchanged is no conflict") << QByteArrayList{"a1"} << QByteArrayList{"a1x"}
                                                  << pattern("z", "x") << QList<C>{C::None};
    }
    void conflicts() {
        QFETCH(QByteArrayList, listed);
        QFETCH(QByteArrayList, others);
        QFETCH(RenameOptions, options);
        QFETCH(QList<NameConflict>, expected);
        std::vector<RenameSource> sources;
        for (const QByteArray& name : listed) {
            test::makeFile(dir(), name);
            sources.push_back({dir(), name});
        }
        for (const QByteArray& name : others)
            test::makeFile(dir(), name);
        FolderNames folders;
        const RenameAnalysis a = analyseRenames(sources, options, folders);
        QList<NameConflict> got;
        for (const PlannedName& p : a.rows)
            got << p.conflict;
        QCOMPARE(got, expected);
        QCOMPARE(a.blocked,
                 qsizetype(std::count_if(expected.begin(), expected.end(),
                                         [](NameConflict c) { return c != NameConflict::None; })));
    }

    // 300 photos in the list's order get a name and a three-digit number, nothing else.
    void threeHundredPhotos() {
        FileListModel model;
        QByteArrayList listed;
        for (int i = 0; i < 300; ++i) // listed newest first, as a sort by date may leave them
            listed << "IMG_" + QByteArray::number(9000 - i) + ".jpg";
        listFiles(model, listed);
        const RenameOptions o = numberedInstead(3, 1, "trip", "_");
        FolderNames folders;
        std::vector<RenameSource> sources;
        for (int i = 0; i < model.rowCount(); ++i)
            sources.push_back({model.row(i).directory, model.row(i).name});
        const RenameAnalysis a = analyseRenames(sources, o, folders);
        QCOMPARE(a.changing, qsizetype(300));
        QCOMPARE(a.blocked, qsizetype(0));

        const RenameResult r = renameRows(model, platform::nativeFileSystem(), o, allRows(model));
        QCOMPARE(failures(r), QByteArrayList());
        QByteArrayList expected;
        for (int i = 1; i <= 300; ++i)
            expected << "trip_" + QByteArray::number(i).rightJustified(3, '0') + ".jpg";
        QCOMPARE(namesIn(dir()), expected);
        QCOMPARE(contentOf(dir() + "/trip_001.jpg"), "IMG_9000.jpg"_ba);
        QCOMPARE(contentOf(dir() + "/trip_300.jpg"), "IMG_8701.jpg"_ba);
    }
};

QTEST_GUILESS_MAIN(TestRenamePlan)
#include "tst_renameplan.moc"
