// The answer review on a 500-occurrence form (100 names, each used five times): what one
// changed answer costs the table. Goal: under 5 ms from the change to the repainted rows.
#include "entry/ui/AnswerReviewDock.h"
#include "entry/ui/AnswerReviewModel.h"
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "entry/ui/ReviewController.h"
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"
#include "shared/ui/QtMessages.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

std::string fiveHundredOccurrences() {
    std::string t = "Form      Portrait\r\n";
    for (int v = 0; v < 100; ++v)
        t += ":V" + std::to_string(v) + "\r\nAnswer number " + std::to_string(v) + ".\r\n";
    t += "\x15\r\n";
    for (int k = 0; k < 500; ++k) {
        t += "The party named here as |V" + std::to_string(k % 100) + "| agrees to the terms";
        t += k % 5 == 4 ? ".\xAE" : "; ";
    }
    return t;
}

struct Fixture {
    Fixture() : profile("/nonexistent/qvbench/QVLegal.ini"), doc(state, {messages, profile, clock, host}) {
        doc.OnNewDocument();
        const auto path = std::filesystem::temp_directory_path() / "qvbench-review500.qvf";
        std::ofstream(path, std::ios::binary) << fiveHundredOccurrences();
        frame = std::make_unique<qv::CMainFrame>(doc, messages, profile,
                                                 [] { return std::chrono::milliseconds(0); });
        frame->OpenDocumentFile(QString::fromStdString(path.string()));
        frame->resize(1200, 900);
        frame->show();
        frame->action(qv::CMainFrame::ReviewAnswers)->trigger();
        QApplication::processEvents();
    }
    qv::ProgramState state;
    qv::platform::IniProfile profile;
    qv::SystemClock clock;
    qv::QtMessages messages;
    qv::DocumentHost host;
    qv::CTextDoc doc;
    std::unique_ptr<qv::CMainFrame> frame;
};

// A keystroke in the value field with the review open: the answer is stored, its row is
// read again and the table paints it.
void BM_ReviewRowAfterTyping(benchmark::State& s) {
    Fixture f;
    QLineEdit* field = f.frame->interviewBar()->valueField();
    int n = 0;
    for (auto _ : s) {
        field->setText(QStringLiteral("Jane Roe %1").arg(n++ % 10));
        f.frame->UpdatePass();
        QApplication::processEvents(); // paints what changed: the row's cells
    }
    s.counters["rows"] = double(f.frame->review().model().rowCount());
}
BENCHMARK(BM_ReviewRowAfterTyping)->Unit(benchmark::kMicrosecond);

// An answer edited in the table's own cell, without the form's layout pass.
void BM_ReviewAllRowsAfterOneChange(benchmark::State& s) {
    Fixture f;
    int n = 0;
    for (auto _ : s) {
        f.doc.StoreAnswer(250, "Answer " + std::to_string(n++ % 10));
        f.frame->review().model().refreshAll(); // every row compared, one reported
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ReviewAllRowsAfterOneChange)->Unit(benchmark::kMicrosecond);

// For scale: reading all 500 rows anew, as after a load, and painting the whole table.
void BM_ReviewFullRepaint(benchmark::State& s) {
    Fixture f;
    QTableView* table = f.frame->review().dock()->table();
    for (auto _ : s)
        table->viewport()->repaint();
}
BENCHMARK(BM_ReviewFullRepaint)->Unit(benchmark::kMicrosecond);

void BM_ReviewRebuild(benchmark::State& s) {
    Fixture f;
    for (auto _ : s)
        f.frame->review().model().reset();
}
BENCHMARK(BM_ReviewRebuild)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
