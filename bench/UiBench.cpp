// UI costs on a 20-page form: one keystroke in the value field (store + update pass),
// and a layout pass with a full repaint. Goals: under 1 ms and under 16 ms.
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"
#include "view/ui/CTextView.h"
#include "shared/ui/QtMessages.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

std::string twentyPages() {
    std::string t = "Form      Portrait\r\n:NAME\r\nName.\r\n:AMOUNT\r\nAmount.\r\n\x15\r\n";
    std::mt19937 rng(3);
    static const char* words[] = {"whereas", "the",    "lessee",  "shall", "pay",
                                  "unto",    "lessor", "monthly", "rent",  "of"};
    for (int p = 0; p < 120; ++p) {
        for (int w = 0; w < 30; ++w)
            t += std::string(words[rng() % 10]) + " ";
        t += "\xB5|NAME|\xB5 pays \xF1"
             "DA" +
             std::string(1, char('A' + p % 26)) + "0110|AMOUNT|.\xAE";
    }
    return t;
}

struct Fixture {
    Fixture() : profile("/nonexistent/qvbench/QVLegal.ini"), doc(state, {messages, profile, clock, host}) {
        doc.OnNewDocument();
        const auto path = std::filesystem::temp_directory_path() / "qvbench-20pages.qvf";
        std::ofstream(path, std::ios::binary) << twentyPages();
        frame = std::make_unique<qv::CMainFrame>(doc, messages, profile,
                                                 [] { return std::chrono::milliseconds(0); });
        frame->OpenDocumentFile(QString::fromStdString(path.string()));
        frame->show();
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

void BM_KeystrokeInValueField(benchmark::State& s) {
    Fixture f;
    QLineEdit* field = f.frame->interviewBar()->valueField();
    int n = 0;
    for (auto _ : s) {
        field->setText(QStringLiteral("Jane Roe %1").arg(n++ % 10));
        f.frame->UpdatePass();
    }
}
BENCHMARK(BM_KeystrokeInValueField)->Unit(benchmark::kMicrosecond);

void BM_LayoutAndFullRepaint(benchmark::State& s) {
    Fixture f;
    f.frame->resize(1000, 1400);
    for (auto _ : s) {
        f.frame->view()->OnUpdate();
        f.frame->view()->viewport()->repaint();
    }
    s.counters["lines"] = double(f.doc.formLines.size());
}
BENCHMARK(BM_LayoutAndFullRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
