#pragma once

#include "platform/filesystem.h"

namespace kelvoro::test {

// The real file system, for fakes that watch or steer one call and pass the rest on.
class ForwardingFileSystem : public platform::FileSystem {
public:
    platform::FileStatus readStatus(const std::string& path) const override {
        return real().readStatus(path);
    }
    platform::FileStatus writeStatus(const std::string& path,
                                     const platform::FileStatus& desired) override {
        return real().writeStatus(path, desired);
    }
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<platform::FileIdentity>& listed) override {
        return real().moveNoReplace(from, to, listed);
    }
    bool isReadableRegularFile(const std::string& path) const override {
        return real().isReadableRegularFile(path);
    }
    int openForReadingError(const std::string& path) const override {
        return real().openForReadingError(path);
    }
    bool isDirectory(const std::string& path) const override { return real().isDirectory(path); }

protected:
    static platform::FileSystem& real() { return platform::nativeFileSystem(); }
};

} // namespace kelvoro::test
