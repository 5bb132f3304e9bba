// writeStatus on real files: the generic row on the test's own file system, and real mounts
// (a full tmpfs, a read-only bind mount, an ext4 with a 2038 time limit, NTFS through
// ntfs-3g). A mount the machine refuses skips its test and says why.
#include "common/timetext.h"
#include "platform/dosattrib.h"
#include "platform/linux/statusbackend.h"
#include "statushelpers.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace kelvoro::test;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::uint32_t RO = attr::ReadOnly, H = attr::Hidden, A = attr::Archive,
                        NCI = attr::NotContentIndexed;
using Time = std::optional<std::int64_t>;

// The vectors Kelvoro writes, in file order.
QList<QByteArray> writtenVectors() {
    QFile file(QStringLiteral(KELVORO_TESTDATA_DIR "/dosattrib-vectors.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test vectors");
    QList<QByteArray> blobs;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].startsWith("attrib="))
            blobs.append(QByteArray::fromHex(lines[i + 1].trimmed().replace(' ', "")));
    return blobs;
}

std::optional<FileErrorCause> write(const QByteArray& path, const FileStatus& desired) {
    try {
        nativeFileSystem().writeStatus(path.toStdString(), desired);
    } catch (const FileError& e) {
        if (e.path() != path.toStdString())
            qFatal("error names the wrong path");
        return e.cause();
    }
    return std::nullopt;
}

std::uint32_t attributesOf(const QByteArray& path) {
    return nativeFileSystem().readStatus(path.toStdString()).attributes;
}

} // namespace

