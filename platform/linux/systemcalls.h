#pragma once

#include "platform/linux/uniquefd.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

namespace kelvoro::platform::linuxos {

// What the status backend needs of stat(2), in whole seconds.
struct Stat {
    std::uint32_t mode = 0;
    std::int64_t modified = 0;
    std::int64_t accessed = 0;
    std::optional<std::int64_t> born;
    std::uint32_t bornNanoseconds = 0;
    // The mount's identity when the kernel gives one that is never reused.
    std::optional<std::uint64_t> mountId;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool link = false; // the path is a symbolic link; everything above is of its target
};

// A file held open, so that what was checked is what the other calls reach: they are given
// the descriptor, or path, which names the open file itself (/proc/self/fd/N) and is never
// looked up in a directory again.
struct HeldFile {
    UniqueFd fd;
    std::string path;
    // At least the type, device, inode and birth time; link: what is held is a link itself.
    Stat stat;
    // Open for reading, so the descriptor takes attribute calls; else held without access
    // (O_PATH), and they go through path.
    bool readable = false;
};

// The raw calls behind reading and writing a file's status. The status backend goes through
// this seam so that the encodings of file systems this machine cannot mount (vfat, cifs) can
// be checked against a recording fake. Every call returns 0 or the errno of its failure.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // statfs f_type of the file system holding path.
    virtual int fileSystemType(const std::string& path, std::uint64_t& type) = 0;
    virtual int stat(const std::string& path, Stat& out) = 0;
    // Opens what path names now; a symbolic link there is followed only when asked.
    virtual int hold(const std::string& path, bool followLink, HeldFile& out) = 0;
    // stat of the held file itself, without a path lookup.
    virtual int statHeld(const HeldFile& file, Stat& out) = 0;
    virtual int getXattr(const std::string& path, const char* name, std::string& value) = 0;
    virtual int setXattr(const std::string& path, const char* name, const std::string& value) = 0;
    virtual int changeMode(const std::string& path, std::uint32_t mode) = 0;
    // Whole seconds; a time not given is left as it is.
    virtual int setTimes(const std::string& path, const std::optional<std::int64_t>& modified,
                         const std::optional<std::int64_t>& accessed) = 0;
    // setTimes of the held file itself.
    virtual int setHeldTimes(const HeldFile& file, const std::optional<std::int64_t>& modified,
                             const std::optional<std::int64_t>& accessed) {
        return setTimes(file.path, modified, accessed);
    }
    // getXattr and setXattr of the held file itself.
    virtual int getHeldXattr(const HeldFile& file, const char* name, std::string& value) {
        return getXattr(file.path, name, value);
    }
    virtual int setHeldXattr(const HeldFile& file, const char* name, const std::string& value) {
        return setXattr(file.path, name, value);
    }
    // FAT_IOCTL_GET_ATTRIBUTES / FAT_IOCTL_SET_ATTRIBUTES.
    virtual int fatAttributes(const std::string& path, std::uint32_t& attributes) = 0;
    virtual int setFatAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // The process's umask.
    virtual std::uint32_t creationMask() = 0;
    // Runs work on a thread of its own; throws std::system_error when none can be had.
    virtual std::jthread startThread(std::function<void()> work);

    // fileSystemType, asked once per mount that has a lasting identity: a mount's type never
    // changes, and asking costs two more path walks per file. Safe from several threads.
    int mountType(const std::string& path, const Stat& stat, std::uint64_t& type);

private:
    std::mutex m_mountTypesLock;
    std::unordered_map<std::uint64_t, std::uint64_t> m_mountTypes;
};

SystemCalls& realSystemCalls();

} // namespace kelvoro::platform::linuxos
