#include "common/pathpieces.h"
#include "platform/linux/linuxfilesystem.h"
#include "platform/linux/statusbackend.h"

#include <sys/stat.h>

#include <cerrno>
#include <limits>

namespace kelvoro::platform::linuxos {

namespace {

constexpr std::uint32_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::uint32_t kPermissionBits = 07777;

// NTFS, SMB and the blob count 100 ns from 1601.
bool fitsNtTime(std::int64_t seconds) {
    constexpr std::int64_t earliest = -11644473600;
    constexpr std::int64_t latest =
        (std::numeric_limits<std::int64_t>::max() - 116444736000000000) / 10000000;
    return seconds >= earliest && seconds <= latest;
}

bool differs(const std::optional<std::int64_t>& wanted, std::int64_t have) {
    return wanted && *wanted != have;
}

// Makes one file's managed flags and given times what the row asks for, in the order: make
// writable, write the flags, remove the write bits, set the times; then reads the times back.
// The calls go to path, the held file; errors name the path the user sees.
class StatusWriter {
public:
    StatusWriter(SystemCalls& sys, const HeldFile& file, const std::string& shownPath,
                 const NativeState& current, const FileStatus& desired)
        : m_sys(sys), m_file(file), m_path(file.path), m_shownPath(shownPath), m_current(current),
          m_mode(current.stat.mode & kPermissionBits) {
        m_want = (current.attributes & ~attr::Managed) | (desired.attributes & attr::Managed);
        m_flagsChange = m_want != current.attributes;
        if (differs(desired.created, current.created()))
            m_created = desired.created;
        if (differs(desired.modified, current.stat.modified))
            m_modified = desired.modified;
        if (differs(desired.accessed, current.stat.accessed))
            m_accessed = desired.accessed;
    }

    void write() {
        refuseWhatCannotBeStored();
        switch (m_current.kind) {
        case FileSystemKind::Generic:
            writeGeneric();
            break;
        case FileSystemKind::Fat:
            if (m_flagsChange)
                setFlags(m_sys.setFatAttributes(m_path, m_want), m_want);
            break;
        case FileSystemKind::Ntfs3:
        case FileSystemKind::Ntfs3g:
            writeNtStyle(xattr::NtfsAttrib, xattr::NtfsCreationTime, m_want);
            break;
        case FileSystemKind::Cifs:
            // SMB takes an attribute word of 0 as "leave as it is".
            writeNtStyle(xattr::CifsAttrib, xattr::CifsCreationTime,
                         m_want == 0 ? kNormalAttribute : m_want);
            break;
        }
        writeTimes();
    }

    // After a failure: write access the save gave, for its own sake or for a read-only flag
    // it could not finish clearing, is taken back exactly, and a read-only flag cleared on
    // the way comes back. The file never ends less protected than it was.
    void restore() {
        const std::uint32_t originalMode = m_current.stat.mode & kPermissionBits;
        if ((m_mode & kWriteBits & ~originalMode) != 0)
            m_sys.changeMode(m_path, originalMode);
        if ((m_current.attributes & attr::ReadOnly) == 0)
            return;
        switch (m_current.kind) {
        case FileSystemKind::Generic:
            if (m_writtenBlob && (m_writtenBlob->attributes & attr::ReadOnly) == 0 &&
                m_current.dos && (m_current.dos->attributes & attr::ReadOnly) != 0) {
                DosAttrib blob = *m_writtenBlob;
                blob.attributes |= attr::ReadOnly;
                m_sys.setHeldXattr(m_file, xattr::DosAttrib, encodeDosAttrib(blob));
            }
            break;
        case FileSystemKind::Fat:
            if (m_writtenFlags && (*m_writtenFlags & attr::ReadOnly) == 0)
                m_sys.setFatAttributes(m_path, m_current.attributes);
            break;
        case FileSystemKind::Ntfs3:
        case FileSystemKind::Ntfs3g:
            if (m_writtenFlags && (*m_writtenFlags & attr::ReadOnly) == 0)
                m_sys.setXattr(m_path, xattr::NtfsAttrib, nativeWord(m_current.attributes));
            break;
        case FileSystemKind::Cifs:
            if (m_writtenFlags && (*m_writtenFlags & attr::ReadOnly) == 0)
                m_sys.setXattr(m_path, xattr::CifsAttrib, nativeWord(m_current.attributes));
            break;
        }
    }

private:
    [[noreturn]] void fail(int error) const {
        throw FileError(causeFromErrno(error), error, m_shownPath);
    }
    [[noreturn]] void notSupported(int error) const {
        throw FileError(FileErrorCause::NotSupported, error, m_shownPath);
    }
    void check(int error) const {
        if (error != 0)
            fail(error);
    }

    // Refused before anything is written, so the file is left as it was.
    void refuseWhatCannotBeStored() const {
        const FileSystemKind kind = m_current.kind;
        if (m_created && (kind == FileSystemKind::Fat || kind == FileSystemKind::Ntfs3 ||
                          !fitsNtTime(*m_created)))
            notSupported(ENOTSUP);
        // FAT has no not-content-indexed bit.
        if (kind == FileSystemKind::Fat && (m_want & attr::NotContentIndexed) != 0)
            notSupported(ENOTSUP);
    }

    void setFlags(int error, std::uint32_t written) {
        check(error);
        m_writtenFlags = written;
    }

    void changeMode(std::uint32_t mode) {
        check(m_sys.changeMode(m_path, mode));
        m_mode = mode;
    }

