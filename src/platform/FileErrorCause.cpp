#include "platform/FileErrorCause.h"

#include <cerrno>

namespace qv::platform {

int FileErrorCause::fromError(std::error_code ec) {
    if (!ec)
        return None;
    if (ec.category() != std::generic_category() && ec.category() != std::system_category())
        return Generic;
    switch (ec.value()) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return BadPath; // creating a file fails this way when a folder is missing
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return AccessDenied;
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    case EIO:
        return HardIO;
    case EBADF:
        return InvalidFile;
    case EBUSY:
    case ETXTBSY:
        return SharingViolation;
    case ESPIPE:
        return BadSeek;
    default:
        return Generic;
    }
}

} // namespace qv::platform
