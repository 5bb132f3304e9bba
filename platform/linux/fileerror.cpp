#include "platform/filestatus.h"

#include <cerrno>
#include <cstring>

namespace kelvoro::platform {

FileErrorCause causeFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return FileErrorCause::BadPath;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileErrorCause::AccessDenied;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::SharingViolation;
    case ENOLCK:
    case EDEADLK:
        return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
        return FileErrorCause::DiskFull;
    case EIO:
        return FileErrorCause::HardwareIo;
    case ENOTSUP:
        return FileErrorCause::NotSupported;
    default:
        return FileErrorCause::Generic;
    }
}

FileError::FileError(FileErrorCause cause, int systemError, std::string path)
    : std::runtime_error(path + ": " + std::strerror(systemError)), m_cause(cause),
      m_systemError(systemError), m_path(std::move(path)) {}

} // namespace kelvoro::platform
