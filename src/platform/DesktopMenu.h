#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qv::platform {

/// The desktop menu standing in for the program manager's groups: a group is a submenu
/// (a `.directory` file and a merge file under the user's menus folder) whose launchers
/// (`.desktop` files) lie in a folder of their own under the user's applications.
/// Items go to the current group: the one last created or shown.
class DesktopMenu {
public:
    void CreateGroup(const std::string& group);
    void ShowGroup(const std::string& group);
    void AddItem(const std::string& commandLine, const std::string& title);
    void DeleteItem(const std::string& title);
    void DeleteGroup(const std::string& group);

    /// Lets the desktop see the changes (update-desktop-database where installed).
    void Refresh();

    static std::string Slug(const std::string& name);
    static std::filesystem::path LauncherFolder(const std::string& group);
    static std::filesystem::path LauncherFile(const std::string& group, const std::string& title);
    static std::filesystem::path DirectoryFile(const std::string& group);
    static std::filesystem::path MergeFile(const std::string& group);

private:
    std::optional<std::string> current_;
    bool changed_ = false;
};

} // namespace qv::platform
