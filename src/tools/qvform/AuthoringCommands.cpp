#include "tools/qvform/AuthoringCommands.h"

#include "formengine/CTextDoc.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CommandLine.h"
#include "tools/qvform/CsvReader.h"
#include "tools/qvform/FormSession.h"
#include "tools/qvform/MergeJobs.h"
#include "tools/qvform/MergeProgress.h"
#include "tools/qvform/TemplateChecker.h"
#include "tools/qvform/TemplateCompiler.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>

namespace qv::tools {
namespace {

constexpr std::uintmax_t kMaxSource = 4u << 20;
constexpr std::uintmax_t kMaxCsv = 256u << 20;

void printJson(std::ostream& out, const nlohmann::json& j) {
    out << j.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
}

std::string readFile(const std::string& path, std::uintmax_t limit, const char* what) {
    std::string bytes;
    if (auto ec = platform::AtomicFile::read(path, bytes, limit))
        throw RefusedFile("cannot read the " + std::string(what) + " " + path + ": " + ec.message());
    return bytes;
}

} // namespace

int AuthoringCommands::compile(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {});
    if (cl.positional().size() != 2)
        throw UsageError("compile takes SOURCE.qvt and OUT.qvf");
    const std::string& source = cl.positional()[0];
    const auto result = TemplateCompiler::Compile(readFile(source, kMaxSource, "template source"));
    if (!result.problems.empty()) {
        nlohmann::json problems = nlohmann::json::array();
        for (const auto& p : result.problems)
            problems.push_back({{"line", p.line}, {"column", p.column}, {"message", p.message}});
        printJson(out, {{"source", source}, {"problems", problems}});
        return 1;
    }
    const std::string& target = cl.positional()[1];
    if (auto ec = platform::AtomicFile::write(target, result.bytes))
        throw RefusedFile("cannot write " + target + ": " + ec.message());
    printJson(out, {{"written", nlohmann::json::array({target})}});
    return 0;
}

int AuthoringCommands::check(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {});
    if (cl.positional().size() != 1)
        throw UsageError("check takes one TEMPLATE.qvf or SOURCE.qvt");
    const std::string& path = cl.positional()[0];
    // A source is compiled first and its problems told where they are in the source.
    std::string bytes = readFile(path, kMaxSource, "template");
    std::optional<TemplateCompiler::Result> compiled;
    if (std::filesystem::path(path).extension() == ".qvt") {
        compiled = TemplateCompiler::Compile(bytes);
        if (!compiled->problems.empty()) {
            nlohmann::json problems = nlohmann::json::array();
            for (const auto& p : compiled->problems)
                problems.push_back({{"line", p.line}, {"column", p.column}, {"message", p.message}});
            printJson(out, {{"source", path}, {"problems", problems}});
            return 1;
        }
        bytes = compiled->bytes;
    }
    const auto report = TemplateChecker::Check(bytes);
    nlohmann::json problems = nlohmann::json::array();
    for (const auto& p : report.problems) {
        const auto [line, column] =
            compiled ? TemplateCompiler::SourcePosition(compiled->origins, p.line, p.column)
                     : std::pair{p.line, p.column};
        problems.push_back(
            {{"line", line}, {"column", column}, {"message", CodePage::latin1ToUtf8(p.message)}});
    }
    printJson(out, {{"template", path},
                    {"variables", report.variables},
                    {"occurrences", report.occurrences},
                    {"equations", report.equations},
                    {"problems", problems}});
    return report.problems.empty() ? 0 : 1;
}

