#include "editor/QvEditApp.h"

#include "editor/ui/CMainFrame.h"
#include "platform/CaseBlindPath.h"
#include "platform/ConfigPaths.h"
#include "platform/Drives.h"
#include "platform/IniProfile.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <filesystem>

namespace qv::editor {

int QvEditApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QVEdit"));
    QApplication::setOrganizationName(QStringLiteral("Q-V Davov Software"));
    platform::IniProfile profile(platform::ConfigPaths::applicationSettings("QVEdit"));
    QtMessages messages(nullptr, CMainFrame::kTitle);

    // Started from a disc: work from the home folder; file dialogs start in Documents.
    std::error_code ec;
    if (platform::Drives::IsCdRom(std::filesystem::current_path(ec)))
        std::filesystem::current_path(platform::Drives::RootFolder(), ec);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        QDir::setCurrent(documents);

    CMainFrame frame(profile, messages);
    messages.setParent(&frame);
    // The whole command line is the path: a path with blanks needs no quotes.
    const QString path = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    frame.setStartedWithoutFile(path.isEmpty());
    if (!path.isEmpty())
        frame.OpenDocumentFile(
            QString::fromStdString(platform::CaseBlindPath::Resolve(path.toStdString()).string()));
    frame.show();
    return QApplication::exec();
}

} // namespace qv::editor
