#include "filelist/filelistmodel.h"
#include "platform/dosattrib.h"
#include "support/testfiles.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

// Goes back to the directory the test started in, and removes what it made on the way.
struct DirectoryReturn {
    QByteArray home = QFile::encodeName(QDir::currentPath());
    QByteArray made;
    ~DirectoryReturn() {
        if (::chdir(home.constData()) != 0)
            qFatal("cannot return to the test directory");
        if (!made.isEmpty())
            QProcess::execute(QStringLiteral("rm"),
                              {QStringLiteral("-rf"), QFile::decodeName(made)});
    }
};

class TestFileListModel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }
    platform::FileSystem& fs() { return platform::nativeFileSystem(); }

    static QString cell(const FileListModel& m, int r, int c) {
        return m.data(m.index(r, c), Qt::DisplayRole).toString();
    }

private Q_SLOTS:
    void headersAndCells() {
        FileListModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.columnCount(), 9);
        const QStringList headers = {u"ﾃﾞｨﾚｸﾄﾘ"_s,  u"ﾌｧｲﾙ"_s,     u"作成日時"_s,
                                     u"更新日時"_s, u"ｱｸｾｽ日時"_s, u"読み取り専用"_s,
                                     u"隠しﾌｧｲﾙ"_s, u"ｱｰｶｲﾌﾞ"_s,   u"ｲﾝﾃﾞｯｸｽ"_s};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);

        const QByteArray path = test::makeFile(dir(), "表.txt");
        test::setTimes(path, 1281152096, 1281152000); // 2010/08/07 12:34:56 in Tokyo
        ::chmod(path.constData(), 0444);
        QVERIFY(m.addFile(path, fs()));
        QCOMPARE(m.rowCount(), 1);
        QCOMPARE(cell(m, 0, ColDirectory), m_dir.path());
        QCOMPARE(cell(m, 0, ColName), u"表.txt"_s);
        QCOMPARE(cell(m, 0, ColModified), u"2010/08/07 12:34:56"_s);
        QCOMPARE(cell(m, 0, ColAccessed), u"2010/08/07 12:33:20"_s);
        // Read-only set; hidden and archive clear; content-indexed (no "not indexed" bit).
        QCOMPARE(cell(m, 0, ColReadOnly), u" "_s);
        QCOMPARE(cell(m, 0, ColHidden), QString());
        QCOMPARE(cell(m, 0, ColArchive), QString());
        QCOMPARE(cell(m, 0, ColIndex), u" "_s);
        QCOMPARE(m.data(m.index(0, ColIndex), FileListModel::FlagRole).toBool(), true);
        QCOMPARE(m.data(m.index(0, 0), FileListModel::PathRole).toByteArray(), path);
    }

    void indexMarkFollowsTheNotIndexedBit() {
        const QByteArray path = test::makeFile(dir(), "blob.txt");
        const std::string blob = platform::encodeDosAttrib({0x2020, std::nullopt});
        if (::setxattr(path.constData(), "user.DOSATTRIB", blob.data(), blob.size(), 0) != 0)
            QSKIP("this file system does not store user extended attributes");
        FileListModel m;
        QVERIFY(m.addFile(path, fs()));
        QCOMPARE(cell(m, 0, ColArchive), u" "_s);
        QCOMPARE(cell(m, 0, ColIndex), QString());
    }

    void duplicatesAreExactBytes() {
        FileListModel m;
        const QByteArray a = test::makeFile(dir(), "A.TXT");
        const QByteArray b = test::makeFile(dir(), "a.txt");
        QVERIFY(m.addFile(a, fs()));
        QVERIFY(!m.addFile(a, fs()));
        QVERIFY(m.addFile(b, fs()));
        QCOMPARE(m.rowCount(), 2);
        // A relative path names the same file as its absolute form.
        QDir::setCurrent(m_dir.path());
        QVERIFY(!m.addFile("./a.txt", fs()));
        QVERIFY(!m.addFile("a.txt", fs()));
        QCOMPARE(m.rowCount(), 2);
        // After a rename the old path is free and the new one taken.
        m.setName(0, "B.TXT");
        QVERIFY(m.contains(dir() + "/B.TXT"));
        QVERIFY(m.addFile(a, fs()));
        QVERIFY(!m.addFile(dir() + "/B.TXT", fs()));
        // Two rows may come to name one path; removing one keeps the path listed.
        m.setName(1, "B.TXT");
        m.removeRowList({0});
        QVERIFY(!m.addFile(dir() + "/B.TXT", fs()));
    }

    // Under a current directory longer than PATH_MAX a relative path names the file beneath
    // it, not the one at the root with the same relative name.
    void relativePathUnderADeepDirectory_data() {
        QTest::addColumn<QByteArray>("given");
        QTest::newRow("plain") << QByteArray("srv/x/f.txt");
        QTest::newRow("dot first") << QByteArray("./srv/x/f.txt");
    }
    void relativePathUnderADeepDirectory() {
        QFETCH(QByteArray, given);
        DirectoryReturn back;
        back.made = dir() + "/deep";
        QByteArray expected = back.made;
        QCOMPARE(::mkdir(expected.constData(), 0700), 0);
        QCOMPARE(::chdir(expected.constData()), 0);
        const QByteArray level(200, 'd');
        while (expected.size() <= PATH_MAX) {
            QCOMPARE(::mkdir(level.constData(), 0700), 0);
            QCOMPARE(::chdir(level.constData()), 0);
            expected += '/' + level;
        }
        QVERIFY(::mkdir("srv", 0700) == 0 && ::mkdir("srv/x", 0700) == 0);
        const int fd = ::open("srv/x/f.txt", O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);

        FileListModel m;
        QVERIFY(m.addFile(given, fs()));
        QCOMPARE(m.row(0).path(), expected + "/srv/x/f.txt");
    }

    // A current directory that is gone names no file: the path is refused, not guessed.
    void relativePathWithoutACurrentDirectory() {
        DirectoryReturn back;
        const QByteArray gone = dir() + "/gone-cwd";
        QCOMPARE(::mkdir(gone.constData(), 0700), 0);
        QCOMPARE(::chdir(gone.constData()), 0);
        QCOMPARE(::rmdir(gone.constData()), 0);
        FileListModel m;
        QVERIFY(!m.addFile("f.txt", fs()));
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(FileListModel::absolutePath("f.txt"), QByteArray());
        QCOMPARE(FileListModel::absolutePaths({"/a", "b"}), QList<QByteArray>({"/a", ""}));
    }

    void missingFileStillGetsARow() {
        FileListModel m;
        QVERIFY(m.addFile(dir() + "/gone/\xff\xfe.bin", fs()));
        QCOMPARE(m.row(0).name, QByteArray("\xff\xfe.bin"));
        QCOMPARE(cell(m, 0, ColModified), QString());
        for (int c = ColReadOnly; c <= ColIndex; ++c)
            QCOMPARE(cell(m, 0, c), QString());
    }

    void removalByRangesKeepsTheRightRows() {
        FileListModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 0; i < 10; ++i)
            QVERIFY(m.addFile(dir() + "/r" + QByteArray::number(i), fs()));
        m.stageEdit(1, std::nullopt, std::nullopt, std::nullopt, RowFlags{});
        m.stageEdit(8, std::nullopt, std::nullopt, std::nullopt, RowFlags{});
        QCOMPARE(m.stagedCount(), 2);
        QSignalSpy removed(&m, &QAbstractItemModel::rowsRemoved);
        QSignalSpy staged(&m, &FileListModel::stagedCountChanged);
        m.removeRowList({9, 1, 2, 5, 2, 0});
        QCOMPARE(removed.size(), 3); // {0,1,2}, {5}, {9}
        QStringList names;
        for (int r = 0; r < m.rowCount(); ++r)
            names << QString::fromLatin1(m.row(r).name);
        QCOMPARE(names, QStringList({u"r3"_s, u"r4"_s, u"r6"_s, u"r7"_s, u"r8"_s}));
        // The staged mark went with row 1 and stayed with row 8 (now row 4).
        QCOMPARE(m.stagedCount(), 1);
        QVERIFY(m.row(4).staged);
        QCOMPARE(staged.size(), 1);
        QVERIFY(m.addFile(dir() + "/r0", fs())); // a removed path may come back
        m.clear();
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.stagedCount(), 0);
    }

    // Queued rows stay out of sight until published, in one insertion, yet count as listed;
    // renames, removals and the index agree whatever their order.
    void queuedRowsRenamesAndTheIndex() {
        FileListModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 50; ++i)
            QVERIFY(m.queueFile(dir() + "/q" + QByteArray::number(i), fs()));
        QVERIFY(!m.queueFile(dir() + "/q7", fs()));
        QCOMPARE(m.rowCount(), 0);
        m.publishPending();
        QCOMPARE(m.rowCount(), 50);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(m.row(49).name, QByteArray("q49"));

        for (int r = 0; r < 50; ++r)
            m.setName(r, "x" + m.row(r).name);
        m.removeRowList({3, 4});
        m.setName(5, "q0"); // xq7 back onto a name that was freed
        QVERIFY(!m.contains(dir() + "/xq7"));
        QVERIFY(m.contains(dir() + "/q0"));
        QVERIFY(!m.contains(dir() + "/xq3"));
        QVERIFY(m.contains(dir() + "/xq49"));
        QVERIFY(m.addFile(dir() + "/q1", fs()));
        QVERIFY(m.addFile(dir() + "/xq3", fs()));
        QVERIFY(!m.addFile(dir() + "/xq48", fs()));
        QVERIFY(!m.addFile(dir() + "/q0", fs()));
        // After the index was rebuilt, removals keep it exact again.
        m.removeRowList({5});
        QVERIFY(!m.contains(dir() + "/q0"));
    }

    // Changes made within a batch, nested or not, reach the views as one span.
    void batchedChangesSignalOnce() {
        FileListModel m;
        for (int i = 0; i < 8; ++i)
            QVERIFY(m.addFile(dir() + "/b" + QByteArray::number(i), fs()));
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy counted(&m, &FileListModel::stagedCountChanged);
        {
            const FileListModel::ChangeBatch outer(m);
            m.stageEdit(5, std::nullopt, 0, std::nullopt, RowFlags{});
            {
                const FileListModel::ChangeBatch inner(m);
                m.setName(2, "renamed");
                m.stageEdit(6, std::nullopt, 0, std::nullopt, RowFlags{});
            }
            QCOMPARE(changed.size(), 0);
            QCOMPARE(counted.size(), 0);
            QCOMPARE(m.stagedCount(), 2);
        }
        QCOMPARE(changed.size(), 1);
        QCOMPARE(counted.size(), 1);
        QCOMPARE(counted[0][0].toInt(), 2);
        const auto from = changed[0][0].value<QModelIndex>();
        const auto to = changed[0][1].value<QModelIndex>();
        QCOMPARE(from.row(), 2);
        QCOMPARE(to.row(), 6);
        QCOMPARE(to.column(), ColumnCount - 1);
        {
            // Staging a row that is staged already changes no count.
            const FileListModel::ChangeBatch again(m);
            m.stageEdit(5, std::nullopt, 1, std::nullopt, RowFlags{});
        }
        QCOMPARE(changed.size(), 2);
        QCOMPARE(counted.size(), 1);
        { const FileListModel::ChangeBatch idle(m); }
        QCOMPARE(changed.size(), 2);
    }

    void stagingShowsTheNewValues() {
        FileListModel m;
        const QByteArray path = test::makeFile(dir(), "s.txt");
        QVERIFY(m.addFile(path, fs()));
        const auto before = m.row(0).modified;
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        m.stageEdit(0, 0, std::nullopt, 86400, RowFlags{true, true, false, false});
        QCOMPARE(cell(m, 0, ColCreated), u"1970/01/01 09:00:00"_s);
        QCOMPARE(m.row(0).modified, before); // not given: unchanged
        QCOMPARE(cell(m, 0, ColAccessed), u"1970/01/02 09:00:00"_s);
        QCOMPARE(m.row(0).attributes & platform::attr::Managed,
                 platform::attr::ReadOnly | platform::attr::Hidden |
                     platform::attr::NotContentIndexed);
        QVERIFY(m.data(m.index(0, 0), FileListModel::StagedRole).toBool());
        QCOMPARE(changed.size(), 1);
        m.clearStaged();
        QVERIFY(!m.row(0).staged);
    }
};

QTEST_GUILESS_MAIN(TestFileListModel)
#include "tst_filelistmodel.moc"
