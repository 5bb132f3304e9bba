#include "filelist/filelistmodel.h"
#include "properties/savechanges.h"
#include "rename/newname.h"
#include "rename/renamerows.h"
#include "support/forwardingfs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>

using namespace kelvoro;
using test::contentOf;
using test::namesIn;
using namespace Qt::Literals::StringLiterals;

namespace {

RenameOptions makeOptions(unsigned mode, const QByteArray& extension, const QByteArray& text,
                          const QByteArray& replacement = {}) {
    RenameOptions o;
    o.mode = mode;
    o.extension = extension;
    if (mode & renamemode::Replace) {
        o.find = text;
        o.replacement = replacement;
    }
    if (mode & renamemode::Front)
        o.front = text;
    if (mode & renamemode::End)
        o.end = text;
    return o;
}

// The real file system, with every move it was asked for on record.
class RecordingFileSystem : public test::ForwardingFileSystem {
public:
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<platform::FileIdentity>& listed) override {
        moves << QByteArray::fromStdString(from) + " -> " + QByteArray::fromStdString(to);
        return real().moveNoReplace(from, to, listed);
    }

    QByteArrayList moves;
};

} // namespace

class TestRename : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

private Q_SLOTS:
    void init() {
        for (const QByteArray& name : namesIn(dir()))
            QFile::remove(QString::fromLocal8Bit(dir() + '/' + name));
    }

    void newNames_data() {
        using namespace renamemode;
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<unsigned>("mode");
        QTest::addColumn<QByteArray>("extension");
        QTest::addColumn<QByteArray>("text"); // find, front or end text
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("expected"); // null: no step applies

        const QByteArray none;
        QTest::newRow("extension, last dot")
            << "a.b.txt"_ba << Extension << "log"_ba << none << none << "a.b.log"_ba;
        QTest::newRow("extension of a dot file")
            << ".profile"_ba << Extension << "log"_ba << none << none << ".log"_ba;
        QTest::newRow("extension, no dot")
            << "README"_ba << Extension << "log"_ba << none << none << none;
        QTest::newRow("extension typed with its dot")
            << "a.doc"_ba << Extension << ".txt"_ba << none << none << "a..txt"_ba;
        QTest::newRow("extension after a final dot")
            << "a."_ba << Extension << "log"_ba << none << none << "a.log"_ba;
        QTest::newRow("replace every occurrence") << "banana.dat"_ba << Replace << none << "a"_ba
                                                  << "b"_ba
                                                  << "bbnbnb.dbt"_ba;
        QTest::newRow("replace without overlap or rescan")
            << "aaaa.txt"_ba << Replace << none << "aa"_ba
            << "a"_ba
            << "aa.txt"_ba;
        QTest::newRow("replace keeps inserted text") << "ab.txt"_ba << Replace << none << "a"_ba
                                                     << "aa"_ba
                                                     << "aab.txt"_ba;
        QTest::newRow("replace is case-sensitive") << "abc.txt"_ba << Replace << none << "A"_ba
                                                   << "x"_ba
                                                   << "abc.txt"_ba;
        QTest::newRow("replace by nothing") << "memo_copy.txt"_ba << Replace << none << "_copy"_ba
                                            << ""_ba
                                            << "memo.txt"_ba;
        QTest::newRow("insert at the front")
            << "memo.txt"_ba << Front << none << "2010_"_ba << none << "2010_memo.txt"_ba;
        QTest::newRow("insert at the end")
            << "report.txt"_ba << End << none << "_old"_ba << none << "report_old.txt"_ba;
        QTest::newRow("insert at the end, last dot")
            << "a.tar.gz"_ba << End << none << "_x"_ba << none << "a.tar_x.gz"_ba;
        QTest::newRow("insert at the end, no dot")
            << "README"_ba << End << none << "_x"_ba << none << "README_x"_ba;
        QTest::newRow("insert at the end, final dot")
            << "a."_ba << End << none << "_x"_ba << none << "a_x."_ba;
        QTest::newRow("insert at the end of a dot file")
            << ".profile"_ba << End << none << "_x"_ba << none << "_x.profile"_ba;
        QTest::newRow("UTF-8 name, extension")
            << "表.txt"_ba << Extension << "log"_ba << none << none << "表.log"_ba;
        QTest::newRow("UTF-8 name, replace") << "表.txt"_ba << Replace << none << "表"_ba
                                             << "裏"_ba
                                             << "裏.txt"_ba;
        QTest::newRow("UTF-8 name, end")
            << "表.txt"_ba << End << none << "_x"_ba << none << "表_x.txt"_ba;
        QTest::newRow("Shift_JIS name, extension")
            << "\x95\x5c.txt"_ba << Extension << "log"_ba << none << none << "\x95\x5c.log"_ba;
        QTest::newRow("Shift_JIS name, replace") << "\x95\x5c.txt"_ba << Replace << none << "txt"_ba
                                                 << "doc"_ba
                                                 << "\x95\x5c.doc"_ba;
        QTest::newRow("Shift_JIS name, end")
            << "\x95\x5c.txt"_ba << End << none << "_x"_ba << none << "\x95\x5c_x.txt"_ba;
        QTest::newRow("both steps") << "memo.txt"_ba << (Extension | Replace) << "log"_ba
                                    << "memo"_ba
                                    << "note"_ba
                                    << "note.log"_ba;
        QTest::newRow("name step sees the new extension")
            << "a.txt"_ba << (Extension | Replace) << "log"_ba
            << "log"_ba
            << "dat"_ba
            << "a.dat"_ba;
        QTest::newRow("name step without a dot") << "README"_ba << (Extension | Replace) << "log"_ba
                                                 << "READ"_ba
                                                 << "LOAD"_ba
                                                 << "LOADME"_ba;
        QTest::newRow("empty result fails, name stays") << "memo"_ba << Replace << none << "memo"_ba
                                                        << ""_ba
                                                        << "memo"_ba;
        QTest::newRow("dot result fails") << "x."_ba << Replace << none << "x"_ba
                                          << ""_ba
                                          << "x."_ba;
        QTest::newRow("dot-dot result fails") << "x.."_ba << Replace << none << "x"_ba
                                              << ""_ba
                                              << "x.."_ba;
        QTest::newRow("three dots are a name") << "x..."_ba << Replace << none << "x"_ba
                                               << ""_ba
                                               << "..."_ba;
        QTest::newRow("no mode") << "memo.txt"_ba << 0u << "log"_ba
                                 << "memo"_ba
                                 << "x"_ba << none;
    }
    void newNames() {
        QFETCH(QByteArray, name);
        QFETCH(unsigned, mode);
        QFETCH(QByteArray, extension);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, expected);
        const auto result = computeNewName(name, makeOptions(mode, extension, text, replacement));
        if (expected.isNull())
            QCOMPARE(result, std::nullopt);
        else
            QCOMPARE(result, std::optional<QByteArray>(expected));
    }

    void bothStepsMoveTwice() {
        const QByteArray memo = test::makeFile(dir(), "memo.txt", "memo");
        FileListModel model;
        QVERIFY(model.addFile(memo, platform::nativeFileSystem()));
        RecordingFileSystem fs;
        const RenameResult r = renameRows(
            model, fs,
            makeOptions(renamemode::Extension | renamemode::Replace, "log", "memo", "note"), {0});
        QCOMPARE(fs.moves, (QByteArrayList{memo + " -> " + dir() + "/memo.log",
                                           dir() + "/memo.log -> " + dir() + "/note.log"}));
        QCOMPARE(r.rows.size(), std::size_t(1));
        QCOMPARE(r.rows[0].extension, StepOutcome::Moved);
        QCOMPARE(r.rows[0].name, StepOutcome::Moved);
        QCOMPARE(model.row(0).name, "note.log"_ba);
        QCOMPARE(namesIn(dir()), QByteArrayList{"note.log"});
        QCOMPARE(contentOf(dir() + "/note.log"), "memo"_ba);
    }

    void failedExtensionStepLeavesTheNameStepTheOldName() {
        const QByteArray memo = test::makeFile(dir(), "memo.txt", "memo");
        const QByteArray taken = test::makeFile(dir(), "memo.log", "already here");
        FileListModel model;
        QVERIFY(model.addFile(memo, platform::nativeFileSystem()));
        RecordingFileSystem fs;
        const RenameResult r = renameRows(
            model, fs,
            makeOptions(renamemode::Extension | renamemode::Replace, "log", "memo", "note"), {0});
        QCOMPARE(r.rows[0].extension, StepOutcome::Failed);
        QCOMPARE(r.rows[0].name, StepOutcome::Moved);
        QCOMPARE(fs.moves.last(), memo + " -> " + dir() + "/note.txt");
        QCOMPARE(model.row(0).name, "note.txt"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"memo.log", "note.txt"}));
        QCOMPARE(contentOf(taken), "already here"_ba);
        QCOMPARE(contentOf(dir() + "/note.txt"), "memo"_ba);
    }

    void collisionsFailSilentlyAndOtherRowsGoOn() {
        const QByteArray one = test::makeFile(dir(), "one.txt", "one");
        test::makeFile(dir(), "one.log", "keep me");
        const QByteArray gone = test::makeFile(dir(), "gone.txt", "gone");
        const QByteArray two = test::makeFile(dir(), "two.txt", "two");
        FileListModel model;
        for (const QByteArray& p : {one, gone, two})
            QVERIFY(model.addFile(p, platform::nativeFileSystem()));
        QVERIFY(QFile::remove(QString::fromLocal8Bit(gone)));

        RecordingFileSystem fs;
        const RenameResult r =
            renameRows(model, fs, makeOptions(renamemode::Extension, "log", {}), {0, 1, 2});
        QCOMPARE(r.rows.size(), std::size_t(3));
        QCOMPARE(r.rows[0].extension, StepOutcome::Failed);
        QCOMPARE(r.rows[1].extension, StepOutcome::Failed);
        QCOMPARE(r.rows[2].extension, StepOutcome::Moved);
        QCOMPARE(r.rows[2].name, StepOutcome::NotApplied);
        QCOMPARE(model.row(0).name, "one.txt"_ba);
        QCOMPARE(model.row(1).name, "gone.txt"_ba);
        QCOMPARE(model.row(2).name, "two.log"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"one.log", "one.txt", "two.log"}));
        QCOMPARE(contentOf(dir() + "/one.log"), "keep me"_ba);
        QCOMPARE(contentOf(one), "one"_ba);
    }

    void unusableNamesAreNeverMoved_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("find");
        QTest::newRow("empty") << "memo"_ba
                               << "memo"_ba;
        QTest::newRow("dot") << "x."_ba
                             << "x"_ba;
        QTest::newRow("dot-dot") << "x.."_ba
                                 << "x"_ba;
    }
    void unusableNamesAreNeverMoved() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, find);
        const QByteArray path = test::makeFile(dir(), name, "data");
        FileListModel model;
        QVERIFY(model.addFile(path, platform::nativeFileSystem()));
        RecordingFileSystem fs;
        const RenameResult r =
            renameRows(model, fs, makeOptions(renamemode::Replace, {}, find, ""), {0});
        QCOMPARE(r.rows[0].name, StepOutcome::Failed);
        QVERIFY(fs.moves.isEmpty());
        QCOMPARE(model.row(0).name, name);
        QCOMPARE(contentOf(path), "data"_ba);
    }

    // A replace that finds nothing, or an extension the file has already, leaves the name as
    // it is: no move is asked for and none is counted.
    void unchangedNamesAreNoMove_data() {
        QTest::addColumn<unsigned>("mode");
        QTest::addColumn<QByteArray>("extension");
        QTest::addColumn<QByteArray>("find");
        QTest::newRow("replace finds nothing") << unsigned(renamemode::Replace) << ""_ba
                                               << "q"_ba;
        QTest::newRow("same extension") << unsigned(renamemode::Extension) << "txt"_ba
                                        << ""_ba;
        QTest::newRow("both") << unsigned(renamemode::Extension | renamemode::Replace) << "txt"_ba
                              << "Memo"_ba;
    }
    void unchangedNamesAreNoMove() {
        QFETCH(unsigned, mode);
        QFETCH(QByteArray, extension);
        QFETCH(QByteArray, find);
        const QByteArray memo = test::makeFile(dir(), "memo.txt", "memo");
        FileListModel model;
        QVERIFY(model.addFile(memo, platform::nativeFileSystem()));
        RecordingFileSystem fs;
        const RenameResult r =
            renameRows(model, fs, makeOptions(mode, extension, find, "note"), {0});
        QCOMPARE(r.rows.size(), std::size_t(1));
        QCOMPARE(fs.moves, QByteArrayList());
        QCOMPARE(r.rows[0].extension, StepOutcome::NotApplied);
        QCOMPARE(r.rows[0].name, StepOutcome::NotApplied);
        QCOMPARE(model.row(0).name, "memo.txt"_ba);
        QVERIFY(model.contains(memo));
    }

    void stopsAtARowBoundary() {
        FileListModel model;
        for (const char* n : {"r0.txt", "r1.txt", "r2.txt"})
            QVERIFY(model.addFile(test::makeFile(dir(), n), platform::nativeFileSystem()));
        std::vector<std::tuple<int, int, int>> seen;
        const RenameResult r =
            renameRows(model, platform::nativeFileSystem(),
                       makeOptions(renamemode::Extension | renamemode::Front, "log", "new_"),
                       {0, 2}, [&](int done, int total, int row) {
                           seen.emplace_back(done, total, row);
                           return done < 1;
                       });
        QVERIFY(r.cancelled);
        QCOMPARE(seen, (std::vector<std::tuple<int, int, int>>{{0, 2, 0}, {1, 2, 2}}));
        QCOMPARE(r.rows.size(), std::size_t(1));
        // The row that was done keeps both moves.
        QCOMPARE(model.row(0).name, "new_r0.log"_ba);
        QCOMPARE(model.row(1).name, "r1.txt"_ba);
        QCOMPARE(namesIn(dir()), (QByteArrayList{"new_r0.log", "r1.txt", "r2.txt"}));
    }

    void stagedEditsStayWithTheRenamedRow() {
        const QByteArray a = test::makeFile(dir(), "a.txt");
        const QByteArray b = test::makeFile(dir(), "b.txt");
        FileListModel model;
        QVERIFY(model.addFile(a, platform::nativeFileSystem()));
        QVERIFY(model.addFile(b, platform::nativeFileSystem()));
        const RowFlags flags{true, true, false, false};
        model.stageEdit(0, CalendarTime(1262304000), CalendarTime(1262390400), std::nullopt, flags);

        renameRows(model, platform::nativeFileSystem(), makeOptions(renamemode::Front, {}, "2010_"),
                   {0, 1});
        const FileRow& row = model.row(0);
        QVERIFY(row.staged);
        QCOMPARE(model.stagedCount(), 1);
        QVERIFY(!model.row(1).staged);
        QCOMPARE(row.created, std::optional<CalendarTime>(1262304000));
        QCOMPARE(row.modified, std::optional<CalendarTime>(1262390400));
        QCOMPARE(row.flags(), flags);
        QCOMPARE(row.path(), dir() + "/2010_a.txt");
        QVERIFY(model.contains(dir() + "/2010_a.txt"));
        QVERIFY(!model.contains(a));

        // The save reaches the file under its new name.
        QCOMPARE(saveStagedRows(model, platform::nativeFileSystem()).outcome,
                 SaveResult::Outcome::Saved);
        const platform::FileStatus onDisk =
            platform::nativeFileSystem().readStatus(test::toStd(dir() + "/2010_a.txt"));
        QCOMPARE(onDisk.modified, std::optional<std::int64_t>(1262390400));
        QCOMPARE(onDisk.created, std::optional<std::int64_t>(1262304000));
        QCOMPARE(onDisk.attributes & platform::attr::Managed,
                 platform::attr::ReadOnly | platform::attr::Hidden |
                     platform::attr::NotContentIndexed);
        QVERIFY(!model.row(0).staged);
    }
};

QTEST_GUILESS_MAIN(TestRename)
#include "tst_rename.moc"