    // Clearing read-only gives the owner write access back, and group and others where they
    // may read and the umask allows.
    std::uint32_t writableMode() const {
        const std::uint32_t mask = m_sys.creationMask();
        std::uint32_t mode = m_mode | S_IWUSR;
        if ((m_mode & S_IRGRP) != 0 && (mask & S_IWGRP) == 0)
            mode |= S_IWGRP;
        if ((m_mode & S_IROTH) != 0 && (mask & S_IWOTH) == 0)
            mode |= S_IWOTH;
        return mode;
    }

    void writeGeneric() {
        if (!m_flagsChange && !m_created)
            return;
        const bool wantReadOnly = (m_want & attr::ReadOnly) != 0;
        const bool modeReadOnly = (m_mode & kWriteBits) == 0;
        // The mode follows the read-only flag only when the flags change. A read-only folder
        // keeps its write bits, as Samba keeps them: Windows still creates, renames and
        // deletes files in it, and without them nothing inside could be renamed any more.
        const bool directory = S_ISDIR(m_current.stat.mode);
        const std::uint32_t finalMode = !m_flagsChange ? m_mode
                                        : wantReadOnly ? (directory ? m_mode : m_mode & ~kWriteBits)
                                        : modeReadOnly ? writableMode()
                                                       : m_mode;
        // A blob we could not read may hold bits and a time we would lose.
        if (m_current.blobError != 0 && m_current.blobError != ENODATA)
            fail(m_current.blobError);
        // Writing a user attribute needs write permission.
        if ((m_mode & S_IWUSR) == 0)
            changeMode(m_mode | S_IWUSR);
        // From the blob read, so a create time the user left is written back as it was.
        DosAttrib blob = m_current.dos.value_or(DosAttrib{});
        blob.attributes = m_want;
        if (m_created)
            blob.created = m_created;
        check(m_sys.setHeldXattr(m_file, xattr::DosAttrib, encodeDosAttrib(blob)));
        m_writtenBlob = blob;
        if (m_mode != finalMode)
            changeMode(finalMode);
    }

    void writeNtStyle(const char* attribName, const char* createdName, std::uint32_t word) {
        if (m_flagsChange)
            setFlags(m_sys.setXattr(m_path, attribName, nativeWord(word)), m_want);
        if (m_created)
            check(m_sys.setXattr(m_path, createdName, nativeQuad(ntTimeFromUnix(*m_created))));
    }

    void writeTimes() {
        if (m_modified || m_accessed)
            check(m_sys.setHeldTimes(m_file, m_modified, m_accessed));
        if (!m_modified && !m_accessed && !m_created)
            return;
        // A file system that clamps or rounds a time has not stored what the row shows.
        NativeState after;
        check(readNativeState(m_sys, m_file, m_shownPath, after,
                              m_created ? HeldRead::Restat : HeldRead::RestatWithoutRecords));
        if ((m_modified && after.stat.modified != *m_modified) ||
            (m_accessed && after.stat.accessed != *m_accessed) ||
            (m_created && after.recordedCreated != m_created))
            notSupported(ERANGE);
    }

    SystemCalls& m_sys;
    const HeldFile& m_file;
    const std::string& m_path;
    const std::string& m_shownPath;
    const NativeState& m_current;
    std::uint32_t m_want = 0;
    bool m_flagsChange = false;
    std::optional<std::int64_t> m_created;
    std::optional<std::int64_t> m_modified;
    std::optional<std::int64_t> m_accessed;

    // What has been done so far.
    std::uint32_t m_mode;
    std::optional<std::uint32_t> m_writtenFlags;
    std::optional<DosAttrib> m_writtenBlob;
};

// Holds the file at path open, once it is known to be the one the row listed: a row that
// showed a file is never followed through a link planted in its place, and a row that showed
// a link's target still reaches that target or nothing. The error, if any, to report.
std::optional<FileError> holdListedFile(SystemCalls& sys, const std::string& path,
                                        const std::optional<FileIdentity>& listed, HeldFile& file) {
    if (!isUsablePath(path))
        return FileError(FileErrorCause::BadPath, EINVAL, path);
    if (const int error = sys.hold(path, !listed || listed->throughLink, file))
        return FileError(causeFromErrno(error), error, path);
    if (listed && !isSameFile(file.stat, *listed))
        return FileError(FileErrorCause::Replaced, ESTALE, path);
    return std::nullopt;
}

} // namespace

bool isListedFile(SystemCalls& sys, const std::string& path, const FileIdentity& listed) {
    Stat stat;
    if (!isUsablePath(path) || sys.stat(path, stat) != 0)
        return false;
    // A link where the row showed a file is never the file; a listed link may lead on.
    if (stat.link && !listed.throughLink)
        return false;
    stat.link = false;
    return isSameFile(stat, listed);
}

FileStatus writeStatusWith(SystemCalls& sys, const std::string& path, const FileStatus& desired) {
    HeldFile file;
    if (const std::optional<FileError> error = holdListedFile(sys, path, desired.identity, file))
        throw *error;
    NativeState current;
    if (const int error = readNativeState(sys, file, path, current, HeldRead::Fresh))
        throw FileError(causeFromErrno(error), error, path);
    StatusWriter writer(sys, file, path, current, desired);
    try {
        writer.write();
    } catch (const FileError&) {
        writer.restore();
        throw;
    }
    return statusOf(current);
}

} // namespace kelvoro::platform::linuxos

namespace kelvoro::platform {

FileStatus LinuxFileSystem::writeStatus(const std::string& path, const FileStatus& desired) {
    return linuxos::writeStatusWith(linuxos::realSystemCalls(), path, desired);
}

} // namespace kelvoro::platform
