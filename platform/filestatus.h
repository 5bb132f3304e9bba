#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace kelvoro::platform {

// A Windows attribute word; bits the row does not show are carried along untouched.
namespace attr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t NotContentIndexed = 0x2000;
// The four bits the list shows and a save may change.
inline constexpr std::uint32_t Managed = ReadOnly | Hidden | Archive | NotContentIndexed;
} // namespace attr

// Which file a path named when it was read: the device and inode of the file the row shows,
// which for a symbolic link is the file it leads to. An inode number freed and given to a new
// file or directory is told apart by the type and, where the file system keeps one, the birth
// time to the nanosecond.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t type = 0; // the S_IFMT bits of the mode
    std::optional<std::int64_t> bornSeconds;
    std::uint32_t bornNanoseconds = 0;
    bool throughLink = false; // the path itself was a symbolic link
};

struct FileStatus {
    // Seconds since the epoch; empty when not known (read) or not to be changed (write).
    std::optional<std::int64_t> created;
    std::optional<std::int64_t> modified;
    std::optional<std::int64_t> accessed;
    std::uint32_t attributes = 0;
    bool ok = false; // the read worked
    // Read: the file found. Write: the file the path must still name; a write to anything
    // else (a file put in its place, a link planted there) is refused. Empty: not checked.
    std::optional<FileIdentity> identity;
    bool directory = false; // read: the path names a directory (through a link or not)
};

enum class FileErrorCause {
    Generic,
    FileNotFound,
    BadPath,
    AccessDenied,
    SharingViolation,
    LockViolation,
    DiskFull,
    HardwareIo,
    // The file system cannot store a creation time or flag the row asks for.
    NotSupported,
    // The path no longer names the file that was listed.
    Replaced,
};

FileErrorCause causeFromErrno(int error);

class FileError : public std::runtime_error {
public:
    FileError(FileErrorCause cause, int systemError, std::string path);

    FileErrorCause cause() const { return m_cause; }
    int systemError() const { return m_systemError; }
    const std::string& path() const { return m_path; }

private:
    FileErrorCause m_cause;
    int m_systemError;
    std::string m_path;
};

} // namespace kelvoro::platform
