#pragma once

#include "platform/dosattrib.h"
#include "platform/filestatus.h"
#include "platform/linux/systemcalls.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvoro::platform::linuxos {

// Where a file system keeps the Windows attributes and the creation time.
enum class FileSystemKind {
    Generic, // user.DOSATTRIB and mode bits
    Fat,     // vfat, and exfat where it has the FAT ioctls
    Ntfs3,   // kernel driver: flags only
    Ntfs3g,  // FUSE driver: flags and creation time
    Cifs,    // SMB client: flags and creation time
};

namespace magic {
inline constexpr std::uint64_t Msdos = 0x4d44;
inline constexpr std::uint64_t Exfat = 0x2011BAB0;
inline constexpr std::uint64_t Ntfs3 = 0x7366746e;
inline constexpr std::uint64_t Fuse = 0x65735546;
inline constexpr std::uint64_t Cifs = 0xFF534D42;
inline constexpr std::uint64_t Smb2 = 0xFE534D42;
inline constexpr std::uint64_t Smb1 = 0x517B;
inline constexpr std::uint64_t Nfs = 0x6969;
inline constexpr std::uint64_t V9fs = 0x01021997;
inline constexpr std::uint64_t Ceph = 0x00C36400;
} // namespace magic

namespace xattr {
inline constexpr const char* DosAttrib = "user.DOSATTRIB";
inline constexpr const char* NtfsAttrib = "system.ntfs_attrib";
inline constexpr const char* NtfsCreationTime = "system.ntfs_crtime";
inline constexpr const char* CifsAttrib = "user.cifs.dosattrib";
inline constexpr const char* CifsCreationTime = "user.cifs.creationtime";
} // namespace xattr

// Windows' "no other attribute"; it never reaches a row.
inline constexpr std::uint32_t kNormalAttribute = 0x80;

// The file as the backend finds it.
struct NativeState {
    FileSystemKind kind = FileSystemKind::Generic;
    Stat stat;
    std::uint32_t attributes = 0; // the word the row shows
    // The creation time the file system records itself (blob, NTFS or SMB record).
    std::optional<std::int64_t> recordedCreated;
    // Generic only: the errno of reading user.DOSATTRIB (ENODATA: none), and the blob.
    int blobError = ENODATA;
    std::optional<DosAttrib> dos;

    // The recorded time, else the birth time, else the modification time.
    std::int64_t created() const;
};

FileIdentity identityOf(const Stat& stat);
// Whether what stat describes is the listed file (a link itself never is).
bool isSameFile(const Stat& stat, const FileIdentity& listed);

// 0, or the errno of the failing stat (EINVAL for a path no system call can name).
int readNativeState(SystemCalls& sys, const std::string& path, NativeState& out);
// The same for a held file; its name rules (a dot file is hidden) are those of shownPath.
// Fresh: the stat made when the file was taken hold of is still current. Records: whether the
// flags and creation time are wanted too, or only the stat.
enum class HeldRead { Fresh, Restat, RestatWithoutRecords };
int readNativeState(SystemCalls& sys, const HeldFile& file, const std::string& shownPath,
                    NativeState& out, HeldRead how);

FileStatus readStatusWith(SystemCalls& sys, const std::string& path);
// The status a read of this state gives.
FileStatus statusOf(const NativeState& state);
// readStatusWith of each path, in the same order, on up to this many threads. Reads one file
// at a time where threads cannot be had; an exception (no memory) reaches the caller, after
// every thread has ended.
std::vector<FileStatus> readStatusesWith(SystemCalls& sys, const std::vector<std::string>& paths,
                                         std::size_t threads);
// Writes through one descriptor, opened once and checked against desired.identity when given.
FileStatus writeStatusWith(SystemCalls& sys, const std::string& path, const FileStatus& desired);
// Whether path still names the listed file, by the rules writeStatusWith applies; one stat,
// for a caller (a rename) that acts on the name rather than through a descriptor.
bool isListedFile(SystemCalls& sys, const std::string& path, const FileIdentity& listed);

// The xattr values the NTFS and SMB drivers exchange: CPU byte order.
std::string nativeWord(std::uint32_t value);
std::string nativeQuad(std::uint64_t value);
std::optional<std::uint32_t> wordFrom(const std::string& bytes);
std::optional<std::uint64_t> quadFrom(const std::string& bytes);

} // namespace kelvoro::platform::linuxos
