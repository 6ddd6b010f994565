#include "platform/DesktopMenu.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/ProcessStarter.h"
#include "platform/ProgramStart.h"

#include <system_error>

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

/// A value of a desktop entry: one line, backslashes and line breaks escaped.
std::string entryValue(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// One argument of an Exec line, quoted as the desktop entry rules ask.
std::string execArgument(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    return out + "\"";
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
              "[Desktop Entry]\nType=Directory\nName=" + entryValue(group) + "\nIcon=folder\n");
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
    // may come in double quotes (paths with blanks, as the setup writes them).
    std::string exec;
    std::filesystem::path folder;
    if (commandLine.size() > 1 && commandLine[0] == '"' && commandLine.find('"', 1) != std::string::npos) {
        const auto close = commandLine.find('"', 1);
        const std::filesystem::path program = commandLine.substr(1, close - 1);
        std::string rest = commandLine.substr(close + 1);
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
        exec = execArgument(program.string());
        if (!rest.empty())
            exec += " " + execArgument(rest);
        folder = program.parent_path();
    } else if (const auto resolved = ProgramStart::Resolve(commandLine)) {
        exec = execArgument(resolved->program.string());
        for (const auto& a : resolved->arguments)
            exec += " " + execArgument(a);
        folder = resolved->program.parent_path();
    } else {
        exec = execArgument(commandLine);
        folder = std::filesystem::path(commandLine).parent_path();
    }
    std::string text =
        "[Desktop Entry]\nType=Application\nName=" + entryValue(title) + "\nExec=" + entryValue(exec) + "\n";
    if (!folder.empty())
        text += "Path=" + entryValue(folder.string()) + "\n";
    text += "Terminal=false\nCategories=X-" + Slug(*current_) + ";\n";
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
