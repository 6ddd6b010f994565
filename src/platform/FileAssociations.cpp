#include "platform/FileAssociations.h"

#include "platform/ConfigPaths.h"
#include "platform/ProcessStarter.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace qv::platform {
namespace {

constexpr std::chrono::milliseconds kTimeOut{10000};
constexpr int kNoAssociation = 31;
constexpr int kOpened = 42;

std::string trim(std::string s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string xdgMime(const std::vector<std::string>& arguments) {
    const auto program = ProcessStarter::FindOnPath("xdg-mime");
    if (!program)
        return {};
    const auto out = ProcessStarter::Run(*program, arguments, kTimeOut);
    if (!out || out->exitCode != 0)
        return {};
    const std::string text = out->standardOutput;
    return trim(text.substr(0, text.find('\n')));
}

std::vector<std::filesystem::path> applicationFolders() {
    std::vector<std::filesystem::path> folders{ConfigPaths::dataHome() / "applications"};
    const char* env = std::getenv("XDG_DATA_DIRS");
    const std::string dirs = env && *env ? env : "/usr/local/share:/usr/share";
    std::size_t from = 0;
    while (from <= dirs.size()) {
        std::size_t to = dirs.find(':', from);
        if (to == std::string::npos)
            to = dirs.size();
        if (to > from)
            folders.push_back(std::filesystem::path(dirs.substr(from, to - from)) / "applications");
        from = to + 1;
    }
    return folders;
}

/// The first word of an Exec line, unquoted.
std::string execProgram(const std::string& exec) {
    std::string word;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size())
                word += exec[++i];
            else if (c == '"')
                quoted = false;
            else
                word += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ' ' || c == '\t') {
            if (!word.empty())
                break;
        } else {
            word += c;
        }
    }
    return word;
}

} // namespace

std::string FileAssociations::MimeTypeOf(const std::filesystem::path& file) {
    return xdgMime({"query", "filetype", file.string()});
}

std::filesystem::path FileAssociations::DefaultDesktopEntry(const std::string& mimeType) {
    if (mimeType.empty())
        return {};
    const std::string id = xdgMime({"query", "default", mimeType});
    if (id.empty() || id.find('/') != std::string::npos)
        return {};
    for (const auto& folder : applicationFolders()) {
        // A desktop file id "vendor-app.desktop" may also be the file vendor/app.desktop.
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / id, ec))
            return folder / id;
        std::string nested = id;
        for (std::size_t dash = nested.find('-'); dash != std::string::npos;
             dash = nested.find('-', dash + 1)) {
            std::string candidate = nested;
            candidate[dash] = '/';
            if (std::filesystem::is_regular_file(folder / candidate, ec))
                return folder / candidate;
        }
    }
    return {};
}

std::string FileAssociations::FindAssociatedProgram(const std::filesystem::path& file) {
    const auto entry = DefaultDesktopEntry(MimeTypeOf(file));
    if (entry.empty())
        return {};
    std::ifstream in(entry);
    std::string line;
    bool inMain = false;
    while (std::getline(in, line)) {
        line = trim(line);
        if (!line.empty() && line.front() == '[') {
            inMain = line == "[Desktop Entry]";
            continue;
        }
        if (inMain && line.rfind("Exec=", 0) == 0) {
            const std::string program = execProgram(line.substr(5));
            if (program.find('/') != std::string::npos)
                return program;
            const auto found = ProcessStarter::FindOnPath(program);
            return found ? found->string() : program;
        }
    }
    return {};
}

int FileAssociations::OpenWithShell(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return 2;
    if (FindAssociatedProgram(file).empty())
        return kNoAssociation;
    const auto opener = ProcessStarter::FindOnPath("xdg-open");
    if (!opener)
        return kNoAssociation;
    return ProcessStarter::StartDetached(*opener, {file.string()}) ? kOpened : kNoAssociation;
}

} // namespace qv::platform
