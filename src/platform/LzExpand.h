#pragma once

#include <filesystem>
#include <string>

namespace qv::platform {

/// The install disk's compressed files (SZDD, as Debian's mscompress writes them):
/// expanded with libmspack, plain files passed through unchanged. An expanded file must
/// have the length its header states; it is written beside its destination and renamed
/// into place, so a damaged source never leaves a half-written file under the final name.
class LzExpand {
public:
    /// The error codes the original interface returned (all below zero).
    static constexpr int kBadInHandle = -1;
    static constexpr int kBadOutHandle = -2;
    static constexpr int kRead = -3;
    static constexpr int kWrite = -4;
    static constexpr int kBadValue = -7;

    /// 0, or an error code: the source cannot be opened for reading.
    static int Open(const std::filesystem::path& source);
    /// Expands `source` into `destination`: 0, or an error code.
    static int Copy(const std::filesystem::path& source, const std::filesystem::path& destination);
    /// The expanded bytes of `source` (at most `maxBytes`): 0, or an error code.
    static int ReadAll(const std::filesystem::path& source, std::string& bytes, std::uintmax_t maxBytes);

    static bool IsCompressed(const std::filesystem::path& file);
};

} // namespace qv::platform
