#include "common/pathpieces.h"
#include "platform/linux/linuxfilesystem.h"
#include "platform/linux/movecalls.h"
#include "platform/linux/statusbackend.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kelvoro::platform {

namespace {

class SystemMoveCalls : public MoveCalls {
public:
    int renameNoReplace(const std::string& from, const std::string& to) override {
        return result(::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
    }
    int rename(const std::string& from, const std::string& to) override {
        return result(::rename(from.c_str(), to.c_str()));
    }
    int link(const std::string& from, const std::string& to) override {
        return result(::link(from.c_str(), to.c_str()));
    }
    int unlink(const std::string& path) override { return result(::unlink(path.c_str())); }
    int identify(const std::string& path, EntryIdentity& identity) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno;
        identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                    static_cast<std::uint64_t>(st.st_nlink)};
        return 0;
    }
    bool listsEntry(const std::string& directory, const std::string& name) override {
        DIR* dir = ::opendir(directory.c_str());
        if (!dir)
            return true;
        bool found = false;
        while (const dirent* entry = ::readdir(dir)) {
            if (name == entry->d_name) {
                found = true;
                break;
            }
        }
        ::closedir(dir);
        return found;
    }

private:
    static int result(int r) { return r == 0 ? 0 : errno; }
};

enum class Attempt { Moved, TargetExists, Failed };

bool noReplaceUnsupported(int e) {
    return e == EINVAL || e == ENOSYS || e == ENOTSUP || e == EOPNOTSUPP;
}

bool hardLinksImpossible(int e) {
    return e == EPERM || e == EXDEV || e == ENOTSUP || e == EOPNOTSUPP || e == EMLINK;
}

// One move by the best means the file system offers; never replaces the target.
Attempt moveOnce(MoveCalls& calls, const std::string& from, const std::string& to) {
    int e = calls.renameNoReplace(from, to);
    if (e == 0)
        return Attempt::Moved;
    if (e == EEXIST)
        return Attempt::TargetExists;
    if (!noReplaceUnsupported(e))
        return Attempt::Failed;

    e = calls.link(from, to);
    if (e == 0) {
        if (calls.unlink(from) == 0)
            return Attempt::Moved;
        // Leave the file as it was: under its old name only.
        calls.unlink(to);
        return Attempt::Failed;
    }
    if (e == EEXIST)
        return Attempt::TargetExists;
    if (!hardLinksImpossible(e))
        return Attempt::Failed;

    // Without hard links nothing closes the gap between the check and the rename.
    EntryIdentity target;
    e = calls.identify(to, target);
    if (e == 0)
        return Attempt::TargetExists;
    if (e != ENOENT)
        return Attempt::Failed;
    return calls.rename(from, to) == 0 ? Attempt::Moved : Attempt::Failed;
}

// The directory part of a path as the system calls take it, and the name after it.
std::string directoryPart(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string namePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether to is only another spelling of from's own entry, not a second file and not a
// second hard link of the same file (which a move must leave alone).
bool sameEntry(MoveCalls& calls, const std::string& from, const std::string& to) {
    EntryIdentity a;
    EntryIdentity b;
    if (calls.identify(from, a) != 0 || calls.identify(to, b) != 0)
        return false;
    if (a.device != b.device || a.inode != b.inode)
        return false;
    if (a.links == 1)
        return true;
    return !calls.listsEntry(directoryPart(to), namePart(to));
}

// Plain rename does nothing when both names are the same file, so go round.
bool moveThroughTemporary(MoveCalls& calls, const std::string& from, const std::string& to) {
    const auto slash = to.rfind('/');
    const std::string prefix = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
    for (int i = 0; i < 100; ++i) {
        const std::string temporary = prefix + ".kelvoro-rename-" + std::to_string(i);
        switch (moveOnce(calls, from, temporary)) {
        case Attempt::TargetExists:
            continue;
        case Attempt::Failed:
            return false;
        case Attempt::Moved:
            if (moveOnce(calls, temporary, to) == Attempt::Moved)
                return true;
            moveOnce(calls, temporary, from);
            return false;
        }
    }
    return false;
}

} // namespace

MoveCalls& systemMoveCalls() {
    static SystemMoveCalls calls;
    return calls;
}

bool moveNoReplace(MoveCalls& calls, const std::string& from, const std::string& to) {
    // A NUL would cut the path short at the system call and name another file.
    if (!isUsablePath(from) || !isUsablePath(to))
        return false;
    if (from == to) {
        EntryIdentity identity;
        return calls.identify(from, identity) == 0;
    }
    switch (moveOnce(calls, from, to)) {
    case Attempt::Moved:
        return true;
    case Attempt::Failed:
        return false;
    case Attempt::TargetExists:
        return sameEntry(calls, from, to) && moveThroughTemporary(calls, from, to);
    }
    return false;
}

bool LinuxFileSystem::moveNoReplace(const std::string& from, const std::string& to,
                                    const std::optional<FileIdentity>& listed) {
    // A file put in the listed one's place is not the row's to rename.
    if (listed && !linuxos::isListedFile(linuxos::realSystemCalls(), from, *listed))
        return false;
    return platform::moveNoReplace(systemMoveCalls(), from, to);
}

} // namespace kelvoro::platform
