#include "platform/directorynames.h"

#include <dirent.h>
#include <unistd.h>

#include <cstring>

namespace kelvoro::platform {

bool readDirectoryNames(const std::string& directory, std::vector<std::string>& names) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return true;
}

std::size_t nameLengthLimit(const std::string& directory) {
    const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    // NAME_MAX of Linux where the file system does not say.
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

} // namespace kelvoro::platform
