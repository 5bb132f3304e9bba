#include "platform/linux/movecalls.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <string>

using namespace kelvoro;
using test::contentOf;
using namespace Qt::Literals::StringLiterals;
using platform::EntryIdentity;
using platform::MoveCalls;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// One directory of a file system in memory, with the abilities a real one may lack. Plain
// rename behaves as POSIX says: it replaces a target, and does nothing when both names are
// the same file.
class FakeDirectory : public MoveCalls {
public:
    bool ignoreCase = false;
    int noReplaceError = 0;  // what renameat2(RENAME_NOREPLACE) fails with; 0 = supported
    int linkError = 0;       // what link fails with; 0 = supported
    std::string unlinkFails; // unlink of this path fails with EACCES
    std::map<std::string, std::uint64_t> entries; // path as stored → inode
    QStringList calls;

    int renameNoReplace(const std::string& from, const std::string& to) override {
        calls << u"renameat2 "_s + q(from) + u' ' + q(to);
        if (noReplaceError)
            return noReplaceError;
        const auto source = find(from);
        if (source == entries.end())
            return ENOENT;
        if (find(to) != entries.end())
            return EEXIST;
        const std::uint64_t inode = source->second;
        entries.erase(source);
        entries[to] = inode;
        return 0;
    }
    int rename(const std::string& from, const std::string& to) override {
        calls << u"rename "_s + q(from) + u' ' + q(to);
        const auto source = find(from);
        if (source == entries.end())
            return ENOENT;
        const std::uint64_t inode = source->second;
        if (const auto target = find(to); target != entries.end()) {
            if (target->second == inode)
                return 0;
            entries.erase(target);
        }
        entries.erase(find(from));
        entries[to] = inode;
        return 0;
    }
    int link(const std::string& from, const std::string& to) override {
        calls << u"link "_s + q(from) + u' ' + q(to);
        if (linkError)
            return linkError;
        const auto source = find(from);
        if (source == entries.end())
            return ENOENT;
        if (find(to) != entries.end())
            return EEXIST;
        entries[to] = source->second;
        return 0;
    }
    int unlink(const std::string& path) override {
        calls << u"unlink "_s + q(path);
        if (path == unlinkFails)
            return EACCES;
        const auto it = find(path);
        if (it == entries.end())
            return ENOENT;
        entries.erase(it);
        return 0;
    }
    int identify(const std::string& path, EntryIdentity& identity) override {
        calls << u"lstat "_s + q(path);
        const auto it = find(path);
        if (it == entries.end())
            return ENOENT;
        std::uint64_t links = 0;
        for (const auto& [name, inode] : entries)
            links += inode == it->second ? 1 : 0;
        identity = {1, it->second, links};
        return 0;
    }
    bool listsEntry(const std::string& directory, const std::string& name) override {
        calls << u"readdir "_s + q(directory);
        return entries.count(directory + '/' + name) > 0;
    }

    QStringList state() const {
        QStringList result;
        for (const auto& [name, inode] : entries)
            result << q(name) + u'=' + QString::number(inode);
        return result;
    }

private:
    std::map<std::string, std::uint64_t>::iterator find(const std::string& path) {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (ignoreCase ? QString::compare(q(it->first), q(path), Qt::CaseInsensitive) == 0
                           : it->first == path)
                return it;
        return entries.end();
    }
};

// The real system calls, except that the first steps fail the way a file system without
// them makes them fail, so the fallbacks run on real files.
class Degraded : public MoveCalls {
public:
    Degraded(int noReplaceError, int linkError)
        : m_noReplaceError(noReplaceError), m_linkError(linkError) {}

    int renameNoReplace(const std::string& from, const std::string& to) override {
        return m_noReplaceError ? m_noReplaceError : real().renameNoReplace(from, to);
    }
    int rename(const std::string& from, const std::string& to) override {
        return real().rename(from, to);
    }
    int link(const std::string& from, const std::string& to) override {
        return m_linkError ? m_linkError : real().link(from, to);
    }
    int unlink(const std::string& path) override { return real().unlink(path); }
    int identify(const std::string& path, EntryIdentity& identity) override {
        return real().identify(path, identity);
    }
    bool listsEntry(const std::string& directory, const std::string& name) override {
        return real().listsEntry(directory, name);
    }

private:
    static MoveCalls& real() { return platform::systemMoveCalls(); }
    int m_noReplaceError;
    int m_linkError;
};

} // namespace

class TestLinuxMove : public QObject {
    Q_OBJECT

