#include "platform/linux/systemcalls.h"
#include "platform/linux/uniquefd.h"

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fstream>

// Linux 6.8; older headers lack it, older kernels ignore it.
#ifndef STATX_MNT_ID_UNIQUE
#define STATX_MNT_ID_UNIQUE 0x00004000U
#endif

namespace kelvoro::platform::linuxos {

namespace {

constexpr unsigned kStatMask = STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID_UNIQUE;

Stat statFrom(const struct statx& sx) {
    Stat out;
    out.mode = sx.stx_mode;
    out.modified = sx.stx_mtime.tv_sec;
    out.accessed = sx.stx_atime.tv_sec;
    if (sx.stx_mask & STATX_BTIME) {
        out.born = sx.stx_btime.tv_sec;
        out.bornNanoseconds = sx.stx_btime.tv_nsec;
    }
    if (sx.stx_mask & STATX_MNT_ID_UNIQUE)
        out.mountId = sx.stx_mnt_id;
    out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.inode = sx.stx_ino;
    return out;
}

// utimensat's access and modification times; a time not given is left as it is.
std::array<struct timespec, 2> timesOf(const std::optional<std::int64_t>& modified,
                                       const std::optional<std::int64_t>& accessed) {
    auto stamp = [](const std::optional<std::int64_t>& t) {
        struct timespec ts {};
        ts.tv_sec = t ? static_cast<time_t>(*t) : 0;
        ts.tv_nsec = t ? 0 : UTIME_OMIT;
        return ts;
    };
    return {stamp(accessed), stamp(modified)};
}

// One extended attribute through get(buffer, size), a getxattr or fgetxattr.
template <typename Get> int readXattr(std::string& value, Get get) {
    std::array<char, 256> buffer{};
    ssize_t n = get(buffer.data(), buffer.size());
    if (n >= 0) {
        value.assign(buffer.data(), static_cast<std::size_t>(n));
        return 0;
    }
    if (errno != ERANGE)
        return errno;
    // Larger than any value we write; read whatever is there.
    for (;;) {
        n = get(nullptr, 0);
        if (n < 0)
            return errno;
        value.resize(static_cast<std::size_t>(n));
        n = get(value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
}

class RealSystemCalls : public SystemCalls {
public:
    int fileSystemType(const std::string& path, std::uint64_t& type) override {
        const UniqueFd fd(::open(path.c_str(), O_PATH | O_CLOEXEC));
        if (!fd.valid())
            return errno;
        struct statfs sf {};
        if (::fstatfs(fd.get(), &sf) != 0)
            return errno;
        type = static_cast<std::uint64_t>(sf.f_type) & 0xFFFFFFFFu;
        return 0;
    }

    int stat(const std::string& path, Stat& out) override {
        struct statx sx {};
        // The path itself first: a file costs one call, a link one more for its target.
        if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, kStatMask,
                    &sx) != 0)
            return errno;
        const bool link = S_ISLNK(sx.stx_mode);
        if (link && ::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, kStatMask, &sx) != 0)
            return errno;
        out = statFrom(sx);
        out.link = link;
        return 0;
    }

