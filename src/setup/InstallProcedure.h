#pragma once

#include "setup/InstallRecord.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qv {
class UserMessages;
}

namespace qv::setup {

class SetupUi;

/// The install: the start-up guard, the shared-library check, the destination folder,
/// the eight expansions, the forms archive, the program group, the registry entries and
/// the desktop's file types. Also the way into the uninstall ("/U").
class InstallProcedure {
public:
    static constexpr const char* kCaption = "Q-V Davov Software Setup";
    static constexpr const char* kTitle = "Tolvad Organizer";
    static constexpr const char* kStem = "TOLVAD";
    static constexpr int kProgressMaximum = 864;

    struct Row {
        std::string source;      // the compressed name on the disk
        std::string destination; // the installed name
        std::string description;
        int weight;
    };

    struct Environment {
        std::filesystem::path systemFolder;   // where the shared libraries are looked for
        std::filesystem::path rootFolder;     // stands for "C:\" (the home folder)
        bool longNames = true;                // the disk's volume takes 255-character names
        std::string programTitle = "QVSETUP"; // caption of messages without one
    };

    InstallProcedure(std::string commandLine, UserMessages& messages, SetupUi& ui, Environment environment);

    /// Runs to the end; the exit status of the program (0 even when the user cancelled).
    int Run();

    static std::vector<Row> FileTable();
    std::string DefaultFolder() const;
    /// The four derived strings: uninstaller item path, UninstallString, editor and
    /// entry-program open commands.
    static std::vector<std::string> CommandStrings(const std::string& folder, bool longNames);
    static std::vector<std::string> GroupRequests(const std::string& folder, bool longNames);
    static std::string ForbiddenSymbolsMessage();
    /// The typed folder with a leading "~" standing for the home folder.
    static std::string ExpandHome(const std::string& folder, const std::filesystem::path& home);

private:
    bool sharedLibraries();
    bool chooseFolder(std::string& folder);
    bool copyFiles(const std::string& folder);
    bool extractForms(const std::string& folder);
    void registerEverything(const std::string& folder);
    void message(const std::string& text, int icon = 0, const std::string& caption = {});

    std::string commandLine_;
    UserMessages& messages_;
    SetupUi& ui_;
    Environment env_;
    InstallRecord record_;
};

} // namespace qv::setup