    // The file systems a move meets, by what they lack.
    struct Kind {
        const char* name;
        int noReplaceError; // 0: RENAME_NOREPLACE works
        int linkError;      // 0: hard links work
    };
    static constexpr Kind kFileSystems[] = {
        {"RENAME_NOREPLACE", 0, 0},
        {"flag refused (EINVAL)", EINVAL, 0},
        {"no renameat2 (ENOSYS)", ENOSYS, 0},
        {"flag unsupported (ENOTSUP)", ENOTSUP, 0},
        {"no hard links (EPERM, vfat)", EINVAL, EPERM},
        {"no hard links (EXDEV)", ENOSYS, EXDEV},
        {"no hard links (ENOTSUP)", ENOTSUP, ENOTSUP},
    };

    static void fileSystems() {
        QTest::addColumn<int>("noReplaceError");
        QTest::addColumn<int>("linkError");
        for (const Kind& k : kFileSystems)
            QTest::newRow(k.name) << k.noReplaceError << k.linkError;
    }

    static FakeDirectory fake(std::map<std::string, std::uint64_t> entries) {
        QFETCH(int, noReplaceError);
        QFETCH(int, linkError);
        FakeDirectory d;
        d.noReplaceError = noReplaceError;
        d.linkError = linkError;
        d.entries = std::move(entries);
        return d;
    }

private Q_SLOTS:
    void eachFileSystemMovesByItsBestMeans_data() {
        QTest::addColumn<int>("noReplaceError");
        QTest::addColumn<int>("linkError");
        QTest::addColumn<QStringList>("expectedCalls");
        const QStringList noReplace = {u"renameat2 d/a d/b"_s};
        const QStringList linkUnlink = noReplace + QStringList{u"link d/a d/b"_s, u"unlink d/a"_s};
        const QStringList lastResort =
            noReplace + QStringList{u"link d/a d/b"_s, u"lstat d/b"_s, u"rename d/a d/b"_s};
        for (const Kind& k : kFileSystems)
            QTest::newRow(k.name) << k.noReplaceError << k.linkError
                                  << (k.noReplaceError == 0 ? noReplace
                                      : k.linkError == 0    ? linkUnlink
                                                            : lastResort);
    }
    void eachFileSystemMovesByItsBestMeans() {
        QFETCH(QStringList, expectedCalls);
        FakeDirectory d = fake({{"d/a", 1}});
        QVERIFY(platform::moveNoReplace(d, "d/a", "d/b"));
        QCOMPARE(d.state(), QStringList{u"d/b=1"_s});
        QCOMPARE(d.calls, expectedCalls);
    }

    void existingTargetIsNeverReplaced_data() { fileSystems(); }
    void existingTargetIsNeverReplaced() {
        FakeDirectory d = fake({{"d/a", 1}, {"d/b", 2}});
        QVERIFY(!platform::moveNoReplace(d, "d/a", "d/b"));
        QCOMPARE(d.state(), (QStringList{u"d/a=1"_s, u"d/b=2"_s}));
        // The source never left its name, not even for a moment.
        QVERIFY(!d.calls.join(u'\n').contains(u"kelvoro-rename"_s));
        QVERIFY(!d.calls.join(u'\n').contains(u"rename d/a"_s));
    }

    void secondHardLinkIsNotAnotherSpelling_data() { fileSystems(); }
    void secondHardLinkIsNotAnotherSpelling() {
        // Two names of one file: moving one onto the other would drop a name.
        FakeDirectory d = fake({{"d/a", 1}, {"d/b", 1}});
        QVERIFY(!platform::moveNoReplace(d, "d/a", "d/b"));
        QCOMPARE(d.state(), (QStringList{u"d/a=1"_s, u"d/b=1"_s}));
        QVERIFY(!d.calls.join(u'\n').contains(u"kelvoro-rename"_s));
    }

    void caseOnlyRenameOnCaseInsensitiveFileSystem_data() { fileSystems(); }
    void caseOnlyRenameOnCaseInsensitiveFileSystem() {
        FakeDirectory d = fake({{"d/memo.txt", 1}, {"d/other.txt", 2}});
        d.ignoreCase = true;
        QVERIFY(platform::moveNoReplace(d, "d/memo.txt", "d/Memo.TXT"));
        QCOMPARE(d.state(), (QStringList{u"d/Memo.TXT=1"_s, u"d/other.txt=2"_s}));

        // Another file that differs only in case is still a different file.
        QVERIFY(!platform::moveNoReplace(d, "d/Memo.TXT", "d/OTHER.txt"));
        QCOMPARE(d.state(), (QStringList{u"d/Memo.TXT=1"_s, u"d/other.txt=2"_s}));

        // A file with a second name (a hard link) is renamed all the same.
        d.entries = {{"d/a.txt", 3}, {"d/b.txt", 3}};
        QVERIFY(platform::moveNoReplace(d, "d/a.txt", "d/A.txt"));
        QCOMPARE(d.state(), (QStringList{u"d/A.txt=3"_s, u"d/b.txt=3"_s}));
    }

