// The status backend over a recording fake of the system calls. This machine's kernel has no
// vfat and no cifs mounts (and ntfs3 may be absent), so their encodings, the detection by
// probing and the restoring of read-only after a late failure are checked here against the
// calls the backend makes; the generic and ntfs-3g rows are also tested on real files.
#include "platform/linux/statusbackend.h"
#include "statushelpers.h"

#include <QStringList>
#include <QTest>

#include <sys/stat.h>

#include <atomic>
#include <map>
#include <new>
#include <system_error>

using namespace kelvoro::platform;
using namespace kelvoro::platform::linuxos;
using kelvoro::test::wanted;
using namespace Qt::Literals::StringLiterals;

namespace {

QString hex(const std::string& bytes) {
    return QString::fromLatin1(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex(' '));
}

std::string bytes(const char* hexText) {
    const QByteArray b = QByteArray::fromHex(hexText);
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// One file on a pretend mount. Reads are answered from the state, writes are recorded and
// applied; a failure can be injected per call name.
class RecordingCalls : public SystemCalls {
public:
    std::uint64_t type = 0xEF53;
    Stat file = [] {
        Stat s;
        s.mode = 0100644;
        s.modified = s.accessed = 1000000000;
        s.born = 900000000;
        return s;
    }();
    int typeQueries = 0;
    std::map<std::string, std::string> xattrs;
    std::optional<std::uint32_t> fat; // answers the FAT ioctls when set
    std::uint32_t mask = 022;
    int timeStep = 1;                        // a FAT-like mount stores even seconds only
    std::optional<std::string> ignoredXattr; // accepted but not stored
    std::map<QString, int> failures;         // call name → errno
    std::map<std::string, int> readFailures; // xattr name → errno on get

    QStringList calls;

    int fileSystemType(const std::string&, std::uint64_t& t) override {
        ++typeQueries;
        t = type;
        return 0;
    }
    int stat(const std::string&, Stat& out) override {
        out = file;
        return 0;
    }
    int hold(const std::string& path, bool followLink, HeldFile& out) override {
        out.path = path;
        out.stat = file;
        out.stat.link = file.link && !followLink;
        return 0;
    }
    int statHeld(const HeldFile&, Stat& out) override {
        out = file;
        return 0;
    }
    int getXattr(const std::string&, const char* name, std::string& value) override {
        if (auto f = readFailures.find(name); f != readFailures.end())
            return f->second;
        const auto it = xattrs.find(name);
        if (it == xattrs.end())
            return ENODATA;
        value = it->second;
        return 0;
    }
    int setXattr(const std::string&, const char* name, const std::string& value) override {
        calls << QStringLiteral("setxattr %1 %2").arg(QLatin1String(name), hex(value));
        if (const int e = failure(QStringLiteral("setxattr")))
            return e;
        if (ignoredXattr != name)
            xattrs[name] = value;
        return 0;
    }
    int changeMode(const std::string&, std::uint32_t mode) override {
        calls << QStringLiteral("chmod %1").arg(mode, 4, 8, QLatin1Char('0'));
        if (const int e = failure(QStringLiteral("chmod")))
            return e;
        file.mode = (file.mode & ~07777u) | mode;
        return 0;
    }
    int setTimes(const std::string&, const std::optional<std::int64_t>& m,
                 const std::optional<std::int64_t>& a) override {
        auto text = [](const std::optional<std::int64_t>& t) {
            return t ? QString::number(*t) : QStringLiteral("omit");
        };
        calls << QStringLiteral("utimens %1 %2").arg(text(m), text(a));
        if (const int e = failure(QStringLiteral("utimens")))
            return e;
        if (m)
            file.modified = *m / timeStep * timeStep;
        if (a)
            file.accessed = *a / timeStep * timeStep;
        return 0;
    }
    int fatAttributes(const std::string&, std::uint32_t& attributes) override {
        if (!fat)
            return ENOTTY;
        attributes = *fat;
        return 0;
    }
    int setFatAttributes(const std::string&, std::uint32_t attributes) override {
        calls << QStringLiteral("fatset 0x%1").arg(attributes, 0, 16);
        if (!fat)
            return ENOTTY;
        fat = attributes;
        return 0;
    }
    std::uint32_t creationMask() override { return mask; }

private:
    int failure(const QString& name) {
        const auto it = failures.find(name);
        return it == failures.end() ? 0 : it->second;
    }
};

// Many files on a plain mount, safe to read from several threads: file fN was modified N
// seconds after 1000000000. Threads and reads can be made to fail.
class ManyFiles : public SystemCalls {
public:
    std::atomic<int> threadsLeft = 0; // threads that can still be started
    std::atomic<int> threadsStarted = 0;
    std::atomic<int> running = 0;
    std::string throwingPath;        // its stat throws std::bad_alloc
    std::atomic<int> throwsLeft = 0; // -1: always

    int fileSystemType(const std::string&, std::uint64_t& t) override {
        t = 0xEF53;
        return 0;
    }
    int stat(const std::string& path, Stat& out) override {
        if (path == throwingPath && throwsLeft.load() != 0) {
            if (throwsLeft.load() > 0)
                --throwsLeft;
            throw std::bad_alloc();
        }
        out = Stat{};
        out.mode = 0100644;
        out.modified = 1000000000 + std::stoll(path.substr(1));
        out.accessed = 1000000000;
        return 0;
    }
    int hold(const std::string&, bool, HeldFile&) override { return EPERM; }
    int statHeld(const HeldFile&, Stat&) override { return EPERM; }
    int getXattr(const std::string&, const char*, std::string&) override { return ENODATA; }
    int setXattr(const std::string&, const char*, const std::string&) override { return EPERM; }
    int changeMode(const std::string&, std::uint32_t) override { return EPERM; }
    int setTimes(const std::string&, const std::optional<std::int64_t>&,
                 const std::optional<std::int64_t>&) override {
        return EPERM;
    }
    int fatAttributes(const std::string&, std::uint32_t&) override { return ENOTTY; }
    int setFatAttributes(const std::string&, std::uint32_t) override { return ENOTTY; }
    std::uint32_t creationMask() override { return 022; }
    std::jthread startThread(std::function<void()> work) override {
        if (--threadsLeft < 0)
            throw std::system_error(EAGAIN, std::generic_category());
        ++threadsStarted;
        ++running;
        return std::jthread([this, work = std::move(work)] {
            work();
            --running;
        });
    }
};

const std::string kPath = "/mnt/x/file.txt";

// Writes and reports the error's cause, or nothing when the write worked.
std::optional<FileErrorCause> write(RecordingCalls& sys, const FileStatus& desired) {
    try {
        writeStatusWith(sys, kPath, desired);
    } catch (const FileError& e) {
        if (e.path() != kPath)
            qFatal("error names the wrong path");
        return e.cause();
    }
    return std::nullopt;
}

constexpr std::uint32_t RO = attr::ReadOnly, H = attr::Hidden, A = attr::Archive,
                        NCI = attr::NotContentIndexed;

} // namespace

class TestFsBackends : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (QSysInfo::ByteOrder != QSysInfo::LittleEndian)
            QSKIP("the expected xattr bytes below are written for a little-endian CPU");
    }

    void vfatFlagsGoThroughTheIoctl() {
        RecordingCalls sys;
        sys.type = magic::Msdos;
        sys.fat = RO | H | A;
        sys.file.mode = 0100555;
        sys.timeStep = 2;

        const FileStatus read = readStatusWith(sys, kPath);
        QVERIFY(read.ok);
        QCOMPARE(read.attributes, RO | H | A); // no not-content-indexed bit: index mark shown
        QCOMPARE(read.created, std::optional<std::int64_t>(900000000)); // the birth time

        // Hidden off; read-only and archive kept; an even modification time.
        QCOMPARE(write(sys, wanted(RO | A, {}, 1281152096)), std::nullopt);
        QCOMPARE(sys.calls, QStringList({u"fatset 0x21"_s, u"utimens 1281152096 omit"_s}));
        QCOMPARE(*sys.fat, RO | A);
        QVERIFY(sys.xattrs.empty());

        // Nothing differs: nothing is written.
        sys.calls.clear();
        QCOMPARE(write(sys, wanted(RO | A, 900000000, 1281152096, 1000000000)), std::nullopt);
        QCOMPARE(sys.calls, QStringList());
    }

    void vfatRefusesWhatItCannotStore() {
        RecordingCalls sys;
        sys.type = magic::Msdos;
        sys.fat = RO | A;
        sys.timeStep = 2;
        // A creation time, or the not-content-indexed flag: refused before anything is written.
        QCOMPARE(write(sys, wanted(RO, 1281152096, 1281152096)), FileErrorCause::NotSupported);
        QCOMPARE(write(sys, wanted(A | NCI, {}, 1281152096)), FileErrorCause::NotSupported);
        QCOMPARE(sys.calls, QStringList());
        // Read-only cleared, then an odd second the file system rounds away: an error, and
        // the read-only flag comes back.
        QCOMPARE(write(sys, wanted(A, {}, 1281152097)), FileErrorCause::NotSupported);
        QCOMPARE(sys.calls,
                 QStringList({u"fatset 0x20"_s, u"utimens 1281152097 omit"_s, u"fatset 0x21"_s}));
        QCOMPARE(*sys.fat, RO | A);
    }

    void mountsThatDoNotAnswerTheProbeAreGeneric() {
        RecordingCalls fuse; // sshfs and the like
        fuse.type = magic::Fuse;
        QCOMPARE(write(fuse, wanted(H)), std::nullopt);
        QCOMPARE(fuse.calls.size(), 1);
        QVERIFY(fuse.calls[0].startsWith(u"setxattr user.DOSATTRIB "_s));

        RecordingCalls exfat; // without the FAT ioctls, and without user xattrs
        exfat.type = magic::Exfat;
        exfat.readFailures[xattr::DosAttrib] = EOPNOTSUPP;
        QCOMPARE(write(exfat, wanted(H)), FileErrorCause::NotSupported);
        QCOMPARE(write(exfat, wanted(0, {}, 1281152096)), std::nullopt);
        QCOMPARE(exfat.calls, QStringList({u"utimens 1281152096 omit"_s}));
    }

    // statfs is asked once per mount with a lasting identity, each mount keeps its own kind,
    // and each backend keeps its own answers.
    void fileSystemTypeIsAskedOncePerMount() {
        RecordingCalls sys;
        sys.file.mountId = 1;
        sys.xattrs[xattr::CifsAttrib] = bytes("21 00 00 00");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(readStatusWith(sys, kPath).attributes, 0u);
        QCOMPARE(sys.typeQueries, 1);
        sys.file.mountId = 2;
        sys.type = magic::Smb2;
        QCOMPARE(readStatusWith(sys, kPath).attributes, RO | A);
        QCOMPARE(sys.typeQueries, 2);
        sys.file.mountId = 1; // still the ext4 mount, whatever statfs would say now
        QCOMPARE(readStatusWith(sys, kPath).attributes, 0u);
        QCOMPARE(sys.typeQueries, 2);

        RecordingCalls smb; // the same mount id seen by another backend
        smb.type = magic::Smb2;
        smb.xattrs[xattr::CifsAttrib] = bytes("21 00 00 00");
        smb.file.mountId = 1;
        QCOMPARE(readStatusWith(smb, kPath).attributes, RO | A);
        QCOMPARE(smb.typeQueries, 1);

        RecordingCalls anonymous; // an older kernel: mount ids may be reused
        readStatusWith(anonymous, kPath);
        readStatusWith(anonymous, kPath);
        QCOMPARE(anonymous.typeQueries, 2);
    }

    // Reading in parallel survives threads that cannot be started and workers that throw:
    // every status is read, on the calling thread where need be, and an exception that comes
    // back when the file is read again reaches the caller instead of ending the process.
    void parallelReadingSurvivesFailures_data() {
        QTest::addColumn<int>("threadsGranted");
        QTest::addColumn<int>("throwingFile"); // -1: none
        QTest::addColumn<int>("throws");       // how often it throws; -1: always
        QTest::addColumn<bool>("reachesCaller");
        QTest::newRow("every thread") << 3 << -1 << 0 << false;
        QTest::newRow("no thread") << 0 << -1 << 0 << false;
        QTest::newRow("one thread of three") << 1 << -1 << 0 << false;
        QTest::newRow("worker throws once") << 3 << 250 << 1 << false;
        QTest::newRow("caller throws once") << 3 << 5 << 1 << false;
        QTest::newRow("last file throws once") << 3 << 399 << 1 << false;
        QTest::newRow("worker throws twice") << 3 << 250 << 2 << true;
        QTest::newRow("worker throws always") << 3 << 250 << -1 << true;
        QTest::newRow("caller throws always") << 3 << 5 << -1 << true;
    }
    void parallelReadingSurvivesFailures() {
        QFETCH(int, threadsGranted);
        QFETCH(int, throwingFile);
        QFETCH(int, throws);
        QFETCH(bool, reachesCaller);
        ManyFiles sys;
        sys.threadsLeft = threadsGranted;
        sys.throwingPath = "f" + std::to_string(throwingFile);
        sys.throwsLeft = throws;
        std::vector<std::string> paths;
        for (int i = 0; i < 400; ++i)
            paths.push_back("f" + std::to_string(i));
        if (reachesCaller) {
            QVERIFY_THROWS_EXCEPTION(std::bad_alloc, readStatusesWith(sys, paths, 4));
            QCOMPARE(sys.running.load(), 0);
            return;
        }
        const std::vector<FileStatus> statuses = readStatusesWith(sys, paths, 4);
        QCOMPARE(statuses.size(), paths.size());
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            QVERIFY(statuses[i].ok);
            QCOMPARE(statuses[i].modified, std::optional<std::int64_t>(1000000000 + i));
        }
        QCOMPARE(sys.threadsStarted.load(), std::min(threadsGranted, 3));
    }

    void cifsReadsItsOwnRecords() {
        RecordingCalls sys;
        sys.type = magic::Smb2;
        // FILE_ATTRIBUTE_NORMAL beside real bits never reaches the row.
        sys.xattrs[xattr::CifsAttrib] = bytes("a1 00 00 00");
        sys.xattrs[xattr::CifsCreationTime] = bytes("80 c0 48 58 28 3d da 01");
        const FileStatus read = readStatusWith(sys, kPath);
        QCOMPARE(read.attributes, RO | A);
        QCOMPARE(read.created, std::optional<std::int64_t>(1704164645)); // 2024-01-02 03:04:05Z

        sys.type = magic::Cifs;
        sys.xattrs[xattr::CifsCreationTime] = bytes("00 00 00 00 00 00 00 00");
        QCOMPARE(readStatusWith(sys, kPath).created, std::optional<std::int64_t>(900000000));
    }

    void cifsWritesFlagsThenCreationThenTimes() {
        RecordingCalls sys;
        sys.type = magic::Cifs;
        sys.xattrs[xattr::CifsAttrib] = bytes("21 20 00 00"); // RO, A, not indexed
        sys.xattrs[xattr::CifsCreationTime] = bytes("80 c0 48 58 28 3d da 01");

        // Every flag cleared and the file indexed: the word is 0, which SMB would take as
        // "no change", so FILE_ATTRIBUTE_NORMAL goes over the wire.
        QCOMPARE(write(sys, wanted(0, 1281152096, 1281152096, 1281152000)), std::nullopt);
        QCOMPARE(sys.calls,
                 QStringList({u"setxattr user.cifs.dosattrib 80 00 00 00"_s,
                              u"setxattr user.cifs.creationtime 00 f0 18 81 e1 35 cb 01"_s,
                              u"utimens 1281152096 1281152000"_s}));
        QCOMPARE(readStatusWith(sys, kPath).attributes, 0u);

        sys.calls.clear();
        QCOMPARE(write(sys, wanted(H | NCI, 1281152096)), std::nullopt);
        QCOMPARE(sys.calls, QStringList({u"setxattr user.cifs.dosattrib 02 20 00 00"_s}));
    }

    void cifsServerThatDropsTheCreationTime() {
        RecordingCalls sys;
        sys.type = magic::Cifs;
        sys.xattrs[xattr::CifsAttrib] = bytes("01 00 00 00");
        sys.ignoredXattr = xattr::CifsCreationTime;

        QCOMPARE(write(sys, wanted(0, 1281152096)), FileErrorCause::NotSupported);
        // The read-only flag cleared on the way is put back.
        QCOMPARE(sys.calls.last(), u"setxattr user.cifs.dosattrib 01 00 00 00"_s);
        QCOMPARE(readStatusWith(sys, kPath).attributes, RO);
    }

    void ntfs3StoresNoCreationTime() {
        RecordingCalls ntfs3;
        ntfs3.type = magic::Ntfs3;
        ntfs3.xattrs[xattr::NtfsAttrib] = bytes("20 00 00 00");
        QCOMPARE(readStatusWith(ntfs3, kPath).attributes, A);
        QCOMPARE(write(ntfs3, wanted(A, 1281152096)), FileErrorCause::NotSupported);
        QCOMPARE(ntfs3.calls, QStringList());
        QCOMPARE(write(ntfs3, wanted(A | H | RO, 900000000)), std::nullopt);
        QCOMPARE(ntfs3.calls, QStringList({u"setxattr system.ntfs_attrib 23 00 00 00"_s}));
    }

    void genericLateFailureRestoresReadOnly() {
        RecordingCalls sys;
        sys.file.mode = 0100444;
        sys.xattrs[xattr::DosAttrib] = encodeDosAttrib(DosAttrib{RO | A, 1704164645});
        sys.failures[u"utimens"_s] = EBUSY;

        QCOMPARE(write(sys, wanted(A, {}, 1281152096)), FileErrorCause::SharingViolation);
        QCOMPARE(sys.file.mode & 07777u, 0444u);
        const auto blob = decodeDosAttrib(sys.xattrs[xattr::DosAttrib]);
        QVERIFY(blob.has_value());
        QCOMPARE(blob->attributes, RO | A);
        QCOMPARE(blob->created, std::optional<std::int64_t>(1704164645));
        QCOMPARE(sys.calls.size(), 5); // writable, blob, times, mode back, blob back
        QCOMPARE(sys.calls[0], u"chmod 0644"_s);
        QCOMPARE(sys.calls[2], u"utimens 1281152096 omit"_s);
        QCOMPARE(sys.calls[3], u"chmod 0444"_s);
    }

    // Whatever mode the file had, a failed save leaves exactly that mode: the owner-write bit
    // a blob write needs is taken back even when the row was not read-only.
    void failedSaveLeavesTheModeAsItWas_data() {
        QTest::addColumn<std::uint32_t>("mode");
        QTest::addColumn<std::uint32_t>("attributes");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("error");
        QTest::newRow("0464, hidden, blob fails") << 0464u << H << u"setxattr"_s << ENOSPC;
        QTest::newRow("0464, read-only, blob fails") << 0464u << RO << u"setxattr"_s << EIO;
        QTest::newRow("0060, hidden, blob fails") << 0060u << H << u"setxattr"_s << ENOSPC;
        QTest::newRow("0464, hidden, times fail") << 0464u << H << u"utimens"_s << EBUSY;
        QTest::newRow("0400, hidden, blob fails") << 0400u << (RO | H) << u"setxattr"_s << ENOSPC;
        QTest::newRow("0444, cleared, times fail") << 0444u << A << u"utimens"_s << EBUSY;
        QTest::newRow("2575, hidden, blob fails") << 02575u << H << u"setxattr"_s << EDQUOT;
    }
    void failedSaveLeavesTheModeAsItWas() {
        QFETCH(std::uint32_t, mode);
        QFETCH(std::uint32_t, attributes);
        QFETCH(QString, failing);
        QFETCH(int, error);
        RecordingCalls sys;
        sys.file.mode = 0100000 | mode;
        sys.failures[failing] = error;
        QCOMPARE(write(sys, wanted(attributes, {}, 1281152096)), causeFromErrno(error));
        QCOMPARE(sys.file.mode & 07777u, mode);
    }

    // Every attribute store writes only to the file that was read: another file in its place,
    // or a link planted there, stops the save before anything is written.
    void replacedFileIsNeverWritten_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("swap");
        for (const auto kind : {FileSystemKind::Generic, FileSystemKind::Fat,
                                FileSystemKind::Ntfs3g, FileSystemKind::Cifs})
            for (const QString& swap : {u"other file"_s, u"link"_s, u"inode reused by a file"_s,
                                        u"inode reused by a directory"_s})
                QTest::addRow("kind %d, %s", int(kind), qPrintable(swap)) << int(kind) << swap;
    }
    void replacedFileIsNeverWritten() {
        QFETCH(int, kind);
        QFETCH(QString, swap);
        RecordingCalls sys;
        switch (FileSystemKind(kind)) {
        case FileSystemKind::Fat:
            sys.type = magic::Msdos;
            sys.fat = A;
            break;
        case FileSystemKind::Ntfs3g:
            sys.type = magic::Fuse;
            sys.xattrs[xattr::NtfsAttrib] = bytes("20 00 00 00");
            break;
        case FileSystemKind::Cifs:
            sys.type = magic::Cifs;
            sys.xattrs[xattr::CifsAttrib] = bytes("20 00 00 00");
            break;
        default:
            break;
        }
        sys.file.device = 3;
        sys.file.inode = 70;
        sys.file.bornNanoseconds = 250;
        FileStatus desired = wanted(RO | H, {}, 1281152096);
        desired.identity = readStatusWith(sys, kPath).identity;
        QVERIFY(desired.identity.has_value());

        const Stat listed = sys.file;
        if (swap == u"link"_s)
            sys.file.link = true; // leading to the listed file, which a row never follows
        else if (swap == u"other file"_s)
            sys.file.inode = 71;
        else if (swap == u"inode reused by a file"_s)
            sys.file.bornNanoseconds = 251;
        else
            sys.file.mode = 040755;
        QCOMPARE(write(sys, desired), FileErrorCause::Replaced);
        QCOMPARE(sys.calls, QStringList());

        sys.file = listed;
        QCOMPARE(write(sys, desired), std::nullopt);
        QVERIFY(!sys.calls.isEmpty());
    }

    void unreadableBlobIsNotOverwritten() {
        // Its bits and creation time would be lost.
        RecordingCalls sys;
        sys.readFailures[xattr::DosAttrib] = EIO;
        QCOMPARE(write(sys, wanted(H)), FileErrorCause::HardwareIo);
        QCOMPARE(sys.calls, QStringList());
    }

    void clearingReadOnlyFollowsTheUmask() {
        // mode, umask → mode after read-only is cleared
        const std::uint32_t cases[][3] = {
            {0444, 022, 0644}, {0444, 002, 0664}, {0400, 000, 0600}, {0555, 077, 0755}};
        for (const auto& [mode, mask, expected] : cases) {
            RecordingCalls sys;
            sys.file.mode = 0100000 | mode;
            sys.mask = mask;
            QCOMPARE(write(sys, wanted(0)), std::nullopt);
            QCOMPARE(sys.file.mode & 07777u, expected);
            QCOMPARE(readStatusWith(sys, kPath).attributes, 0u);
        }
    }
};

QTEST_GUILESS_MAIN(TestFsBackends)
#include "tst_fsbackends.moc"
