#pragma once

#include "platform/filesystem.h"

namespace kelvoro::platform {

class LinuxFileSystem : public FileSystem {
public:
    FileStatus readStatus(const std::string& path) const override;
    std::vector<FileStatus> readStatuses(const std::vector<std::string>& paths) const override;
    FileStatus writeStatus(const std::string& path, const FileStatus& desired) override;
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<FileIdentity>& listed) override;
    bool isReadableRegularFile(const std::string& path) const override;
    int openForReadingError(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    std::size_t parallelCalls(const std::string& path) const override;
};

} // namespace kelvoro::platform
