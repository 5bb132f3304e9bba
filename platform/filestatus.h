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

struct FileStatus {
    // Seconds since the epoch; empty when not known (read) or not to be changed (write).
    std::optional<std::int64_t> created;
    std::optional<std::int64_t> modified;
    std::optional<std::int64_t> accessed;
    std::uint32_t attributes = 0;
    bool ok = false;        // the read worked
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
