// The latency file system the share figures are measured through: it must pass through what
// Kelvoro writes and reads unchanged, and really be late.

#include "bench/latencymount.h"
#include "platform/filesystem.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>

using namespace kelvoro;

namespace {

constexpr double kLatencyMs = 20;

void makeFile(const std::string& path) {
    std::ofstream(path) << "x";
}

} // namespace

class TestLatencyFs : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string m_source;
    std::unique_ptr<bench::LatencyMount> m_mount;

    std::string through(const char* name) const { return m_mount->path() + "/" + name; }
    std::string behind(const char* name) const { return m_source + "/" + name; }

private Q_SLOTS:
    void initTestCase() {
        std::string why;
        if (!bench::LatencyMount::available(&why))
            QSKIP(qPrintable(QStringLiteral("FUSE cannot be mounted here: ") +
                             QString::fromStdString(why)));
        QVERIFY(m_dir.isValid());
        m_source = m_dir.filePath(QStringLiteral("source")).toStdString();
        QCOMPARE(::mkdir(m_source.c_str(), 0755), 0);
        m_mount = std::make_unique<bench::LatencyMount>(
            KELVORO_LATENCYFS, m_source, m_dir.filePath(QStringLiteral("mnt")).toStdString(),
            kLatencyMs);
    }

    void cleanupTestCase() { m_mount.reset(); }

    // Attribute blobs, nanosecond times and inode numbers reach the disk as given, both ways.
    void passesMetadataThroughUnchanged() {
        makeFile(behind("a"));
        const char blob[] = {0, 0, 4, 0, 4, 0, 0, 0, 0x11, 0, 0, 0, '\xff', 0};
        QCOMPARE(::setxattr(through("a").c_str(), "user.DOSATTRIB", blob, sizeof blob, 0), 0);
        char back[64] = {};
        QCOMPARE(::getxattr(behind("a").c_str(), "user.DOSATTRIB", back, sizeof back),
                 ssize_t(sizeof blob));
        QVERIFY(std::equal(blob, blob + sizeof blob, back));

        const timespec times[2] = {{1000000000, 123456789}, {1200000000, 987654321}};
        QCOMPARE(::utimensat(AT_FDCWD, through("a").c_str(), times, 0), 0);
        struct stat disk {};
        QCOMPARE(::stat(behind("a").c_str(), &disk), 0);
        QCOMPARE(disk.st_atim.tv_sec, times[0].tv_sec);
        QCOMPARE(disk.st_atim.tv_nsec, times[0].tv_nsec);
        QCOMPARE(disk.st_mtim.tv_nsec, times[1].tv_nsec);

        struct stat seen {};
        QCOMPARE(::stat(through("a").c_str(), &seen), 0);
        QCOMPARE(seen.st_ino, disk.st_ino);
        QCOMPARE(seen.st_mtim.tv_nsec, times[1].tv_nsec);
    }

    // A rename that must not replace is refused with both files intact, and works onto a free
    // name.
    void renameNoReplacePassesThrough() {
        makeFile(behind("from"));
        makeFile(behind("taken"));
        QCOMPARE(::renameat2(AT_FDCWD, through("from").c_str(), AT_FDCWD, through("taken").c_str(),
                             RENAME_NOREPLACE),
                 -1);
        QCOMPARE(errno, EEXIST);
        QCOMPARE(::access(behind("from").c_str(), F_OK), 0);
        QCOMPARE(::renameat2(AT_FDCWD, through("from").c_str(), AT_FDCWD, through("free").c_str(),
                             RENAME_NOREPLACE),
                 0);
        QCOMPARE(::access(behind("free").c_str(), F_OK), 0);
        QVERIFY(::access(behind("from").c_str(), F_OK) != 0);
    }

    // Kelvoro's own backend saves and reads back a hidden, archived file through the mount.
    void kelvoroSavesThroughTheMount() {
        makeFile(behind("k"));
        platform::FileSystem& fs = platform::nativeFileSystem();
        platform::FileStatus desired;
        desired.modified = 1500000000;
        desired.attributes = platform::attr::Hidden | platform::attr::Archive;
        fs.writeStatus(through("k"), desired);
        const platform::FileStatus back = fs.readStatus(through("k"));
        QVERIFY(back.ok);
        QCOMPARE(back.modified, desired.modified);
        QCOMPARE(back.attributes & platform::attr::Managed, desired.attributes);
        QVERIFY(fs.moveNoReplace(through("k"), through("k2"), back.identity));
        QVERIFY(!fs.moveNoReplace(through("k2"), through("taken"), back.identity));
    }

    // Every lookup of a name the kernel has not seen waits the round trip.
    void operationsAreLate() {
        QElapsedTimer timer;
        timer.start();
        struct stat st {};
        QVERIFY(::stat(through("never-there").c_str(), &st) != 0);
        QVERIFY2(timer.elapsed() >= kLatencyMs, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestLatencyFs)
#include "tst_latencyfs.moc"
