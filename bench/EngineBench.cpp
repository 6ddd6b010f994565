// Speed of the form engine on a large form: a 60000-byte body with hundreds of
// variables and occurrences. Goals on a 2-core machine: template load under 0.2 ms,
// worksheet write + read under 1 ms.
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

class Quiet : public qv::UserMessages {
public:
    qv::MessageReply show(const std::string&, qv::MessageIcon, qv::MessageButtons,
                          const std::string&) override {
        return qv::MessageReply::Ok;
    }
};

std::string largeTemplate() {
    std::string t = "Form      Portrait\r\nA large generated form\r\n";
    const int vars = 300;
    for (int v = 0; v < vars; ++v)
        t += ":VAR" + std::to_string(v) + "\r\nEnter the value of variable " + std::to_string(v) + ".\r\n";
    t += ":NAME\r\nYour name.\r\n:DATE\r\nToday.\r\n\x15\r\n";
    std::mt19937 rng(7);
    static const char* words[] = {"the",    "party",  "of", "first", "part",
                                  "agrees", "hereby", "to", "pay",   "sum"};
    std::string body;
    int n = 0;
    while (body.size() < 59900) {
        switch (rng() % 12) {
        case 0:
            body += "|VAR" + std::to_string(rng() % vars) + "| ";
            break;
        case 1:
            body += "\xB5|NAME|\xB5 ";
            break;
        case 2:
            body += "\xF1"
                    "DA" +
                    std::string(1, char('A' + n++ % 26)) + "0010|VAR" + std::to_string(rng() % vars) + "| ";
            break;
        case 3:
            body += "\xAE";
            break;
        default:
            body += std::string(words[rng() % 10]) + " ";
        }
    }
    body += "|DATE|\xAE";
    return t + body;
}

struct Engine {
    Engine()
        : dir(std::filesystem::temp_directory_path() / "qvbench"), profile(dir / "QVLegal.ini"),
          doc(state, {messages, profile, clock, host}) {
        std::filesystem::create_directories(dir);
        templatePath = (dir / "large.qvf").string();
        std::ofstream(templatePath, std::ios::binary) << largeTemplate();
    }
    std::filesystem::path dir;
    qv::ProgramState state;
    qv::platform::IniProfile profile;
    qv::FixedClock clock{{1997, 4, 2}};
    Quiet messages;
    qv::DocumentHost host;
    qv::CTextDoc doc;
    std::string templatePath;
};

void BM_LoadTemplateFile(benchmark::State& s) {
    Engine e;
    for (auto _ : s)
        benchmark::DoNotOptimize(e.doc.OnOpenDocument(e.templatePath));
    s.counters["runs"] = double(e.state.runTexts.size());
    s.counters["occurrences"] = e.state.occCount;
}
BENCHMARK(BM_LoadTemplateFile)->Unit(benchmark::kMicrosecond);

void BM_LoadTemplateMemory(benchmark::State& s) {
    Engine e;
    const std::string bytes = largeTemplate();
    for (auto _ : s) {
        std::istringstream in(bytes);
        benchmark::DoNotOptimize(e.doc.OpenTemplate(in));
    }
}
BENCHMARK(BM_LoadTemplateMemory)->Unit(benchmark::kMicrosecond);

void BM_WorksheetEncodeDecode(benchmark::State& s) {
    Engine e;
    e.doc.OnOpenDocument(e.templatePath);
    for (auto _ : s) {
        std::string bytes = e.doc.worksheetBytes();
        benchmark::DoNotOptimize(e.doc.LoadWorksheet(bytes));
    }
}
BENCHMARK(BM_WorksheetEncodeDecode)->Unit(benchmark::kMicrosecond);

// The whole save and open, including the flush to disk that makes a save safe.
void BM_WorksheetFileRoundTrip(benchmark::State& s) {
    Engine e;
    e.doc.OnOpenDocument(e.templatePath);
    const std::string path = (e.dir / "large.qvw").string();
    for (auto _ : s) {
        benchmark::DoNotOptimize(e.doc.WriteWorksheet(path));
        benchmark::DoNotOptimize(e.doc.ReadWorksheet(path));
    }
    s.counters["bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_WorksheetFileRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/PrintFileWriter.h"

namespace {

// A form of about 20 printed pages: 45 double-spaced lines a page, 65 characters a line.
std::string twentyPageTemplate() {
    std::string t =
        "Form      Portrait\r\n:NAME\r\nName.\r\n:AMOUNT\r\nAmount.\r\n:TOTAL\r\nTotal.\r\n\x15\r\n";
    std::mt19937 rng(11);
    static const char* words[] = {"whereas", "the",    "lessee",  "shall", "pay",
                                  "unto",    "lessor", "monthly", "rent",  "of"};
    std::string body;
    for (int paragraph = 0; paragraph < 120; ++paragraph) {
        for (int w = 0; w < 30; ++w) {
            body += words[rng() % 10];
            body += ' ';
        }
        body += "\xB5|NAME|\xB5 agrees to \xF1"
                "DA" +
                std::string(1, char('A' + paragraph % 26)) +
                "0110|AMOUNT| and \xF1"
                "T0110[##]|TOTAL|.\xAE";
    }
    return t + body;
}

struct LaidOutForm : Engine {
    LaidOutForm() {
        std::istringstream in(twentyPageTemplate());
        doc.OpenTemplate(in);
        for (int k = 0; k < state.occCount; k += 3)
            doc.StoreAnswer(k, "Jane Roe and Partners");
        numeric = std::make_unique<qv::NumericFields>(doc, qv::LocaleFormat{});
        qv::FormLayout::Layout(doc, *numeric, 65);
    }
    std::unique_ptr<qv::NumericFields> numeric;
};

void BM_LayoutPass20Pages(benchmark::State& s) {
    LaidOutForm f;
    for (auto _ : s)
        benchmark::DoNotOptimize(qv::FormLayout::Layout(f.doc, *f.numeric, 65));
    s.counters["lines"] = double(f.doc.formLines.size());
    s.counters["pages"] = double(f.doc.formLines.size()) / 45.0;
}
BENCHMARK(BM_LayoutPass20Pages)->Unit(benchmark::kMicrosecond);

void BM_EditorRtf20Pages(benchmark::State& s) {
    LaidOutForm f;
    for (auto _ : s)
        benchmark::DoNotOptimize(qv::PrintFileWriter::EditorRtf(f.doc, qv::PrintFilePage{}));
}
BENCHMARK(BM_EditorRtf20Pages)->Unit(benchmark::kMicrosecond);

void BM_WordProcessorRtf20Pages(benchmark::State& s) {
    LaidOutForm f;
    for (auto _ : s)
        benchmark::DoNotOptimize(qv::PrintFileWriter::WordProcessorRtf(f.doc));
}
BENCHMARK(BM_WordProcessorRtf20Pages)->Unit(benchmark::kMicrosecond);

} // namespace
