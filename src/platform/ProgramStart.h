#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

/// Starting a program from a plain command line, as the suite's programs start each
/// other and the desktop's utilities.
class ProgramStart {
public:
    static constexpr int kShowNormal = 1;
    static constexpr int kShow = 5;
    /// Codes of a failed start; any code above 31 means the program is running.
    static constexpr int kOutOfResources = 0;
    static constexpr int kFileNotFound = 2;
    static constexpr int kBadFormat = 11;
    static constexpr int kStarted = 33;

    /// The program and the argument words a command line stands for.
    struct Resolved {
        std::filesystem::path program;
        std::vector<std::string> arguments;
    };

    /// The first word names the program: the shortest leading part of the line, cut at a
    /// blank, that names an existing program (so a path with blanks needs no quotes). A
    /// name without "/" is looked for beside the running program, then on $PATH. Where
    /// the exact name is missing, names match without regard to case, and a name ending
    /// ".exe" also finds the file without that ending. "Calc" stands for the desktop's
    /// calculator, "CONTROL" for its region settings. The rest of the line, when not
    /// empty, is one single argument.
    static std::optional<Resolved> Resolve(const std::string& commandLine);

    /// Starts the command line without a shell; a code of 31 or less when it fails.
    /// `show` (1 normal, 5 shown) is left to the desktop's window manager.
    static int StartCommandLine(const std::string& commandLine, int show);

    /// The folder of the running program (where its companions and data files lie).
    static std::filesystem::path ProgramFolder();
};

} // namespace qv::platform
