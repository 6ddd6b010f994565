#include "platform/DesktopMenu.h"

#include "platform/AtomicFile.h"
#include "platform/CaseBlindPath.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopEntryText.h"
#include "platform/DesktopIcons.h"
#include "platform/ProcessStarter.h"
#include "platform/ProgramStart.h"

#include <optional>
#include <system_error>
#include <utility>

namespace qv::platform {
namespace {

constexpr std::chrono::milliseconds kTimeOut{10000};

std::string xmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// What the menu says of the suite's own programs beside their titles.
std::string commentFor(const std::filesystem::path& program) {
    const std::string icon = DesktopIcons::ForProgram(program);
    if (icon == DesktopIcons::kCatalogue)
        return "Pick a legal form from the forms catalogue and fill it in";
    if (icon == DesktopIcons::kUninstall)
        return "Remove Q-V Davov Software from this computer";
    if (icon == DesktopIcons::kLegal)
        return "Fill in a Q-V Davov form or worksheet";
    if (icon == DesktopIcons::kEdit)
        return "Edit and print a Q-V print file";
    return {};
}

/// The program of a command line that starts with a double quote: up to the closing
/// quote that ends the program's path (a folder may hold quotes itself), the name
/// found without regard to case. Nothing when no quoted part names an existing program.
std::optional<std::pair<std::filesystem::path, std::string>> quotedProgram(const std::string& line) {
    for (auto close = line.find('"', 1); close != std::string::npos; close = line.find('"', close + 1)) {
        if (close + 1 < line.size() && line[close + 1] != ' ')
            continue;
        const auto program = CaseBlindPath::Resolve(line.substr(1, close - 1));
        if (!ProcessStarter::IsExecutableFile(program))
            continue;
        std::string rest = line.substr(close + 1);
        if (!rest.empty())
            rest.erase(0, 1);
        return std::make_pair(program, rest);
    }
    return std::nullopt;
}

void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    (void)AtomicFile::write(file, text);
}

void removeFile(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

} // namespace

std::string DesktopMenu::Slug(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (std::isalnum(c))
            out += static_cast<char>(std::tolower(c));
        else if (!out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out.empty() ? std::string("item") : out;
}

std::filesystem::path DesktopMenu::LauncherFolder(const std::string& group) {
    return ConfigPaths::dataHome() / "applications" / Slug(group);
}

std::filesystem::path DesktopMenu::LauncherFile(const std::string& group, const std::string& title) {
    return LauncherFolder(group) / (Slug(title) + ".desktop");
}

std::filesystem::path DesktopMenu::DirectoryFile(const std::string& group) {
    return ConfigPaths::dataHome() / "desktop-directories" / (Slug(group) + ".directory");
}

std::filesystem::path DesktopMenu::MergeFile(const std::string& group) {
    return ConfigPaths::configHome() / "menus" / "applications-merged" / (Slug(group) + ".menu");
}

void DesktopMenu::CreateGroup(const std::string& group) {
    const std::string slug = Slug(group);
    writeFile(DirectoryFile(group),
              "[Desktop Entry]\nType=Directory\nName=" + DesktopEntryText::Value(group) + "\nIcon=folder\n");
    writeFile(MergeFile(group), "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                                " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
                                "<Menu>\n"
                                "  <Name>Applications</Name>\n"
                                "  <Menu>\n"
                                "    <Name>" +
                                    xmlEscape(group) +
                                    "</Name>\n"
                                    "    <Directory>" +
                                    slug +
                                    ".directory</Directory>\n"
                                    "    <Include><Category>X-" +
                                    slug +
                                    "</Category></Include>\n"
                                    "  </Menu>\n"
                                    // The launchers name Office as their main category
                                    // too; they belong to their own submenu alone.
                                    "  <Menu>\n"
                                    "    <Name>Office</Name>\n"
                                    "    <Exclude><Category>X-" +
                                    slug +
                                    "</Category></Exclude>\n"
                                    "  </Menu>\n"
                                    "</Menu>\n");
    std::error_code ec;
    std::filesystem::create_directories(LauncherFolder(group), ec);
    current_ = group;
    changed_ = true;
}

void DesktopMenu::ShowGroup(const std::string& group) {
    current_ = group;
    std::error_code ec;
    const auto folder = LauncherFolder(group);
    if (!std::filesystem::is_directory(folder, ec))
        return;
    if (const auto opener = ProcessStarter::FindOnPath("xdg-open"))
        ProcessStarter::StartDetached(*opener, {folder.string()});
}

void DesktopMenu::AddItem(const std::string& commandLine, const std::string& title) {
    if (!current_ || title.empty() || commandLine.empty())
        return;
    // The program and its argument as the command line would start them. A program path
    // may come in double quotes (paths with blanks, as the setup writes them); its name
    // is found as the original platform found it, without regard to case.
    std::string exec;
    std::filesystem::path program;
    if (commandLine.size() > 1 && commandLine[0] == '"' && commandLine.find('"', 1) != std::string::npos) {
        const auto quoted = quotedProgram(commandLine);
        std::string rest;
        if (quoted) {
            program = quoted->first;
            rest = quoted->second;
        } else {
            const auto close = commandLine.find('"', 1);
            program = commandLine.substr(1, close - 1);
            rest = commandLine.substr(close + 1);
            if (!rest.empty() && rest[0] == ' ')
                rest.erase(0, 1);
        }
        exec = DesktopEntryText::ExecArgument(program.string());
        if (!rest.empty())
            exec += " " + DesktopEntryText::ExecArgument(rest);
    } else if (const auto resolved = ProgramStart::Resolve(commandLine)) {
        program = resolved->program;
        exec = DesktopEntryText::ExecArgument(program.string());
        for (const auto& a : resolved->arguments)
            exec += " " + DesktopEntryText::ExecArgument(a);
    } else {
        program = commandLine;
        exec = DesktopEntryText::ExecArgument(commandLine);
    }
    const auto folder = program.parent_path();
    std::string text = "[Desktop Entry]\nType=Application\nName=" + DesktopEntryText::Value(title) + "\n";
    if (const auto comment = commentFor(program); !comment.empty())
        text += "Comment=" + comment + "\n";
    if (const auto icon = DesktopIcons::ForProgram(program); !icon.empty())
        text += "Icon=" + icon + "\n";
    text += "Exec=" + DesktopEntryText::Value(exec) + "\n";
    if (!folder.empty())
        text += "Path=" + DesktopEntryText::Value(folder.string()) + "\n";
    text += "Terminal=false\nCategories=Office;X-" + Slug(*current_) + ";\n";
    writeFile(LauncherFile(*current_, title), text);
    changed_ = true;
}

void DesktopMenu::DeleteItem(const std::string& title) {
    if (!current_)
        return;
    removeFile(LauncherFile(*current_, title));
    changed_ = true;
}

void DesktopMenu::DeleteGroup(const std::string& group) {
    std::error_code ec;
    std::filesystem::remove_all(LauncherFolder(group), ec);
    removeFile(DirectoryFile(group));
    removeFile(MergeFile(group));
    if (current_ && Slug(*current_) == Slug(group))
        current_.reset();
    changed_ = true;
}

void DesktopMenu::Refresh() {
    if (!changed_)
        return;
    changed_ = false;
    if (const auto update = ProcessStarter::FindOnPath("update-desktop-database"))
        (void)ProcessStarter::Run(*update, {(ConfigPaths::dataHome() / "applications").string()}, kTimeOut);
}

} // namespace qv::platform
