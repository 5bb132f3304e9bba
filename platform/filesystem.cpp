#include "platform/filesystem.h"

namespace kelvoro::platform {

std::vector<FileStatus> FileSystem::readStatuses(const std::vector<std::string>& paths) const {
    std::vector<FileStatus> statuses;
    statuses.reserve(paths.size());
    for (const std::string& path : paths)
        statuses.push_back(readStatus(path));
    return statuses;
}

std::size_t FileSystem::parallelCalls(const std::string&) const {
    return 1;
}

} // namespace kelvoro::platform
