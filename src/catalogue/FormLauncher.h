#pragma once

#include <string>

namespace qv::catalogue {

/// How the catalogue hands a form or a saved document to the other programs: the
/// command line it starts and the relaunch command it leaves in the handoff entry, so
/// that closing that program brings the catalogue back.
class FormLauncher {
public:
    /// `programFolder` ends with "/".
    explicit FormLauncher(std::string programFolder) : folder_(std::move(programFolder)) {}

    /// program folder + "QVLegal.Exe " + program folder + "Tolvad/" + code + ".qvf?" + title.
    std::string FormCommandLine(const std::string& item) const;
    /// Starts the variable-entry program on a catalogue form, then leaves
    /// "Tolvad.exe /New" to bring the catalogue back without its start screen.
    void OpenForm(const std::string& item) const;
    /// A worksheet (".qvw") or print file (".qvp"), the ending compared without regard to
    /// case: leaves "Tolvad.exe", then starts the program for it. False for anything else.
    bool OpenSavedDocument(const std::string& path) const;

    const std::string& programFolder() const { return folder_; }

private:
    std::string folder_;
};

} // namespace qv::catalogue
