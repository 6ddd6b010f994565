#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

/// The suite's icons in the user's hicolor icon theme: one for each program the desktop
/// shows (catalogue, variable entry, print file editor, uninstaller) and one for each of
/// the file types. They are scalable pictures, named as launchers and MIME types ask.
class DesktopIcons {
public:
    static constexpr const char* kCatalogue = "q-v-davov-software-tolvad";
    static constexpr const char* kLegal = "q-v-davov-software-qvlegal";
    static constexpr const char* kEdit = "q-v-davov-software-qvedit";
    static constexpr const char* kUninstall = "q-v-davov-software-uninstall";

    struct Icon {
        std::string name;
        std::string context; // "apps" or "mimetypes"
    };

    static std::vector<Icon> All();
    /// The icon of one of the suite's programs, known by its file name in any case;
    /// empty for any other program.
    static std::string ForProgram(const std::filesystem::path& program);
    /// The name the desktop looks for a MIME type's icon under ("a/b" gives "a-b").
    static std::string ForType(std::string_view mimeType);

    static std::filesystem::path Theme();
    static std::filesystem::path FileOf(const Icon& icon);

    /// Copies each icon's "NAME.svg" from `source` into the theme; a missing one is
    /// passed over. Nothing is reported: the programs run without icons.
    static void Install(const std::filesystem::path& source);
    /// Removes the suite's icons.
    static void Remove();
};

} // namespace qv::platform
