// A picture of the print file editor with a print file open, on the offscreen platform:
// qv_editor_screenshot OUT.png FILE.qvp
#include "editor/ui/CMainFrame.h"
#include "platform/IniProfile.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: qv_editor_screenshot OUT.png FILE.qvp\n", stderr);
        return 2;
    }
    qv::platform::IniProfile profile("/nonexistent/qvscreenshot/QVEdit.ini");
    qv::QtMessages messages;
    qv::editor::CMainFrame frame(profile, messages);
    frame.show();
    if (!frame.OpenDocumentFile(QString::fromLocal8Bit(argv[2])))
        return 1;
    QTest::qWait(50);
    return frame.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
