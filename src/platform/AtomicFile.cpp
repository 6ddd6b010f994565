#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::platform {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The umask can only be read by setting it; read it once, before any thread could race.
mode_t processUmask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

std::filesystem::path resolveLinks(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path target = path;
    // Bounded, so a link cycle cannot hang the save.
    for (int depth = 0; depth < 16 && std::filesystem::is_symlink(target, ec); ++depth) {
        std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

} // namespace

std::error_code AtomicFile::write(const std::filesystem::path& path, std::string_view bytes, bool sync) {
    const std::filesystem::path target = resolveLinks(path);
    std::filesystem::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";

    std::string name = ".";
    name += target.filename().string();
    name += ".XXXXXX";
    std::string tmpl = (dir / name).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return lastError();

    struct stat old {};
    mode_t mode;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode = 0666 & ~processUmask();
    }

    std::error_code ec;
    if (!writeAll(fd, bytes) || (sync && ::fsync(fd) != 0) || ::fchmod(fd, mode) != 0)
        ec = lastError();
    if (::close(fd) != 0 && !ec)
        ec = lastError();
    if (!ec && ::rename(tmpl.c_str(), target.c_str()) != 0)
        ec = lastError();
    if (ec) {
        ::unlink(tmpl.c_str());
        return ec;
    }
    // Make the rename itself durable.
    int dfd = sync ? ::open(dir.c_str(), O_RDONLY | O_DIRECTORY) : -1;
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

std::error_code AtomicFile::read(const std::filesystem::path& path, std::string& bytes,
                                 std::uintmax_t maxBytes) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        auto ec = lastError();
        ::close(fd);
        return ec;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::make_error_code(std::errc::file_too_large);
    }
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            auto ec = lastError();
            ::close(fd);
            bytes.clear();
            return ec;
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            bytes.clear();
            return std::make_error_code(std::errc::file_too_large);
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return {};
}

} // namespace qv::platform
