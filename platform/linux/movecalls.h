#pragma once

#include <cstdint>
#include <string>

namespace kelvoro::platform {

struct EntryIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t links = 0;
};

// The system calls a move is made of, so that tests can play file systems this machine does
// not have (no RENAME_NOREPLACE, no hard links, names that ignore case). Each call returns 0
// or the errno of its failure.
class MoveCalls {
public:
    virtual ~MoveCalls() = default;

    virtual int renameNoReplace(const std::string& from, const std::string& to) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int link(const std::string& from, const std::string& to) = 0;
    virtual int unlink(const std::string& path) = 0;
    // lstat: the entry itself, never what a symbolic link points to.
    virtual int identify(const std::string& path, EntryIdentity& identity) = 0;
    // True when the directory holds an entry spelled byte for byte as name, or cannot be
    // read (the answer that refuses the move).
    virtual bool listsEntry(const std::string& directory, const std::string& name) = 0;
};

MoveCalls& systemMoveCalls();

// The move behind LinuxFileSystem::moveNoReplace: renameat2(RENAME_NOREPLACE); where the
// file system lacks it, link and unlink; where it has no hard links either, lstat then
// rename. A target that is only another spelling of the source's own entry (a case-only
// rename on a case-insensitive file system) is reached through a temporary name.
bool moveNoReplace(MoveCalls& calls, const std::string& from, const std::string& to);

} // namespace kelvoro::platform
