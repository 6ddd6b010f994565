#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace qv::platform {

/// Replaces a file's content all at once: the bytes go to a temporary file beside the
/// target, which is flushed to disk and then renamed over it. A failure at any point
/// leaves the old file as it was and no temporary file behind.
class AtomicFile {
public:
    /// Writes `bytes` to `path`. A link is followed, so the file it names is replaced
    /// and the link stays. An existing file keeps its permission bits.
    /// `sync` = false leaves out the flush to disk: still never half a file, but a crash
    /// right after may lose it (batch outputs that can be made again).
    static std::error_code write(const std::filesystem::path& path, std::string_view bytes, bool sync = true);

    /// Reads a whole file, refusing one larger than `maxBytes`.
    static std::error_code read(const std::filesystem::path& path, std::string& bytes,
                                std::uintmax_t maxBytes = std::uintmax_t(1) << 31);
};

} // namespace qv::platform