class TestWriteStatus : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }
    QByteArray newFile(const QByteArray& in, const QByteArray& name, std::uint32_t mode = 0644) {
        const QByteArray path = makeFile(in, name);
        ::chmod(path.constData(), mode);
        setTimes(path, 1600000000, 1600000000);
        return path;
    }
    QByteArray subdirectory(const QByteArray& name) {
        const QByteArray path = dir() + '/' + name;
        ::mkdir(path.constData(), 0755);
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        ::umask(022);
        if (!userXattrsWork(makeFile(dir(), "probe")))
            QSKIP("the temporary directory's file system stores no user extended attributes");
    }

    void blobTimesAndModeInTwoZones_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArray>("createdText"); // empty: not given
        QTest::addColumn<QByteArray>("modifiedText");
        QTest::addColumn<std::uint32_t>("attributes");
        QTest::addColumn<int>("vector");
        QTest::addColumn<std::int64_t>("modifiedUtc");
        QTest::addColumn<std::uint32_t>("mode");
        QTest::newRow("Tokyo RA") << "Asia/Tokyo"_ba
                                  << "2024/01/02 12:04:05"_ba
                                  << "2010/08/07 12:34:56"_ba << (RO | A) << 0
                                  << std::int64_t(1281152096) << 0444u;
        QTest::newRow("Berlin winter A, no creation time")
            << "Europe/Berlin"_ba
            << ""_ba
            << "2010/01/15 08:00:00"_ba << A << 1 << std::int64_t(1263538800) << 0644u;
        QTest::newRow("Berlin summer HA not indexed")
            << "Europe/Berlin"_ba
            << "2024/01/02 04:04:05"_ba
            << "2010/08/07 12:34:56"_ba << (H | A | NCI) << 2 << std::int64_t(1281177296) << 0644u;
        QTest::newRow("Tokyo epoch R")
            << "Asia/Tokyo"_ba
            << "1970/01/01 09:00:00"_ba
            << "1970/01/01 09:00:00"_ba << RO << 3 << std::int64_t(0) << 0444u;
    }
    void blobTimesAndModeInTwoZones() {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArray, createdText);
        QFETCH(QByteArray, modifiedText);
        QFETCH(std::uint32_t, attributes);
        QFETCH(int, vector);
        QFETCH(std::int64_t, modifiedUtc);
        QFETCH(std::uint32_t, mode);
        setTimeZone(zone.constData());
        const QByteArray path = newFile(dir(), "zone-" + QByteArray::number(vector));
        const Time created = parseTimeText(createdText.constData());
        const Time modified = parseTimeText(modifiedText.constData());
        QCOMPARE(created.has_value(), !createdText.isEmpty());

        QCOMPARE(write(path, wanted(attributes, created, modified, modified)), std::nullopt);
        const struct statx sx = statOf(path);
        QCOMPARE(std::int64_t(sx.stx_mtime.tv_sec), modifiedUtc);
        QCOMPARE(sx.stx_mtime.tv_nsec, 0u);
        QCOMPARE(std::int64_t(sx.stx_atime.tv_sec), modifiedUtc);
        QCOMPARE(sx.stx_mode & 07777u, mode);
        QCOMPARE(xattrOf(path, "user.DOSATTRIB").value_or("(none)").toHex(' '),
                 writtenVectors().at(vector).toHex(' '));
        const FileStatus back = nativeFileSystem().readStatus(path.toStdString());
        QCOMPARE(back.attributes, attributes);
        if (created)
            QCOMPARE(back.created, created);
        setTimeZone("Asia/Tokyo");
    }

    // A folder marked read-only stays writable, so its files can still be renamed.
    void folderReadOnlyKeepsWriteBits() {
        const QByteArray folder = subdirectory("ro-folder");
        const QByteArray inside = makeFile(folder, "inside");
        QCOMPARE(write(folder, wanted(RO | A, {}, 1281152096, 1281152000)), std::nullopt);
        QCOMPARE(modeOf(folder), 0755u);
        const FileStatus back = nativeFileSystem().readStatus(folder.toStdString());
        QVERIFY(back.directory);
        QCOMPARE(back.attributes, RO | A);
        QCOMPARE(back.modified, Time(1281152096));
        QVERIFY(nativeFileSystem().moveNoReplace(
            inside.toStdString(), (folder + "/renamed").toStdString(), std::nullopt));
        QCOMPARE(write(folder, wanted(A, {}, {}, {})), std::nullopt);
        QCOMPARE(attributesOf(folder), A);
        QCOMPARE(modeOf(folder), 0755u);
        QVERIFY(!nativeFileSystem().readStatus(inside.toStdString()).directory);
    }

    void readOnlyMarkAcrossTimeEdits() {
        // Kept: the times change, the file stays read-only, no blob is created.
        const QByteArray kept = newFile(dir(), "ro-kept", 0444);
        QCOMPARE(attributesOf(kept), RO);
        QCOMPARE(write(kept, wanted(RO, {}, 1281152096, 1281152000)), std::nullopt);
        QCOMPARE(modeOf(kept), 0444u);
        QCOMPARE(mtimeOf(kept), 1281152096);
        QCOMPARE(std::int64_t(statOf(kept).stx_atime.tv_sec), 1281152000);
        QCOMPARE(::listxattr(kept.constData(), nullptr, 0), 0);

        // Cleared: the file ends writable.
        const QByteArray cleared = newFile(dir(), "ro-cleared", 0444);
        QCOMPARE(write(cleared, wanted(0, {}, 1281152096)), std::nullopt);
        QCOMPARE(modeOf(cleared), 0644u);
        QCOMPARE(attributesOf(cleared), 0u);
        QCOMPARE(mtimeOf(cleared), 1281152096);
    }

    void unchangedValuesAreLeftAlone() {
        const QByteArray path = newFile(dir(), "subsecond");
        const struct timespec times[2] = {{1000000000, 250000000}, {1000000000, 500000000}};
        QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        const FileStatus before = nativeFileSystem().readStatus(path.toStdString());

        QCOMPARE(write(path, wanted(before.attributes, before.created, 1000000000, 1000000000)),
                 std::nullopt);
        QCOMPARE(statOf(path).stx_mtime.tv_nsec, 500000000u);
        QCOMPARE(statOf(path).stx_atime.tv_nsec, 250000000u);
        QCOMPARE(::listxattr(path.constData(), nullptr, 0), 0);
        // Only the access time differs: the modification time keeps its fraction.
        QCOMPARE(write(path, wanted(before.attributes, {}, 1000000000, 1100000000)), std::nullopt);
        QCOMPARE(statOf(path).stx_mtime.tv_nsec, 500000000u);
        QCOMPARE(std::int64_t(statOf(path).stx_atime.tv_sec), 1100000000);
    }

    void unknownBitsAndCreationTimeSurvive() {
        const QByteArray path = newFile(dir(), "unknown-bits");
        const QByteArray blob = writtenVectors().at(4); // 0x2007: RO, H, S, not indexed; 2010
        QCOMPARE(::setxattr(path.constData(), "user.DOSATTRIB", blob.constData(),
                            std::size_t(blob.size()), 0),
                 0);
        // Hidden off, indexed again; read-only and system stay.
        QCOMPARE(write(path, wanted(RO)), std::nullopt);
        const auto info = decodeDosAttrib(xattrOf(path, "user.DOSATTRIB").value().toStdString());
        QVERIFY(info.has_value());
        QCOMPARE(info->attributes, RO | attr::System);
        QCOMPARE(info->created, Time(1281152096));
        QCOMPARE(modeOf(path), 0444u);
    }

    void failuresRootCannotBypass() {
        QCOMPARE(write(dir() + "/gone", wanted(A, {}, 1281152096)), FileErrorCause::FileNotFound);
        QCOMPARE(write(dir() + "/probe/x", wanted(A)), FileErrorCause::BadPath);

        const QByteArray path = newFile(dir(), "immutable", 0444);
        const auto [code, output] = run(u"chattr"_s, {u"+i"_s, QFile::decodeName(path)});
        if (code != 0)
            QSKIP(qPrintable(u"chattr +i refused: "_s + output));
        const auto cause = write(path, wanted(0, {}, 1281152096));
        run(u"chattr"_s, {u"-i"_s, QFile::decodeName(path)});
        QCOMPARE(cause, FileErrorCause::AccessDenied);
        QCOMPARE(modeOf(path), 0444u);
        QCOMPARE(mtimeOf(path), 1600000000);
    }

    // A file its owner may write but not read is held without access: its times are saved,
    // while flags are refused, since its attribute record cannot be read and kept.
    void unreadableFilesAreSavedByTheirOwner() {
        const QByteArray base = subdirectory("owned");
        const QByteArray secret = newFile(base, "secret", 0200);
        const QByteArray plain = newFile(base, "plain", 0644);
        for (const QByteArray& path : {base, secret, plain})
            QVERIFY(::chown(path.constData(), 65534, 65534) == 0);
        ::chmod(dir().constData(), 0755);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
            const bool saved =
                ::open(secret.constData(), O_RDONLY) < 0 &&
                !write(secret, wanted(0, {}, 1281152096, 1281152096)) &&
                write(secret, wanted(H, {}, 1300000000)) == FileErrorCause::AccessDenied &&
                !write(plain, wanted(H | A, 1500000000, 1281152096, 1281152096));
            ::_exit(saved ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
            QSKIP("cannot drop to an unprivileged user here");
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a save went wrong");
        QCOMPARE(mtimeOf(secret), 1281152096);
        QCOMPARE(xattrOf(secret, "user.DOSATTRIB"), std::nullopt);
        const FileStatus read = nativeFileSystem().readStatus(plain.toStdString());
        QCOMPARE(read.attributes, H | A);
        QCOMPARE(read.created, 1500000000);
        QCOMPARE(read.modified, 1281152096);
    }

    void fullTmpfsIsDiskFullAndRestoresReadOnly() {
        const QByteArray mnt = subdirectory("tmpfs");
        ScopedMount tmpfs;
        if (!tmpfs.mount({u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=128k,nr_inodes=16"_s, u"tmpfs"_s},
                         mnt))
            QSKIP(tmpfs.reason());
        const QByteArray path = newFile(mnt, "ro.txt", 0444);
        // Fill the data blocks, then the room for extended attributes down to single bytes.
        const QByteArray filler = mnt + "/filler";
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT, 0644);
        const QByteArray chunk(4096, 'x');
        while (::write(fd, chunk.constData(), std::size_t(chunk.size())) > 0) {
        }
        ::close(fd);
        for (std::size_t size : {512u, 64u, 8u, 1u}) {
            const std::string value(size, 'p');
            for (int n = 0;; ++n) {
                const QByteArray name =
                    "user.pad" + QByteArray::number(int(size)) + '.' + QByteArray::number(n);
                if (::setxattr(filler.constData(), name.constData(), value.data(), size, 0) != 0)
                    break;
            }
        }
        // Read-only cleared and hidden set: the blob cannot be stored.
        QCOMPARE(write(path, wanted(H, {}, 1281152096)), FileErrorCause::DiskFull);
        QCOMPARE(modeOf(path), 0444u);
        QVERIFY(!xattrOf(path, "user.DOSATTRIB").has_value());
        QCOMPARE(attributesOf(path), RO);
    }

    void readOnlyMountIsAccessDenied() {
        const QByteArray source = subdirectory("bind-source");
        const QByteArray path = newFile(source, "f.txt");
        const QByteArray mnt = subdirectory("bind-ro");
        ScopedMount bind;
        if (!bind.mount({u"--bind"_s, u"-o"_s, u"ro"_s, QFile::decodeName(source)}, mnt))
            QSKIP(bind.reason());
        const QByteArray seen = mnt + "/f.txt";
        if (::access(seen.constData(), W_OK) == 0 || errno != EROFS)
            QSKIP("the bind mount did not come up read-only");
        QCOMPARE(write(seen, wanted(0, {}, 1281152096)), FileErrorCause::AccessDenied);
        QCOMPARE(write(seen, wanted(H)), FileErrorCause::AccessDenied);
        QCOMPARE(mtimeOf(path), 1600000000);
        QVERIFY(!xattrOf(path, "user.DOSATTRIB").has_value());
    }

    void timeBeyondTheFileSystemIsRefused() {
        const QByteArray image = dir() + "/small-ext4.img";
        const auto [code, output] = run(u"mkfs.ext4"_s, {u"-q"_s, u"-F"_s, u"-I"_s, u"128"_s,
                                                         QFile::decodeName(image), u"1M"_s});
        if (code != 0)
            QSKIP(qPrintable(u"mkfs.ext4 failed: "_s + output));
        const QByteArray mnt = subdirectory("ext4-128");
        ScopedMount ext4;
        if (!ext4.mount({u"-o"_s, u"loop"_s, QFile::decodeName(image)}, mnt))
            QSKIP(ext4.reason());
        const QByteArray path = newFile(mnt, "f.txt", 0444);

        // 128-byte inodes end in 2038: 2100 must not be reported as saved, and the
        // read-only mark cleared on the way comes back.
        QCOMPARE(write(path, wanted(0, {}, 4102444800)), FileErrorCause::NotSupported);
        QCOMPARE(modeOf(path), 0444u);
        QCOMPARE(attributesOf(path), RO);
        QCOMPARE(write(path, wanted(RO, {}, 2000000000)), std::nullopt);
        QCOMPARE(mtimeOf(path), 2000000000);
    }

    void ntfs3gStoresFlagsAndCreationTime() {
        const QByteArray image = makeFile(dir(), "ntfs.img");
        QCOMPARE(::truncate(image.constData(), 8 * 1024 * 1024), 0);
        const auto [code, output] =
            run(u"mkntfs"_s, {u"-q"_s, u"-F"_s, u"-f"_s, QFile::decodeName(image)});
        if (code != 0)
            QSKIP(qPrintable(u"mkntfs failed (package ntfs-3g): "_s + output));
        const QByteArray mnt = subdirectory("ntfs");
        ScopedMount ntfs;
        if (!ntfs.mount({u"-t"_s, u"ntfs-3g"_s, u"-o"_s, u"loop"_s, QFile::decodeName(image)}, mnt))
            QSKIP(ntfs.reason());
        const QByteArray path = makeFile(mnt, "f.txt");
        linuxos::NativeState state;
        QCOMPARE(linuxos::readNativeState(linuxos::realSystemCalls(), path.toStdString(), state),
                 0);
        QCOMPARE(state.kind, linuxos::FileSystemKind::Ntfs3g);
        QCOMPARE(attributesOf(path), A);

        QCOMPARE(write(path, wanted(RO | H | NCI, 1281152096, 1704164645, 1704164000)),
                 std::nullopt);
        QCOMPARE(xattrOf(path, "system.ntfs_attrib").value().toHex(' '), "03 20 00 00"_ba);
        QCOMPARE(xattrOf(path, "system.ntfs_crtime").value().toHex(' '),
                 "00 f0 18 81 e1 35 cb 01"_ba); // 2010-08-07 03:34:56 UTC
        const FileStatus back = nativeFileSystem().readStatus(path.toStdString());
        QCOMPARE(back.attributes, RO | H | NCI);
        QCOMPARE(back.created, Time(1281152096));
        QCOMPARE(back.modified, Time(1704164645));
        QCOMPARE(back.accessed, Time(1704164000));
        // And back to plain, indexed, writable.
        QCOMPARE(write(path, wanted(A)), std::nullopt);
        QCOMPARE(attributesOf(path), A);
        QVERIFY((modeOf(path) & 0222u) != 0);
    }
};

QTEST_GUILESS_MAIN(TestWriteStatus)
#include "tst_writestatus.moc"
