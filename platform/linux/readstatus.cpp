#include "common/pathpieces.h"
#include "platform/linux/linuxfilesystem.h"
#include "platform/linux/statusbackend.h"
#include "platform/linux/uniquefd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

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

// The file system's kind, confirmed by asking it for its own attribute record; a mount that
// does not answer is treated as generic.
void detect(SystemCalls& sys, const std::string& path, NativeState& out) {
    std::uint64_t type = 0;
    if (sys.mountType(path, out.stat, type) != 0)
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

FileIdentity identityOf(const Stat& stat) {
    return FileIdentity{stat.device, stat.inode,           stat.mode & S_IFMT,
                        stat.born,   stat.bornNanoseconds, stat.link};
}

bool isSameFile(const Stat& stat, const FileIdentity& listed) {
    const bool sameBirth =
        !stat.born || !listed.bornSeconds ||
        (*stat.born == *listed.bornSeconds && stat.bornNanoseconds == listed.bornNanoseconds);
    return !stat.link && stat.device == listed.device && stat.inode == listed.inode &&
           (stat.mode & S_IFMT) == listed.type && sameBirth;
}

std::int64_t NativeState::created() const {
    return recordedCreated ? *recordedCreated : stat.born ? *stat.born : stat.modified;
}

namespace {

// The rest of the state, once out.stat is read; held: the file at path, when it is held.
void readRecords(SystemCalls& sys, const std::string& path, const HeldFile* held,
                 const std::string& shownPath, NativeState& out) {
    detect(sys, path, out);
    if (out.kind != FileSystemKind::Generic)
        return;

    std::string blob;
    out.blobError = held ? sys.getHeldXattr(*held, xattr::DosAttrib, blob)
                         : sys.getXattr(path, xattr::DosAttrib, blob);
    if (out.blobError == 0)
        out.dos = decodeDosAttrib(blob);
    if (out.dos) {
        out.attributes = out.dos->attributes;
        out.recordedCreated = out.dos->created;
    } else if (nameOf(shownPath).starts_with('.')) {
        // What Samba and Wine show for a dot file that carries no attribute blob.
        out.attributes = attr::Hidden;
    }
    if ((out.stat.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        out.attributes |= attr::ReadOnly;
}

} // namespace

int readNativeState(SystemCalls& sys, const std::string& path, NativeState& out) {
    out = NativeState{};
    if (!isUsablePath(path))
        return EINVAL;
    if (const int error = sys.stat(path, out.stat))
        return error;
    readRecords(sys, path, nullptr, path, out);
    return 0;
}

int readNativeState(SystemCalls& sys, const HeldFile& file, const std::string& shownPath,
                    NativeState& out, HeldRead how) {
    out = NativeState{};
    if (how == HeldRead::Fresh)
        out.stat = file.stat;
    else if (const int error = sys.statHeld(file, out.stat))
        return error;
    if (how != HeldRead::RestatWithoutRecords)
        readRecords(sys, file.path, &file, shownPath, out);
    return 0;
}

FileStatus readStatusWith(SystemCalls& sys, const std::string& path) {
    NativeState state;
    if (readNativeState(sys, path, state) != 0)
        return {};
    return statusOf(state);
}

FileStatus statusOf(const NativeState& state) {
    FileStatus status;
    status.ok = true;
    status.modified = state.stat.modified;
    status.accessed = state.stat.accessed;
    status.created = state.created();
    status.attributes = state.attributes;
    status.directory = S_ISDIR(state.stat.mode);
    status.identity = identityOf(state.stat);
    return status;
}

namespace {

// A run of paths read on one thread, and how far the reading got.
struct Share {
    std::size_t next = 0;
    std::size_t last = 0;
};

std::vector<Share> sharesOf(std::size_t count, std::size_t threads) {
    std::vector<Share> shares;
    const std::size_t parts = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1));
    const std::size_t size = (count + parts - 1) / parts;
    for (std::size_t first = 0; first < count; first += size)
        shares.push_back({first, std::min(first + size, count)});
    return shares;
}

} // namespace

std::vector<FileStatus> readStatusesWith(SystemCalls& sys, const std::vector<std::string>& paths,
                                         std::size_t threads) {
    std::vector<FileStatus> statuses(paths.size());
    std::vector<Share> shares = sharesOf(paths.size(), threads);
    auto readShare = [&](Share& share) {
        for (; share.next < share.last; ++share.next)
            statuses[share.next] = readStatusWith(sys, paths[share.next]);
    };
    // A first pass on as many threads as can be had; a read that throws ends its share's
    // pass, and what is left of every share is read again below, on this thread alone.
    auto firstPass = [&readShare](Share& share) {
        try {
            readShare(share);
        } catch (...) {
        }
    };
    {
        std::vector<std::jthread> workers;
        workers.reserve(shares.size());
        for (std::size_t i = 1; i < shares.size(); ++i) {
            try {
                workers.push_back(
                    sys.startThread([&firstPass, &share = shares[i]] { firstPass(share); }));
            } catch (const std::system_error&) {
                break;
            }
        }
        if (!shares.empty())
            firstPass(shares.front());
    } // the workers are joined here
    for (Share& share : shares)
        readShare(share);
    return statuses;
}

} // namespace kelvoro::platform::linuxos

namespace kelvoro::platform {

FileStatus LinuxFileSystem::readStatus(const std::string& path) const {
    return linuxos::readStatusWith(linuxos::realSystemCalls(), path);
}

std::vector<FileStatus> LinuxFileSystem::readStatuses(const std::vector<std::string>& paths) const {
    if (paths.empty())
        return {};
    // A thread pays for itself only over a run of paths.
    constexpr std::size_t kPathsPerThread = 64;
    const std::size_t threads =
        std::min(paths.size() / kPathsPerThread, parallelCalls(paths.front()));
    return linuxos::readStatusesWith(linuxos::realSystemCalls(), paths, threads);
}

std::size_t LinuxFileSystem::parallelCalls(const std::string& path) const {
    // File systems whose every call is a network round trip.
    constexpr std::uint64_t kRemote[] = {
        linuxos::magic::Fuse, linuxos::magic::Nfs,  linuxos::magic::Smb1, linuxos::magic::Smb2,
        linuxos::magic::Cifs, linuxos::magic::V9fs, linuxos::magic::Ceph};
    // Enough calls in flight to hide a round trip of about a millisecond behind each other.
    constexpr std::size_t kRemoteCalls = 32;
    // Local lookups are bound by the cores.
    constexpr unsigned kLocalCalls = 8;
    std::uint64_t type = 0;
    if (linuxos::realSystemCalls().fileSystemType(path, type) == 0 &&
        std::find(std::begin(kRemote), std::end(kRemote), type) != std::end(kRemote))
        return kRemoteCalls;
    return std::min(std::max(1u, std::thread::hardware_concurrency()), kLocalCalls);
}

bool LinuxFileSystem::isReadableRegularFile(const std::string& path) const {
    if (!isUsablePath(path))
        return false;
    // O_NONBLOCK so a FIFO named on the command line cannot hang start-up.
    const linuxos::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    return fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
}

int LinuxFileSystem::openForReadingError(const std::string& path) const {
    if (!isUsablePath(path))
        return EINVAL;
    const linuxos::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        return errno;
    struct stat st {};
    return ::fstat(fd.get(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
}

bool LinuxFileSystem::isDirectory(const std::string& path) const {
    struct stat st {};
    return isUsablePath(path) && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileSystem& nativeFileSystem() {
    static LinuxFileSystem instance;
    return instance;
}

} // namespace kelvoro::platform