    // Open for reading where the file allows it: the attribute calls then take the descriptor
    // and skip a walk through /proc. A link held itself, a file the user may not read and
    // anything that is not a file or folder are held without access.
    int hold(const std::string& path, bool followLink, HeldFile& out) override {
        const int follow = followLink ? 0 : O_NOFOLLOW;
        UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | follow));
        bool readable = fd.valid();
        if (!readable)
            fd = UniqueFd(::open(path.c_str(), O_PATH | O_CLOEXEC | follow));
        if (!fd.valid())
            return errno;
        struct statx sx {};
        if (::statx(fd.get(), "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, kStatMask, &sx) != 0)
            return errno;
        out.stat = statFrom(sx);
        out.stat.link = S_ISLNK(sx.stx_mode);
        out.readable = readable && (S_ISREG(sx.stx_mode) || S_ISDIR(sx.stx_mode));
        out.path = "/proc/self/fd/" + std::to_string(fd.get());
        out.fd = std::move(fd);
        return 0;
    }

    int statHeld(const HeldFile& file, Stat& out) override {
        struct statx sx {};
        if (::statx(file.fd.get(), "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, kStatMask, &sx) != 0)
            return errno;
        out = statFrom(sx);
        out.link = S_ISLNK(sx.stx_mode);
        return 0;
    }

    int getXattr(const std::string& path, const char* name, std::string& value) override {
        return readXattr(value, [&](void* buffer, std::size_t size) {
            return ::getxattr(path.c_str(), name, buffer, size);
        });
    }

    int setXattr(const std::string& path, const char* name, const std::string& value) override {
        return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0 ? 0 : errno;
    }

    int getHeldXattr(const HeldFile& file, const char* name, std::string& value) override {
        if (!file.readable)
            return getXattr(file.path, name, value);
        return readXattr(value, [&](void* buffer, std::size_t size) {
            return ::fgetxattr(file.fd.get(), name, buffer, size);
        });
    }

    int setHeldXattr(const HeldFile& file, const char* name, const std::string& value) override {
        if (!file.readable)
            return setXattr(file.path, name, value);
        return ::fsetxattr(file.fd.get(), name, value.data(), value.size(), 0) == 0 ? 0 : errno;
    }

    int changeMode(const std::string& path, std::uint32_t mode) override {
        return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
    }

    int setTimes(const std::string& path, const std::optional<std::int64_t>& modified,
                 const std::optional<std::int64_t>& accessed) override {
        const std::array<struct timespec, 2> times = timesOf(modified, accessed);
        return ::utimensat(AT_FDCWD, path.c_str(), times.data(), 0) == 0 ? 0 : errno;
    }

    // The descriptor itself: no walk through /proc for the most common save.
    int setHeldTimes(const HeldFile& file, const std::optional<std::int64_t>& modified,
                     const std::optional<std::int64_t>& accessed) override {
        const std::array<struct timespec, 2> times = timesOf(modified, accessed);
        return ::utimensat(file.fd.get(), "", times.data(), AT_EMPTY_PATH) == 0 ? 0 : errno;
    }

    int fatAttributes(const std::string& path, std::uint32_t& attributes) override {
        return fatIoctl(path, FAT_IOCTL_GET_ATTRIBUTES, &attributes);
    }

    int setFatAttributes(const std::string& path, std::uint32_t attributes) override {
        return fatIoctl(path, FAT_IOCTL_SET_ATTRIBUTES, &attributes);
    }

    std::uint32_t creationMask() override {
        // umask(2) can only be read by changing it; /proc tells without a race.
        std::ifstream status("/proc/self/status");
        std::string key;
        while (status >> key) {
            if (key == "Umask:") {
                std::string octal;
                status >> octal;
                return static_cast<std::uint32_t>(std::strtoul(octal.c_str(), nullptr, 8)) & 0777;
            }
        }
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return mask;
    }

private:
    static int fatIoctl(const std::string& path, unsigned long request, std::uint32_t* value) {
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd.valid())
            return errno;
        return ::ioctl(fd.get(), request, value) == 0 ? 0 : errno;
    }
};

} // namespace

std::jthread SystemCalls::startThread(std::function<void()> work) {
    return std::jthread(std::move(work));
}

int SystemCalls::mountType(const std::string& path, const Stat& stat, std::uint64_t& type) {
    if (stat.mountId) {
        const std::lock_guard<std::mutex> guard(m_mountTypesLock);
        const auto it = m_mountTypes.find(*stat.mountId);
        if (it != m_mountTypes.end()) {
            type = it->second;
            return 0;
        }
    }
    if (const int error = fileSystemType(path, type))
        return error;
    if (stat.mountId) {
        const std::lock_guard<std::mutex> guard(m_mountTypesLock);
        m_mountTypes.emplace(*stat.mountId, type);
    }
    return 0;
}

SystemCalls& realSystemCalls() {
    static RealSystemCalls instance;
    return instance;
}

} // namespace kelvoro::platform::linuxos
