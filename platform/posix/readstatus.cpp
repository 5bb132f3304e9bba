#include "common/pathpieces.h"
#include "platform/dosattrib.h"
#include "platform/posix/posixfilesystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <array>
#include <cerrno>
#include <unistd.h>

namespace kelvoro::platform {

namespace {

constexpr const char* kDosAttribName = "user.DOSATTRIB";

std::optional<DosAttrib> readDosAttrib(const std::string& path) {
    std::array<char, 256> buffer{};
    const ssize_t n = ::getxattr(path.c_str(), kDosAttribName, buffer.data(), buffer.size());
    if (n < 0)
        return std::nullopt;
    return decodeDosAttrib(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

} // namespace

FileStatus PosixFileSystem::readStatus(const std::string& path) const {
    FileStatus status;
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
                &sx) != 0)
        return status;

    status.ok = true;
    status.modified = sx.stx_mtime.tv_sec;
    status.accessed = sx.stx_atime.tv_sec;

    const std::optional<DosAttrib> dos = readDosAttrib(path);
    if (dos) {
        status.attributes = dos->attributes;
    } else if (nameOf(path).starts_with('.')) {
        // What Samba and Wine show for a dot file that carries no attribute blob.
        status.attributes |= attr::Hidden;
    }
    if ((sx.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        status.attributes |= attr::ReadOnly;

    if (dos && dos->created)
        status.created = dos->created;
    else if (sx.stx_mask & STATX_BTIME)
        status.created = sx.stx_btime.tv_sec;
    else
        status.created = status.modified;
    return status;
}

bool PosixFileSystem::isReadableRegularFile(const std::string& path) const {
    // O_NONBLOCK so a FIFO named on the command line cannot hang start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

int PosixFileSystem::openForReadingError(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    ::close(fd);
    return error;
}

bool PosixFileSystem::isDirectory(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileSystem& nativeFileSystem() {
    static PosixFileSystem instance;
    return instance;
}

} // namespace kelvoro::platform
