#include "catalogue/ui/CatalogueApp.h"

#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/ui/CatalogueWindow.h"
#include "catalogue/ui/StartScreen.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QFileInfo>

namespace qv::catalogue {

bool CatalogueApp::SkipsStartScreen(const QString& commandLine) {
    return commandLine == QStringLiteral("/New");
}

int CatalogueApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvad Organizer"));
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string folder = (QApplication::applicationDirPath() + QLatin1Char('/')).toStdString();
    const std::string title = QFileInfo(QApplication::applicationFilePath()).completeBaseName().toStdString();
    FormLauncher launcher(folder);
    QtMessages messages(nullptr, title);
    WindowHooks hooks;

    // The whole command line, its words joined by blanks; only "/New" exactly skips the
    // start screen.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    if (!SkipsStartScreen(commandLine)) {
        StartScreen start(launcher, hooks);
        if (start.exec() != QDialog::Accepted)
            return 0;
    }
    CatalogueData data;
    std::string message;
    if (!data.Load(folder, message)) {
        messages.show(message, MessageIcon::Stop, MessageButtons::Ok, title);
        return 0;
    }
    CatalogueWindow window(data, launcher, messages, hooks);
    messages.setParent(&window);
    window.exec();
    return 0;
}

} // namespace qv::catalogue
