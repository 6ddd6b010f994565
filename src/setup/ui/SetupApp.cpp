#include "setup/ui/SetupApp.h"

#include "platform/ConfigPaths.h"
#include "platform/Drives.h"
#include "setup/InstallProcedure.h"
#include "setup/ui/QtSetupUi.h"
#include "setup/ui/SetupPictures.h"
#include "setup/ui/SetupWindow.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QFileInfo>

namespace qv::setup {
namespace {

/// No windows yet: the start-up guard's message box stands alone.
class NoWindows : public SetupUi {
public:
    bool AskFolder(std::string&) override { return false; }
    void ShowProgress() override {}
    void SetDescription(const std::string&) override {}
    void SetRange(int, int) override {}
    void Advance(int) override {}
    void CloseProgress() override {}
};

} // namespace

int SetupApp::run(int argc, char** argv, const std::string& commandLine) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(SetupPictures::WindowIcon()); // the dialogs' and message boxes' too
    const std::string line = commandLine.empty()
                                 ? QApplication::arguments().mid(1).join(QLatin1Char(' ')).toStdString()
                                 : commandLine;
    QtMessages messages;
    InstallProcedure::Environment env;
    env.systemFolder = platform::ConfigPaths::systemFolder();
    env.rootFolder = platform::ConfigPaths::homeFolder();
    // Long names: the disk's own volume takes names of 255 characters (not wherever the
    // launcher happened to be started from).
    env.longNames = platform::Drives::AllowsLongNames(line);
    env.programTitle = QFileInfo(QApplication::applicationFilePath()).completeBaseName().toStdString();
    if (line.empty() || line.back() != '/') {
        // The guard comes before any window.
        NoWindows none;
        return InstallProcedure(line, messages, none, env).Run();
    }
    QtSetupUi ui;
    messages.setParent(ui.window());
    return InstallProcedure(line, messages, ui, env).Run();
}

} // namespace qv::setup
