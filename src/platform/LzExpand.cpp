#include "platform/LzExpand.h"

#include "platform/AtomicFile.h"

#include <mspack.h>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qv::platform {
namespace {

constexpr unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

/// A temporary file beside `target`, removed unless kept. It is made as any new file is,
/// so the installed file gets the mode the user's umask gives, not a private one.
class Beside {
public:
    explicit Beside(const std::filesystem::path& target) {
        const std::string stem = "." + target.filename().string() + "." + std::to_string(::getpid()) + ".";
        for (int n = 0; n < 100 && path_.empty(); ++n) {
            const std::filesystem::path candidate = target.parent_path() / (stem + std::to_string(n));
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return;
            }
            struct stat st {};
            mode_ = ::fstat(fd, &st) == 0 ? st.st_mode & 07777 : 0644;
            ::close(fd);
            path_ = candidate;
        }
    }
    ~Beside() {
        if (!path_.empty()) {
            std::error_code ec;
            std::filesystem::remove(path_, ec);
        }
    }
    const std::filesystem::path& path() const { return path_; }
    bool keepAs(const std::filesystem::path& target) {
        // Whatever wrote the content (a copy takes the disk file's mode) leaves the new file's.
        if (::chmod(path_.c_str(), mode_) != 0)
            return false;
        std::error_code ec;
        std::filesystem::rename(path_, target, ec);
        if (!ec)
            path_.clear();
        return !ec;
    }

private:
    std::filesystem::path path_;
    mode_t mode_ = 0644;
};

/// Expands an SZDD file into `out`, refusing one whose header states more than `maxBytes`
/// before anything is written; 0 or an error code.
int expand(const std::filesystem::path& source, const std::filesystem::path& out,
           std::uintmax_t maxBytes = UINTMAX_MAX) {
    msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
    if (!d)
        return LzExpand::kBadValue;
    int code = 0;
    msszddd_header* header = d->open(d, const_cast<char*>(source.c_str()));
    if (!header) {
        code = LzExpand::kRead;
    } else if (header->length < 0 || static_cast<std::uintmax_t>(header->length) > maxBytes) {
        code = LzExpand::kRead;
        d->close(d, header);
    } else {
        if (d->extract(d, header, const_cast<char*>(out.c_str())) != MSPACK_ERR_OK)
            code = LzExpand::kRead;
        // libmspack does not check the length: a truncated file would pass.
        std::error_code ec;
        if (code == 0 && static_cast<off_t>(std::filesystem::file_size(out, ec)) != header->length)
            code = LzExpand::kRead;
        d->close(d, header);
    }
    mspack_destroy_szdd_decompressor(d);
    return code;
}

} // namespace

bool LzExpand::IsCompressed(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[8] = {};
    return in.read(reinterpret_cast<char*>(head), 8) && std::equal(head, head + 8, kSignature);
}

int LzExpand::Open(const std::filesystem::path& source) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec) || ::access(source.c_str(), R_OK) != 0)
        return kBadInHandle;
    return 0;
}

int LzExpand::Copy(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (Open(source) != 0)
        return kBadInHandle;
    Beside temporary(destination);
    if (temporary.path().empty())
        return kBadOutHandle;
    if (IsCompressed(source)) {
        if (const int code = expand(source, temporary.path()))
            return code;
    } else {
        std::error_code ec;
        std::filesystem::copy_file(source, temporary.path(),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            return kWrite;
    }
    return temporary.keepAs(destination) ? 0 : kWrite;
}

int LzExpand::ReadAll(const std::filesystem::path& source, std::string& bytes, std::uintmax_t maxBytes) {
    bytes.clear();
    if (Open(source) != 0)
        return kBadInHandle;
    if (!IsCompressed(source))
        return AtomicFile::read(source, bytes, maxBytes) ? kRead : 0;
    // Under $TMPDIR: the disk itself may be read-only.
    std::error_code ec;
    std::string folder = (std::filesystem::temp_directory_path(ec) / "qvexpandXXXXXX").string();
    if (ec || !::mkdtemp(folder.data()))
        return kBadOutHandle;
    const std::filesystem::path out = std::filesystem::path(folder) / "expanded";
    int code = expand(source, out, maxBytes);
    if (code == 0 && AtomicFile::read(out, bytes, maxBytes))
        code = kRead;
    std::filesystem::remove_all(folder, ec);
    return code;
}

} // namespace qv::platform
