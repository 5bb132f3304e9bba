#include "filelist/folderlisting.h"
#include "platform/folderreader.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

// Shift_JIS for "写真", which is not UTF-8.
const QByteArray kShiftJisName = "\x8e\xca\x90\x5e.jpg";

// A reader that plays a tree in memory, for what a real tree cannot show on demand.
class FakeReader : public platform::FolderReader {
public:
    struct Folder {
        platform::FolderIdentity identity;
        int error = 0;
        std::vector<platform::FolderEntry> entries;
    };
    std::map<std::string, Folder> folders;

    int readFolder(const std::string& path, bool, platform::FolderIdentity& identity,
                   std::vector<platform::FolderEntry>& entries) const override {
        const auto it = folders.find(path);
        if (it == folders.end())
            return ENOENT;
        identity = it->second.identity;
        entries = it->second.entries;
        return it->second.error;
    }
};

} // namespace

class TestFolderListing : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_root;

    QByteArrayList relative(const QList<QByteArray>& paths) const {
        QByteArrayList out;
        for (const QByteArray& p : paths)
            out << (p == m_root ? "."_ba : p.mid(m_root.size() + 1));
        return out;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_root = QFile::encodeName(m_dir.path()) + "/tree";
        const QByteArray r = m_root;
        for (const QByteArray& d : {r, r + "/sub", r + "/sub/deep", r + "/.hiddendir"})
            QVERIFY(::mkdir(d.constData(), 0755) == 0);
        for (const QByteArray& f :
             {"a.jpg"_ba, "B.JPEG"_ba, "c.txt"_ba, ".hidden.jpg"_ba, "sub/d.Jpg"_ba,
              "sub/.e.jpg"_ba, "sub/deep/f.png"_ba, ".hiddendir/g.jpg"_ba, kShiftJisName})
            test::makeFile(r, f);
        QVERIFY(::symlink("sub", (r + "/link").constData()) == 0);
        QVERIFY(::symlink(".", (r + "/sub/loop").constData()) == 0);
        QVERIFY(::symlink("missing", (r + "/dangling").constData()) == 0);
        QVERIFY(::mkfifo((r + "/fifo").constData(), 0644) == 0);
    }

    // QTemporaryDir cannot name the Shift_JIS file.
    void cleanupTestCase() { std::filesystem::remove_all(m_root.toStdString()); }

    void walk_data() {
        QTest::addColumn<bool>("recurse");
        QTest::addColumn<bool>("folders");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QByteArrayList>("expected");
        const QByteArray sj = kShiftJisName;
        // Links are listed as themselves; the FIFO never.
        QTest::newRow("one level")
            << false << false << false << QString()
            << QByteArrayList{"B.JPEG", "a.jpg", "c.txt", "dangling", "link", sj};
        QTest::newRow("recursive: a folder's files, then its subfolders")
            << true << false << false << QString()
            << QByteArrayList{"B.JPEG", "a.jpg",     "c.txt",    "dangling",      "link",
                              sj,       "sub/d.Jpg", "sub/loop", "sub/deep/f.png"};
        QTest::newRow("folders as rows, one level")
            << false << true << false << QString()
            << QByteArrayList{".", "B.JPEG", "a.jpg", "c.txt", "dangling", "link", "sub", sj};
        QTest::newRow("folders as rows, recursive")
            << true << true << false << QString()
            << QByteArrayList{".", "B.JPEG", "a.jpg",     "c.txt",    "dangling", "link",
                              sj,  "sub",    "sub/d.Jpg", "sub/loop", "sub/deep", "sub/deep/f.png"};
        QTest::newRow("hidden files and folders")
            << true << false << true << QString()
            << QByteArrayList{".hidden.jpg", "B.JPEG",    "a.jpg",    "c.txt",
                              "dangling",    "link",      sj,         ".hiddendir/g.jpg",
                              "sub/.e.jpg",  "sub/d.Jpg", "sub/loop", "sub/deep/f.png"};
        QTest::newRow("two patterns in mixed case")
            << true << false << false << u" *.JPG ;*.jpeg;"_s
            << QByteArrayList{"B.JPEG", "a.jpg", sj, "sub/d.Jpg"};
        QTest::newRow("folders listed whatever the patterns")
            << true << true << false << u"*.png"_s
            << QByteArrayList{".", "sub", "sub/deep", "sub/deep/f.png"};
        QTest::newRow("a pattern with ? and no match")
            << false << false << false << u"?.txt;*.gif"_s << QByteArrayList{"c.txt"};
    }
    void walk() {
        QFETCH(bool, recurse);
        QFETCH(bool, folders);
        QFETCH(bool, hidden);
        QFETCH(QString, patterns);
        QFETCH(QByteArrayList, expected);
        const FolderListing listing = listFolder(m_root, {recurse, folders, hidden, patterns},
                                                 platform::nativeFolderReader());
        QCOMPARE(relative(listing.paths), expected);
        QVERIFY(listing.problems.empty());
        QVERIFY(!listing.cancelled);
    }

    void rootSpellings_data() {
        QTest::addColumn<QByteArray>("root");
        QTest::newRow("trailing separators") << "/tree//"_ba;
        QTest::newRow("a link to the folder") << "/rootlink"_ba;
    }
    void rootSpellings() {
        QFETCH(QByteArray, root);
        const QByteArray base = QFile::encodeName(m_dir.path());
        ::symlink("tree", (base + "/rootlink").constData());
        const FolderListing listing =
            listFolder(base + root, {false, false, false, {}}, platform::nativeFolderReader());
        QCOMPARE(listing.paths.size(), 6);
        // Named through the folder as given, with one separator.
        const QByteArray folder =
            base + root.left(root.indexOf('/', 1) > 0 ? root.indexOf('/', 1) : root.size());
        for (const QByteArray& p : listing.paths)
            QVERIFY2(p.startsWith(folder + '/') && !p.mid(folder.size() + 1).contains('/'),
                     p.constData());
    }

    void unusableRoot_data() {
        QTest::addColumn<QByteArray>("root");
        QTest::addColumn<int>("error");
        QTest::newRow("NUL inside") << QByteArray("/tmp\0/x", 7) << EINVAL;
        QTest::newRow("missing") << "/nonexistent-kelvoro-folder"_ba << ENOENT;
        QTest::newRow("a file") << "/etc/hostname"_ba << ENOTDIR;
    }
    void unusableRoot() {
        QFETCH(QByteArray, root);
        QFETCH(int, error);
        const FolderListing listing =
            listFolder(root, {true, true, false, {}}, platform::nativeFolderReader());
        QVERIFY(listing.paths.isEmpty());
        QCOMPARE(listing.problems.size(), std::size_t(1));
        QCOMPARE(listing.problems[0].path, root);
        QCOMPARE(listing.problems[0].error, error);
    }

    // Root reads every folder: the walk runs in a child that has given up its privileges.
    void unreadableSubfolder() {
        const QByteArray base = QFile::encodeName(m_dir.path()) + "/locked-tree";
        QVERIFY(::mkdir(base.constData(), 0755) == 0);
        QVERIFY(::mkdir((base + "/closed").constData(), 0755) == 0);
        QVERIFY(::mkdir((base + "/open").constData(), 0755) == 0);
        test::makeFile(base, "closed/secret.jpg");
        test::makeFile(base, "open/x.jpg");
        test::makeFile(base, "y.jpg");
        QVERIFY(::chmod((base + "/closed").constData(), 0) == 0);
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);

        int channel[2];
        QVERIFY(::pipe(channel) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(channel[0]);
            if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
            const FolderListing listing =
                listFolder(base, {true, false, false, {}}, platform::nativeFolderReader());
            QByteArray report;
            for (const QByteArray& p : listing.paths)
                report += p.mid(base.size() + 1) + '\n';
            for (const FolderProblem& p : listing.problems)
                report +=
                    "! " + p.path.mid(base.size() + 1) + ' ' + QByteArray::number(p.error) + '\n';
            const bool written = ::write(channel[1], report.constData(),
                                         static_cast<std::size_t>(report.size())) == report.size();
            ::_exit(written ? 0 : 1);
        }
        ::close(channel[1]);
        QByteArray report;
        char buffer[512];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, n);
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::chmod((base + "/closed").constData(), 0755);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
            QSKIP("cannot drop to an unprivileged user here");
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(report, "y.jpg\nopen/x.jpg\n! closed " + QByteArray::number(EACCES) + '\n');
    }

    // A bind mount of a folder inside itself brings the walk back to a folder it has read.
    void folderMetAgain() {
        FakeReader reader;
        using platform::EntryType;
        reader.folders["/r"] = {{1, 10}, 0, {{"a", EntryType::Directory}, {"f", EntryType::File}}};
        reader.folders["/r/a"] = {{1, 11}, 0, {{"again", EntryType::Directory}}};
        reader.folders["/r/a/again"] = {{1, 10}, 0, {{"f", EntryType::File}}};
        // Another file system may reuse an inode number: not the same folder.
        reader.folders["/r/a/mount"] = {{2, 10}, 0, {}};
        reader.folders["/r/a"].entries.push_back({"mount", EntryType::Directory});
        const FolderListing listing = listFolder("/r", {true, true, false, {}}, reader);
        QCOMPARE(listing.paths, (QList<QByteArray>{"/r", "/r/f", "/r/a", "/r/a/mount"}));
        QCOMPARE(listing.problems.size(), std::size_t(1));
        QCOMPARE(listing.problems[0].path, "/r/a/again"_ba);
        QCOMPARE(listing.problems[0].error, ELOOP);
    }

    void readErrorMidWay() {
        FakeReader reader;
        using platform::EntryType;
        reader.folders["/r"] = {
            {1, 1}, 0, {{"bad", EntryType::Directory}, {"good", EntryType::Directory}}};
        reader.folders["/r/bad"] = {{1, 2}, EIO, {}};
        reader.folders["/r/good"] = {{1, 3}, 0, {{"x", EntryType::File}}};
        const FolderListing listing = listFolder("/r", {true, false, false, {}}, reader);
        QCOMPARE(listing.paths, QList<QByteArray>{"/r/good/x"});
        QCOMPARE(listing.problems.size(), std::size_t(1));
        QCOMPARE(listing.problems[0].error, EIO);
    }

    void cancel() {
        FakeReader reader;
        using platform::EntryType;
        reader.folders["/r"] = {{1, 1}, 0, {{"a", EntryType::Directory}, {"x", EntryType::File}}};
        reader.folders["/r/a"] = {{1, 2}, 0, {{"y", EntryType::File}}};
        QList<QByteArray> entered;
        const FolderListing listing =
            listFolder("/r", {true, false, false, {}}, reader, [&](int found, const QByteArray& f) {
                entered << f + ':' + QByteArray::number(found);
                return entered.size() < 2;
            });
        QVERIFY(listing.cancelled);
        QCOMPARE(entered, (QList<QByteArray>{"/r:0", "/r/a:1"}));
        QCOMPARE(listing.paths, QList<QByteArray>{"/r/x"});
    }
};

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
