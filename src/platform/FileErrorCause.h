#pragma once

#include <system_error>

namespace qv::platform {

/// The suite reports file failures by a small cause number ("Fatal Error -- File Error
/// Code: #%d"); this maps the operating system's error to it.
class FileErrorCause {
public:
    enum : int {
        None = 0,
        Generic = 1,
        FileNotFound = 2,
        BadPath = 3,
        TooManyOpenFiles = 4,
        AccessDenied = 5,
        InvalidFile = 6,
        RemoveCurrentDir = 7,
        DirectoryFull = 8,
        BadSeek = 9,
        HardIO = 10,
        SharingViolation = 11,
        LockViolation = 12,
        DiskFull = 13,
        EndOfFile = 14,
    };

    static int fromError(std::error_code ec);
};

} // namespace qv::platform
