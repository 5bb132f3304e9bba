#include "common/pathpieces.h"
#include "platform/linux/linuxfilesystem.h"
#include "platform/linux/statusbackend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace kelvoro::platform::linuxos {

namespace {

template <typename T> std::string nativeBytes(T value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

template <typename T> std::optional<T> fromNativeBytes(const std::string& bytes) {
    if (bytes.size() != sizeof(T))
        return std::nullopt;
    T value{};
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::optional<std::uint32_t> wordAttribute(SystemCalls& sys, const std::string& path,
                                           const char* name) {
    std::string value;
    if (sys.getXattr(path, name, value) != 0)
        return std::nullopt;
    return wordFrom(value);
}

std::optional<std::int64_t> ntTimeAttribute(SystemCalls& sys, const std::string& path,
                                            const char* name) {
    std::string value;
    if (sys.getXattr(path, name, value) != 0)
        return std::nullopt;
    const std::optional<std::uint64_t> nt = quadFrom(value);
    if (!nt || *nt == 0)
        return std::nullopt;
    return unixFromNtTime(*nt);
}

// A mount's file system type never changes; asking statfs for it costs two more path walks
// per file, so it is asked once per mount.
int fileSystemType(SystemCalls& sys, const std::string& path, const Stat& stat,
                   std::uint64_t& type) {
    static std::mutex lock;
    static std::unordered_map<std::uint64_t, std::uint64_t> typeOfMount;
    if (stat.mountId) {
        const std::lock_guard<std::mutex> guard(lock);
        const auto it = typeOfMount.find(*stat.mountId);
        if (it != typeOfMount.end()) {
            type = it->second;
            return 0;
        }
    }
    if (const int error = sys.fileSystemType(path, type))
        return error;
    if (stat.mountId) {
        const std::lock_guard<std::mutex> guard(lock);
        typeOfMount.emplace(*stat.mountId, type);
    }
    return 0;
}

// The file system's kind, confirmed by asking it for its own attribute record; a mount that
// does not answer is treated as generic.
void detect(SystemCalls& sys, const std::string& path, NativeState& out) {
    std::uint64_t type = 0;
    if (fileSystemType(sys, path, out.stat, type) != 0)
        return;
    if (type == magic::Msdos || type == magic::Exfat) {
        std::uint32_t fat = 0;
        if (sys.fatAttributes(path, fat) == 0) {
            out.kind = FileSystemKind::Fat;
            out.attributes = fat;
        }
    } else if (type == magic::Ntfs3 || type == magic::Fuse) {
        if (const auto ntfs = wordAttribute(sys, path, xattr::NtfsAttrib)) {
            out.kind = type == magic::Fuse ? FileSystemKind::Ntfs3g : FileSystemKind::Ntfs3;
            out.attributes = *ntfs & ~kNormalAttribute;
            if (out.kind == FileSystemKind::Ntfs3g)
                out.recordedCreated = ntTimeAttribute(sys, path, xattr::NtfsCreationTime);
        }
    } else if (type == magic::Cifs || type == magic::Smb2) {
        if (const auto cifs = wordAttribute(sys, path, xattr::CifsAttrib)) {
            out.kind = FileSystemKind::Cifs;
            out.attributes = *cifs & ~kNormalAttribute;
            out.recordedCreated = ntTimeAttribute(sys, path, xattr::CifsCreationTime);
        }
    }
}

} // namespace

std::string nativeWord(std::uint32_t value) {
    return nativeBytes(value);
}
std::string nativeQuad(std::uint64_t value) {
    return nativeBytes(value);
}
std::optional<std::uint32_t> wordFrom(const std::string& bytes) {
    return fromNativeBytes<std::uint32_t>(bytes);
}
std::optional<std::uint64_t> quadFrom(const std::string& bytes) {
    return fromNativeBytes<std::uint64_t>(bytes);
}

std::int64_t NativeState::created() const {
    return recordedCreated ? *recordedCreated : stat.born ? *stat.born : stat.modified;
}

int readNativeState(SystemCalls& sys, const std::string& path, NativeState& out) {
    out = NativeState{};
    if (const int error = sys.stat(path, out.stat))
        return error;
    detect(sys, path, out);
    if (out.kind != FileSystemKind::Generic)
        return 0;

    std::string blob;
    out.blobError = sys.getXattr(path, xattr::DosAttrib, blob);
    if (out.blobError == 0)
        out.dos = decodeDosAttrib(blob);
    if (out.dos) {
        out.attributes = out.dos->attributes;
        out.recordedCreated = out.dos->created;
    } else if (nameOf(path).starts_with('.')) {
        // What Samba and Wine show for a dot file that carries no attribute blob.
        out.attributes = attr::Hidden;
    }
    if ((out.stat.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        out.attributes |= attr::ReadOnly;
    return 0;
}

FileStatus readStatusWith(SystemCalls& sys, const std::string& path) {
    FileStatus status;
    NativeState state;
    if (readNativeState(sys, path, state) != 0)
        return status;
    status.ok = true;
    status.modified = state.stat.modified;
    status.accessed = state.stat.accessed;
    status.created = state.created();
    status.attributes = state.attributes;
    status.directory = S_ISDIR(state.stat.mode);
    return status;
}

} // namespace kelvoro::platform::linuxos

namespace kelvoro::platform {

FileStatus LinuxFileSystem::readStatus(const std::string& path) const {
    return linuxos::readStatusWith(linuxos::realSystemCalls(), path);
}

std::vector<FileStatus> LinuxFileSystem::readStatuses(const std::vector<std::string>& paths) const {
    // Most of the time goes to path lookups in the kernel, which scale across cores.
    constexpr std::size_t kPathsPerThread = 512;
    constexpr unsigned kMaxThreads = 8;
    const std::size_t wanted = paths.size() / kPathsPerThread;
    const std::size_t threads = std::min<std::size_t>(
        {wanted, std::max(1u, std::thread::hardware_concurrency()), kMaxThreads});
    std::vector<FileStatus> statuses(paths.size());
    auto readRange = [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i)
            statuses[i] = readStatus(paths[i]);
    };
    if (threads < 2) {
        readRange(0, paths.size());
        return statuses;
    }
    std::vector<std::thread> workers;
    const std::size_t share = (paths.size() + threads - 1) / threads;
    for (std::size_t first = share; first < paths.size(); first += share)
        workers.emplace_back(readRange, first, std::min(first + share, paths.size()));
    readRange(0, share);
    for (std::thread& worker : workers)
        worker.join();
    return statuses;
}

bool LinuxFileSystem::isReadableRegularFile(const std::string& path) const {
    // O_NONBLOCK so a FIFO named on the command line cannot hang start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

int LinuxFileSystem::openForReadingError(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    ::close(fd);
    return error;
}

bool LinuxFileSystem::isDirectory(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileSystem& nativeFileSystem() {
    static LinuxFileSystem instance;
    return instance;
}

} // namespace kelvoro::platform
