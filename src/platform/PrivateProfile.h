#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::platform {

/// Private initialisation files (QVLEGAL.INI and its like), shared by the suite's
/// programs. A file named without a folder lies in the Windows folder. Writes replace
/// the file atomically, so two programs never see half a file.
class PrivateProfile {
public:
    /// The value, or `defaultValue` for a missing file, section or key; cut to
    /// `capacity` - 1 characters as the callers' buffers were.
    static std::string ReadPrivateValue(std::string_view section, std::string_view key,
                                        std::string_view defaultValue, std::size_t capacity,
                                        std::string_view fileName);
    static bool WritePrivateValue(std::string_view section, std::string_view key, std::string_view text,
                                  std::string_view fileName);

    static std::filesystem::path PathOf(std::string_view fileName);
};

} // namespace qv::platform
