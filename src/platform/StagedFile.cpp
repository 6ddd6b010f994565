#include "platform/StagedFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qv::platform {

StagedFile::StagedFile(StagedFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

StagedFile::~StagedFile() {
    close();
}

void StagedFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool StagedFile::stage(const std::filesystem::path& dir, std::string_view bytes) {
    close();
    // The mode is filtered by the umask as for any new file.
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    fd_ = fd;
    return true;
}

bool StagedFile::link(const std::filesystem::path& path) {
    if (fd_ < 0)
        return false;
    // Naming an open unnamed file goes through its /proc entry: linking by descriptor
    // alone needs a privilege ordinary users lack.
    char procPath[40];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, procPath, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    close();
    return true;
}

} // namespace qv::platform
