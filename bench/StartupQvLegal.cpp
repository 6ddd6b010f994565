// Start to first painted frame of the variable-entry program with a 20-page form loaded,
// then quit. Timed as a whole process by bench/startup.sh.
#include "entry/ui/CMainFrame.h"
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"
#include "view/ui/CTextView.h"
#include "shared/ui/QtMessages.h"

#include "QuitOnFirstPaint.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <chrono>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qv::ProgramState state;
    qv::platform::IniProfile profile("/nonexistent/qvbench/QVLegal.ini");
    qv::SystemClock clock;
    qv::QtMessages messages;
    qv::DocumentHost host;
    qv::CTextDoc doc(state, {messages, profile, clock, host});
    doc.OnNewDocument();
    qv::CMainFrame frame(doc, messages, profile, [] { return std::chrono::milliseconds(0); });
    if (argc > 1)
        frame.OpenDocumentFile(QString::fromLocal8Bit(argv[1]));
    QuitOnFirstPaint quit;
    frame.view()->viewport()->installEventFilter(&quit);
    frame.show();
    return QApplication::exec();
}
