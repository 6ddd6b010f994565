#include "setup/ui/QtSetupUi.h"

#include "platform/ProcessStarter.h"
#include "setup/ui/SetupDialogs.h"
#include "setup/ui/SetupWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace qv::setup {

QtSetupUi::QtSetupUi() : window_(std::make_unique<SetupWindow>()) {
    window_->show();
}

QtSetupUi::~QtSetupUi() = default;

bool QtSetupUi::AskFolder(std::string& folder) {
    ChangeFolderDialog dialog(QString::fromStdString(folder), window_.get());
    int result;
    if (modalHook_) {
        modalHook_(dialog);
        result = dialog.result();
    } else {
        result = dialog.exec();
    }
    folder = dialog.folderEdit()->text().toStdString();
    return result == QDialog::Accepted;
}

void QtSetupUi::ShowProgress() {
    progress_ = std::make_unique<DecompressDialog>(window_.get());
    progress_->description()->setText(QString::fromStdString(description_));
    progress_->show();
    progress_->repaint();
    refresh();
}

void QtSetupUi::SetDescription(const std::string& text) {
    description_ = text;
    if (progress_) {
        progress_->description()->setText(QString::fromStdString(text));
        refresh();
    }
}

void QtSetupUi::SetRange(int minimum, int maximum) {
    if (progress_) {
        progress_->progress()->setRange(minimum, maximum);
        progress_->progress()->setValue(minimum);
        refresh();
    }
}

void QtSetupUi::Advance(int delta) {
    if (progress_) {
        progress_->progress()->setValue(progress_->progress()->value() + delta);
        refresh();
    }
}

void QtSetupUi::CloseProgress() {
    progress_.reset();
}

void QtSetupUi::ToForeground() {
    window_->raise();
    window_->activateWindow();
}

void QtSetupUi::LogOff() {
    // The desktop session's own log-out request, where there is one.
    for (const auto& [program, arguments] :
         std::initializer_list<std::pair<const char*, std::vector<std::string>>>{
             {"gnome-session-quit", {"--logout"}},
             {"xfce4-session-logout", {"--logout"}},
             {"lxqt-leave", {"--logout"}}})
        if (const auto found = platform::ProcessStarter::FindOnPath(program)) {
            platform::ProcessStarter::StartDetached(*found, arguments);
            return;
        }
}

void QtSetupUi::refresh() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace qv::setup
