#pragma once

#include "view/PrintFileWriter.h"

#include <filesystem>
#include <functional>
#include <string>

namespace qv {

class CTextDoc;
class UserMessages;
namespace platform {
class Profile;
}

/// What Done does: offers to save the worksheet (naming it after the print file when
/// it has no name: the dual save), writes the print file for the chosen editor and
/// opens it there, in the suite's print file editor (then the program closes) or in
/// the user's word processor.
class PrintFileWorkflow {
public:
    static constexpr const char* kSection = "Q-V Davov Forms Defaults";
    static constexpr const char* kFirstTimeSaveAs = "First Time Save As";
    static constexpr const char* kUseExternal = "Use External";

    /// The windows the flow needs, supplied by the program (and by tests).
    struct Hooks {
        /// The First-Time Help box: 1 when "Never show this box again" was ticked, else 2.
        std::function<int()> firstTimeHelp;
        /// The Save As dialog for the print file: the chosen path, or "" when cancelled.
        std::function<std::string(const std::string& extension, const std::string& filter)> askPrintFilePath;
        /// The program's Close command.
        std::function<void()> closeProgram;
        /// The page the editor's print file is laid out for.
        std::function<PrintFilePage()> page;
        /// Where QVEdit.EXE lies: the running program's folder.
        std::filesystem::path programFolder;
    };

    /// The print file kind for a "Use External" value.
    struct Kind {
        std::string extension;
        std::string filterName;
        bool external;
    };
    static Kind KindOf(int useExternal);

    PrintFileWorkflow(CTextDoc& doc, platform::Profile& profile, UserMessages& messages, Hooks hooks);

    /// The whole flow. True when a print file was written.
    bool OnDone();

private:
    void open(const std::string& printFile, const Kind& kind);

    CTextDoc& doc_;
    platform::Profile& profile_;
    UserMessages& messages_;
    Hooks hooks_;
};

} // namespace qv