    void failedUnlinkLeavesTheOldNameOnly() {
        FakeDirectory d;
        d.noReplaceError = EINVAL;
        d.unlinkFails = "d/a";
        d.entries = {{"d/a", 1}};
        QVERIFY(!platform::moveNoReplace(d, "d/a", "d/b"));
        QCOMPARE(d.state(), QStringList{u"d/a=1"_s});
    }

    void otherFailuresTryNothingElse_data() {
        QTest::addColumn<int>("error");
        QTest::newRow("EACCES") << EACCES;
        QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG;
    }
    void otherFailuresTryNothingElse() {
        QFETCH(int, error);
        FakeDirectory d;
        d.noReplaceError = error;
        d.entries = {{"d/a", 1}};
        QVERIFY(!platform::moveNoReplace(d, "d/a", "d/b"));
        QCOMPARE(d.calls, QStringList{u"renameat2 d/a d/b"_s});
        QCOMPARE(d.state(), QStringList{u"d/a=1"_s});
    }

    void samePathOrNulByteChangesNothing() {
        FakeDirectory d;
        d.entries = {{"d/a", 1}};
        QVERIFY(platform::moveNoReplace(d, "d/a", "d/a"));
        QVERIFY(!platform::moveNoReplace(d, "d/gone", "d/gone"));
        // The system call would see "d/b" only.
        QVERIFY(!platform::moveNoReplace(d, "d/a", std::string("d/b\0c", 5)));
        QCOMPARE(d.state(), QStringList{u"d/a=1"_s});
        for (const QString& call : d.calls)
            QVERIFY2(call.startsWith(u"lstat"_s), qPrintable(call));
    }

    // The same rules on real files, through the real calls behind each fallback.
    void realFiles_data() { fileSystems(); }
    void realFiles() {
        QFETCH(int, noReplaceError);
        QFETCH(int, linkError);
        Degraded calls(noReplaceError, linkError);
        QTemporaryDir tmp;
        const QByteArray d = QFile::encodeName(tmp.path());
        const QByteArray a = test::makeFile(d, "\x95\x5c.txt", "first"); // not valid UTF-8
        const QByteArray b = test::makeFile(d, "b.txt", "second");
        QVERIFY(QDir(tmp.path()).mkdir(u"sub"_s));

        for (const QByteArray& taken : {b, d + "/sub"})
            QVERIFY(!platform::moveNoReplace(calls, test::toStd(a), test::toStd(taken)));
        QCOMPARE(contentOf(a), QByteArray("first"));
        QCOMPARE(contentOf(b), QByteArray("second"));

        const QByteArray c = d + "/c.txt";
        QVERIFY(platform::moveNoReplace(calls, test::toStd(a), test::toStd(c)));
        QCOMPARE(contentOf(c), QByteArray("first"));
        QCOMPARE(contentOf(a), QByteArray("<missing>"));

        const QByteArray link = d + "/link.txt";
        QCOMPARE(::link(b.constData(), link.constData()), 0);
        QVERIFY(!platform::moveNoReplace(calls, test::toStd(b), test::toStd(link)));
        struct stat st {};
        QCOMPARE(::lstat(b.constData(), &st), 0);
        QCOMPARE(st.st_nlink, nlink_t(2));

        // On a file system that tells letters apart this is an ordinary move.
        const QByteArray upper = d + "/C.TXT";
        QVERIFY(platform::moveNoReplace(calls, test::toStd(c), test::toStd(upper)));
        QCOMPARE(contentOf(upper), QByteArray("first"));
        QCOMPARE(contentOf(c), QByteArray("<missing>"));

        QVERIFY(!platform::moveNoReplace(calls, test::toStd(d + "/gone"), test::toStd(c)));
        QCOMPARE(contentOf(c), QByteArray("<missing>"));
    }
};

QTEST_GUILESS_MAIN(TestLinuxMove)
#include "tst_linux_move.moc"
