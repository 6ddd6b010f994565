#pragma once

#include <filesystem>
#include <string_view>

namespace qv::platform {

/// The desktop's font alias for print files: they name "Courier 10 Pitch", which many
/// desktops lack; the alias gives word processors a Courier-metric fixed-pitch face in
/// its place. It is a fontconfig file in the user's configuration, placed by the setup.
class FontAlias {
public:
    static constexpr const char* kFaceName = "Courier 10 Pitch";
    static constexpr const char* kSubstitute = "Liberation Mono";
    static constexpr const char* kFileName = "20-q-v-davov-courier.conf";

    /// The alias file's text, as the suite ships it.
    static std::string_view Text();
    /// $XDG_CONFIG_HOME/fontconfig/conf.d/ + the file name.
    static std::filesystem::path UserPath();
    /// Writes the alias for the user (whole, or not at all); false when it cannot.
    static bool Install();
    /// Removes the user's alias; true when it is gone.
    static bool Remove();
};

} // namespace qv::platform
