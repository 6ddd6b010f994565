#include "entry/QvLegalApp.h"

#include "entry/ui/CMainFrame.h"
#include "entry/ui/HostRelay.h"
#include "formengine/CTextDoc.h"
#include "platform/ConfigPaths.h"
#include "platform/Drives.h"
#include "platform/IniProfile.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <chrono>
#include <filesystem>

namespace qv {

int QvLegalApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QVLegal"));
    QApplication::setOrganizationName(QStringLiteral("Q-V Davov Software"));

    ProgramState state;
    platform::IniProfile profile(platform::ConfigPaths::applicationSettings("QVLegal"));
    SystemClock clock;
    QtMessages messages;
    HostRelay host;
    state.startedEmpty = false;
    state.handOffPassed = false;

    // Started from a disc: work from the home folder instead of the read-only drive.
    std::error_code ec;
    if (platform::Drives::IsCdRom(std::filesystem::current_path(ec)))
        std::filesystem::current_path(platform::Drives::RootFolder(), ec);
    // File dialogs start in the user's documents folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        QDir::setCurrent(documents);

    state.variableSets.LoadVariableSets(profile);
    CTextDoc doc(state, {messages, profile, clock, host});
    doc.OnNewDocument();

    const auto start = std::chrono::steady_clock::now();
    CMainFrame frame(doc, messages, profile, [start] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     start);
    });
    host.setTarget(&frame);
    messages.setParent(&frame);
    frame.show();

    QStringList words = QApplication::arguments().mid(1);
    const QString argument = words.join(QLatin1Char(' '));
    if (argument.isEmpty())
        state.startedEmpty = true;
    else
        frame.OpenDocumentFile(argument);
    return QApplication::exec();
}

} // namespace qv
