#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvoro::platform {

enum class EntryType {
    File,      // a regular file
    Directory, // a real directory, never a link to one
    Symlink,   // listed as itself, never followed
    Special,   // FIFO, socket, device
};

struct FolderEntry {
    std::string name; // native bytes
    EntryType type = EntryType::File;
};

// Which directory a path reached, so that a walk sees when it comes back to one (a bind
// mount of a folder inside itself).
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// Reads the entries of one directory ("." and ".." left out, in no particular order).
class FolderReader {
public:
    virtual ~FolderReader() = default;

    // 0, or the errno of the failure. `followLink` lets the path itself be a symbolic link to
    // a directory (the folder the user chose); otherwise a link is refused with ELOOP.
    virtual int readFolder(const std::string& path, bool followLink, FolderIdentity& identity,
                           std::vector<FolderEntry>& entries) const = 0;
};

FolderReader& nativeFolderReader();

} // namespace kelvoro::platform
