#include "platform/posix/posixfilesystem.h"

#include <cerrno>

namespace kelvoro::platform {

void PosixFileSystem::writeStatus(const std::string& path, const FileStatus&) {
    throw FileError(FileErrorCause::NotSupported, ENOTSUP, path);
}

} // namespace kelvoro::platform
