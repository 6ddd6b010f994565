#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace qv::fuzz {

/// The input cut at every `separator` byte into at most `count` parts (the last part keeps
/// any further separators); missing parts are empty.
inline std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t count,
                                                char separator = '\0') {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = rest.find(separator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

/// A folder of this fuzzing process under the temporary folder, made once and removed at
/// exit, for readers that take a path.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        std::string name = (std::filesystem::temp_directory_path(ec) / "qvfuzzXXXXXX").string();
        if (ec || !::mkdtemp(name.data()))
            std::abort();
        static std::string removeAtExit;
        removeAtExit = name;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return std::filesystem::path(name);
    }();
    return folder;
}

} // namespace qv::fuzz
