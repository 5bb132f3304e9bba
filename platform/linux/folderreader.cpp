#include "platform/folderreader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kelvoro::platform {

namespace {

EntryType typeOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return EntryType::File;
    if (S_ISDIR(mode))
        return EntryType::Directory;
    if (S_ISLNK(mode))
        return EntryType::Symlink;
    return EntryType::Special;
}

// d_type when the file system fills it in, else one lstat relative to the open directory.
EntryType typeOf(int directory, const dirent& entry) {
    switch (entry.d_type) {
    case DT_REG:
        return EntryType::File;
    case DT_DIR:
        return EntryType::Directory;
    case DT_LNK:
        return EntryType::Symlink;
    case DT_UNKNOWN: {
        struct stat st {};
        if (::fstatat(directory, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryType::Special;
        return typeOfMode(st.st_mode);
    }
    default:
        return EntryType::Special;
    }
}

class LinuxFolderReader : public FolderReader {
public:
    int readFolder(const std::string& path, bool followLink, FolderIdentity& identity,
                   std::vector<FolderEntry>& entries) const override {
        entries.clear();
        if (path.find('\0') != std::string::npos)
            return EINVAL;
        // O_NOFOLLOW: a subfolder swapped for a link after it was listed is not entered.
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0)
            return errno;
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        int error = 0;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir);
            if (!entry) {
                error = errno;
                break;
            }
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            entries.push_back({entry->d_name, typeOf(::dirfd(dir), *entry)});
        }
        ::closedir(dir);
        if (error != 0)
            entries.clear();
        return error;
    }
};

} // namespace

FolderReader& nativeFolderReader() {
    static LinuxFolderReader reader;
    return reader;
}

} // namespace kelvoro::platform
