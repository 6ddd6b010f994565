// Pictures of the variable-entry window for looking at the design: loads a form, types
// the given answers one occurrence after another, lets the form redraw and saves the
// window as a PNG. Run on the offscreen platform; QT_SCALE_FACTOR=2 shows 200 %.
//
//   qv_screenshot OUT.png FORM[?TITLE] [ANSWER...]
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: qv_screenshot OUT.png FORM[?TITLE] [ANSWER...]\n", stderr);
        return 2;
    }
    qv::ProgramState state;
    qv::platform::IniProfile profile("/nonexistent/qvscreenshot/QVLegal.ini");
    qv::SystemClock clock;
    qv::QtMessages messages;
    qv::DocumentHost host;
    qv::CTextDoc doc(state, {messages, profile, clock, host});
    doc.OnNewDocument();
    // Time runs fast here, so that every answer is drawn.
    std::chrono::milliseconds now{0};
    qv::CMainFrame frame(doc, messages, profile, [&now] { return now; });
    frame.show();
    if (!frame.OpenDocumentFile(args[2]))
        return 1;
    for (int i = 3; i < args.size(); ++i) {
        QLineEdit* field = frame.interviewBar()->valueField();
        field->selectAll();
        QTest::keyClicks(field, args[i]);
        frame.UpdatePass();
        if (i + 1 < args.size())
            frame.interview().Next();
        frame.UpdatePass();
    }
    now += std::chrono::seconds(10);
    frame.UpdatePass();
    QTest::qWait(50);
    return frame.grab().save(args[1]) ? 0 : 1;
}
