#include "platform/ProgramStart.h"

#include "platform/CaseBlindPath.h"
#include "platform/ProcessStarter.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace qv::platform {
namespace {

bool endsWithExe(const std::string& name) {
    return name.size() > 4 && CaseBlindPath::SameName(name.substr(name.size() - 4), ".exe");
}

/// `name` inside `folder` (both found without regard to case, the exact name first),
/// else, for "x.exe", the program "x".
std::optional<std::filesystem::path> findInFolder(const std::filesystem::path& folder,
                                                  const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    const std::filesystem::path where = CaseBlindPath::Resolve(folder);
    std::vector<std::string> wanted{name};
    if (endsWithExe(name))
        wanted.push_back(name.substr(0, name.size() - 4));
    for (const auto& w : wanted)
        for (const auto& candidate : CaseBlindPath::Matches(where, w))
            if (ProcessStarter::IsExecutableFile(candidate))
                return candidate;
    return std::nullopt;
}

std::vector<std::filesystem::path> searchFolders() {
    std::vector<std::filesystem::path> folders{ProgramStart::ProgramFolder()};
    for (auto& folder : ProcessStarter::PathFolders())
        if (folder != ".") // never the current folder for a bare name
            folders.push_back(std::move(folder));
    return folders;
}

std::optional<std::filesystem::path> findProgram(const std::string& word) {
    if (word.empty())
        return std::nullopt;
    if (word.find('/') != std::string::npos) {
        const std::filesystem::path p(word);
        const std::filesystem::path folder =
            p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
        return findInFolder(folder, p.filename().string());
    }
    for (const auto& folder : searchFolders())
        if (auto found = findInFolder(folder, word))
            return found;
    return std::nullopt;
}

/// The desktop's own programs standing in for the Windows utilities.
std::optional<ProgramStart::Resolved> standIn(const std::string& word) {
    const std::string name = endsWithExe(word) ? word.substr(0, word.size() - 4) : word;
    struct Candidate {
        const char* program;
        std::vector<std::string> arguments;
    };
    std::vector<Candidate> candidates;
    if (CaseBlindPath::SameName(name, "calc"))
        candidates = {{"gnome-calculator", {}}, {"kcalc", {}},     {"galculator", {}},
                      {"qalculate-gtk", {}},    {"mate-calc", {}}, {"xcalc", {}}};
    else if (CaseBlindPath::SameName(name, "control"))
        candidates = {{"gnome-control-center", {"region"}},
                      {"systemsettings", {"kcm_regionandlang"}},
                      {"kcmshell5", {"kcm_formats"}},
                      {"cinnamon-settings", {"region"}},
                      {"mate-time-admin", {}}};
    else
        return std::nullopt;
    for (const auto& c : candidates)
        if (auto p = ProcessStarter::FindOnPath(c.program))
            return ProgramStart::Resolved{*p, c.arguments};
    return ProgramStart::Resolved{}; // a known name, but nothing on this desktop
}

} // namespace

std::filesystem::path ProgramStart::ProgramFolder() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
}

std::optional<ProgramStart::Resolved> ProgramStart::Resolve(const std::string& commandLine) {
    // Every cut at a blank, shortest first, then the whole line.
    for (std::size_t cut = 0; cut <= commandLine.size(); ++cut) {
        if (cut < commandLine.size() && commandLine[cut] != ' ')
            continue;
        const std::string word = commandLine.substr(0, cut);
        if (word.empty())
            continue;
        const std::string rest = cut < commandLine.size() ? commandLine.substr(cut + 1) : std::string();
        if (word.find('/') == std::string::npos) {
            if (auto standin = standIn(word)) {
                if (standin->program.empty())
                    return std::nullopt;
                return standin;
            }
        }
        if (auto program = findProgram(word)) {
            Resolved r{*program, {}};
            if (!rest.empty())
                r.arguments.push_back(rest);
            return r;
        }
    }
    return std::nullopt;
}

int ProgramStart::StartCommandLine(const std::string& commandLine, int /*show*/) {
    const auto resolved = Resolve(commandLine);
    if (!resolved)
        return kFileNotFound;
    return ProcessStarter::StartDetached(resolved->program, resolved->arguments) ? kStarted : kBadFormat;
}

} // namespace qv::platform
