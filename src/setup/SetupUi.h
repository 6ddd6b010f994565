#pragma once

#include <string>

namespace qv::setup {

/// What the install and uninstall need from their windows besides message boxes: the
/// Change Folder dialog, the Decompressing Files dialog with its progress bar, and the
/// setup window's end.
class SetupUi {
public:
    virtual ~SetupUi() = default;

    /// Change Folder: false when cancelled; `folder` holds the text shown and typed.
    virtual bool AskFolder(std::string& folder) = 0;
    virtual void ShowProgress() = 0;
    virtual void SetDescription(const std::string& text) = 0;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void Advance(int delta) = 0;
    virtual void CloseProgress() = 0;
    /// Brings the setup window to the front (before the uninstall's second question).
    virtual void ToForeground() {}
    /// Asks the desktop session to log out, where it offers that.
    virtual void LogOff() {}
};

} // namespace qv::setup
