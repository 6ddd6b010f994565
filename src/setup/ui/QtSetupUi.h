#pragma once

#include "setup/SetupUi.h"

#include <functional>
#include <memory>

class QDialog;

namespace qv::setup {

class DecompressDialog;
class SetupWindow;

/// The install's windows: the setup window for the whole run, Change Folder and the
/// Decompressing Files progress.
class QtSetupUi : public SetupUi {
public:
    QtSetupUi();
    ~QtSetupUi() override;

    bool AskFolder(std::string& folder) override;
    void ShowProgress() override;
    void SetDescription(const std::string& text) override;
    void SetRange(int minimum, int maximum) override;
    void Advance(int delta) override;
    void CloseProgress() override;
    void ToForeground() override;
    void LogOff() override;

    SetupWindow* window() const { return window_.get(); }
    DecompressDialog* progress() const { return progress_.get(); }
    /// Runs instead of the Change Folder dialog's exec().
    void setModalHook(std::function<void(QDialog&)> hook) { modalHook_ = std::move(hook); }

private:
    void refresh();

    std::unique_ptr<SetupWindow> window_;
    std::unique_ptr<DecompressDialog> progress_;
    std::string description_;
    std::function<void(QDialog&)> modalHook_;
};

} // namespace qv::setup