int AuthoringCommands::merge(const std::vector<std::string>& words, std::ostream& out,
                             const std::function<void()>& needPrinting) {
    CommandLine cl(words, {"out", "today", "cpl", "jobs"}, {"print-file", "rtf", "pdf", "worksheet"});
    if (cl.positional().size() != 2)
        throw UsageError("merge takes TEMPLATE.qvf and DATA.csv");
    const auto outDir = cl.value("out");
    if (!outDir)
        throw UsageError("merge needs --out DIR");
    MergeForm form;
    form.charsPerLine = cl.intValue("cpl", 65, 1, 1000);
    const int jobs = cl.intValue("jobs", MergeJobs::DefaultJobs(), 1, MergeJobs::kMaxJobs);
    for (const MergeOutput& o : {MergeOutput{"print-file", "qvp"}, MergeOutput{"rtf", "rtf"},
                                 MergeOutput{"worksheet", "qvw"}, MergeOutput{"pdf", "pdf"}})
        if (cl.flag(o.flag))
            form.outputs.push_back(o);
    if (form.outputs.empty())
        form.outputs.push_back({"print-file", "qvp"});

    std::optional<CivilDate> today;
    if (auto t = cl.value("today")) {
        CivilDate d;
        if (!CivilDate::parse(t->c_str(), d))
            throw UsageError("--today takes a date as YYYY-MM-DD, not '" + *t + "'");
        today = d;
    }
    FormSession session(today);
    const std::string& templatePath = cl.positional()[0];
    if (!session.open(templatePath) || session.isWorksheet())
        throw RefusedFile(session.isWorksheet() ? "merge takes a form template, not a worksheet" : "");
    // Rows are read one at a time: a large file takes the memory of its largest row only.
    const std::string data = readFile(cl.positional()[1], kMaxCsv, "data file");
    CsvReader rows(data);
    CsvReader::Record headerRecord;
    if (!rows.next(headerRecord) || !headerRecord.error.empty())
        throw RefusedFile("the data file " + cl.positional()[1] + " has no header row naming the variables");

    const CTextDoc& doc = session.doc();
    const ProgramState& s = session.state();
    // Each column's occurrences, found once.
    const auto& header = headerRecord.fields;
    form.columns.resize(header.size());
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string name = CodePage::fromUtf8(header[c]);
        for (int k = 0; k < s.occCount; ++k)
            if (s.varNames[s.occVars[k]] == name)
                form.columns[c].push_back(k);
        if (form.columns[c].empty())
            throw RefusedFile("column " + std::to_string(c + 1) + " of the header, \"" + header[c] +
                              "\", names no variable of the form");
        // Two columns for one name would leave it to the order which value a document gets.
        for (std::size_t d = 0; d < c; ++d)
            if (CodePage::fromUtf8(header[d]) == name)
                throw RefusedFile("column " + std::to_string(c + 1) + " of the header, \"" + header[c] +
                                  "\", repeats column " + std::to_string(d + 1));
        const bool worksItOut = std::all_of(form.columns[c].begin(), form.columns[c].end(), [&](int k) {
            return doc.IsCalculated(k) && !doc.IsInputCell(k);
        });
        if (worksItOut)
            std::cerr << "column " << c + 1 << " of the header, \"" << header[c]
                      << "\", names an amount the form works out; its values are not used\n";
    }
    std::error_code ec;
    // A merge that writes nothing leaves no empty folder it made itself.
    const bool madeOutDir = std::filesystem::create_directories(*outDir, ec);
    form.outDir = *outDir;
    form.stem = std::filesystem::path(templatePath).stem().string();
    form.state = s;
    form.runFlags = doc.runFlags;
    form.runValues = doc.runValues;
    form.locale = platform::UserLocale::current();
    form.page.charsPerLine = form.charsPerLine;
    form.page.margins = s.page.margins;
    form.page.orientation = s.page.orientation;

    // The progress line counts the rows first; only a terminal shows it.
    const bool showProgress = MergeProgress::StandardErrorIsTerminal();
    std::size_t total = 0;
    if (showProgress) {
        CsvReader counter(data);
        for (CsvReader::Record r; counter.next(r);)
            ++total;
        total = total > 0 ? total - 1 : 0;
    }
    MergeProgress progress(std::cerr, showProgress, total);
    const auto removeEmptyOutDir = [&] {
        std::error_code ignored;
        if (madeOutDir && std::filesystem::is_empty(*outDir, ignored))
            std::filesystem::remove(*outDir, ignored);
    };
    MergeReport report;
    try {
        report = MergeJobs::Run(form, rows, jobs, progress, std::cerr, needPrinting);
    } catch (...) {
        removeEmptyOutDir();
        throw;
    }
    if (report.written.empty())
        removeEmptyOutDir();

    nlohmann::json problems = nlohmann::json::array();
    for (const auto& [line, message] : report.problems)
        problems.push_back({{"line", line}, {"message", message}});
    printJson(out, {{"written", report.written}, {"problems", problems}});
    return problems.empty() ? 0 : 1;
}

} // namespace qv::tools
