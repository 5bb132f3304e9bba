#include "platform/posix/posixfilesystem.h"

#include <fcntl.h>
#include <stdio.h>

namespace kelvoro::platform {

bool PosixFileSystem::moveNoReplace(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

} // namespace kelvoro::platform
