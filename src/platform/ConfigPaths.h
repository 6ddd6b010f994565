#pragma once

#include <filesystem>
#include <string_view>

namespace qv::platform {

/// Where the suite keeps its per-user files.
class ConfigPaths {
public:
    /// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    static std::filesystem::path configHome();
    /// $XDG_DATA_HOME, or ~/.local/share.
    static std::filesystem::path dataHome();
    static std::filesystem::path homeFolder();

    /// The maker's folder, standing in for the registry key "Software\Q-V Davov Software".
    static std::filesystem::path suiteFolder();
    /// One settings file per application: "QVLegal" gives .../QVLegal.ini.
    static std::filesystem::path applicationSettings(std::string_view applicationName);
    /// Stands in for the Windows folder that holds the private initialisation files.
    static std::filesystem::path windowsFolder();
    /// Stands in for the system folder (control panel applets, shared libraries).
    static std::filesystem::path systemFolder();
    /// Per-user scratch files that must outlive the program briefly (mail attachments).
    static std::filesystem::path cacheFolder();
};

} // namespace qv::platform
