#include "tools/qvform/AuthoringCommands.h"

#include "formengine/CTextDoc.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CommandLine.h"
#include "tools/qvform/CsvReader.h"
#include "tools/qvform/FormSession.h"
#include "tools/qvform/TemplateChecker.h"
#include "tools/qvform/TemplateCompiler.h"
#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/PrintFileWriter.h"
#include "view/ui/FormPrinter.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
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
        throw UsageError("check takes one TEMPLATE.qvf");
    const std::string& path = cl.positional()[0];
    const auto report = TemplateChecker::Check(readFile(path, kMaxSource, "template"));
    nlohmann::json problems = nlohmann::json::array();
    for (const auto& p : report.problems)
        problems.push_back(
            {{"line", p.line}, {"column", p.column}, {"message", CodePage::latin1ToUtf8(p.message)}});
    printJson(out, {{"template", path},
                    {"variables", report.variables},
                    {"occurrences", report.occurrences},
                    {"equations", report.equations},
                    {"problems", problems}});
    return report.problems.empty() ? 0 : 1;
}

int AuthoringCommands::merge(const std::vector<std::string>& words, std::ostream& out,
                             const std::function<void()>& needPrinting) {
    CommandLine cl(words, {"out", "today", "cpl"}, {"print-file", "rtf", "pdf", "worksheet"});
    if (cl.positional().size() != 2)
        throw UsageError("merge takes TEMPLATE.qvf and DATA.csv");
    const auto outDir = cl.value("out");
    if (!outDir)
        throw UsageError("merge needs --out DIR");
    const int cpl = cl.intValue("cpl", 65, 1, 1000);
    struct Output {
        const char* flag;
        const char* extension;
    };
    std::vector<Output> outputs;
    for (const Output o : {Output{"print-file", "qvp"}, Output{"rtf", "rtf"}, Output{"worksheet", "qvw"},
                           Output{"pdf", "pdf"}})
        if (cl.flag(o.flag))
            outputs.push_back(o);
    if (outputs.empty())
        outputs.push_back({"print-file", "qvp"});

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

    CTextDoc& doc = session.doc();
    ProgramState& s = session.state();
    // Each column's occurrences, found once.
    const auto& header = headerRecord.fields;
    std::vector<std::vector<int>> columns(header.size());
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string name = CodePage::fromUtf8(header[c]);
        for (int k = 0; k < s.occCount; ++k)
            if (s.varNames[s.occVars[k]] == name)
                columns[c].push_back(k);
        if (columns[c].empty())
            throw RefusedFile("column " + std::to_string(c + 1) + " of the header, \"" + header[c] +
                              "\", names no variable of the form");
    }
    std::error_code ec;
    std::filesystem::create_directories(*outDir, ec);
    const std::string stem = std::filesystem::path(templatePath).stem().string();
    // Every row starts from the form as loaded.
    const std::vector<std::string> pristineTexts = s.runTexts;
    const auto pristineCells = s.cellTable;
    NumericFields numeric(doc, platform::UserLocale::current());
    PrintFilePage page;
    page.charsPerLine = cpl;
    page.margins = s.page.margins;
    page.orientation = s.page.orientation;

    nlohmann::json written = nlohmann::json::array();
    nlohmann::json problems = nlohmann::json::array();
    // A file of nothing but bad rows lists the first ones and counts the rest.
    constexpr std::size_t kMaxListed = 1000;
    std::size_t unlisted = 0;
    int firstUnlisted = 0;
    std::size_t r = 0;
    for (CsvReader::Record record; rows.next(record);) {
        ++r;
        if (!record.error.empty() || record.fields.size() != header.size()) {
            if (problems.size() >= kMaxListed) {
                if (unlisted++ == 0)
                    firstUnlisted = record.line;
                continue;
            }
            const std::string why = !record.error.empty()
                                        ? record.error
                                        : "it has " + std::to_string(record.fields.size()) +
                                              " fields, the header " + std::to_string(header.size());
            problems.push_back({{"line", record.line}, {"message", "row skipped: " + why}});
            continue;
        }
        s.runTexts = pristineTexts;
        s.cellTable = pristineCells;
        for (std::size_t c = 0; c < header.size(); ++c) {
            const std::string value = CodePage::fromUtf8(record.fields[c]);
            for (int k : columns[c])
                doc.StoreAnswer(k, value);
        }
        FormLayout::Layout(doc, numeric, cpl);
        char number[24];
        std::snprintf(number, sizeof number, "%04zu", r);
        for (const Output& o : outputs) {
            const std::string path =
                (std::filesystem::path(*outDir) / (stem + "-" + number + "." + o.extension)).string();
            bool ok = true;
            if (std::string(o.flag) == "pdf") {
                needPrinting();
                ok = FormPrinter::PrintToPdf(path, doc, numeric, doc.messages());
            } else {
                const std::string bytes =
                    std::string(o.flag) == "print-file" ? PrintFileWriter::EditorRtf(doc, page)
                    : std::string(o.flag) == "rtf"      ? PrintFileWriter::WordProcessorRtf(doc)
                                                        : doc.worksheetBytes();
                // Batch outputs can be made again, so they skip the flush to disk.
                ok = !platform::AtomicFile::write(path, bytes, false);
            }
            if (!ok)
                throw RefusedFile("cannot write " + path);
            written.push_back(path);
        }
    }
    if (unlisted > 0)
        problems.push_back({{"line", firstUnlisted},
                            {"message", std::to_string(unlisted) + " more rows skipped from this line on"}});
    printJson(out, {{"written", written}, {"problems", problems}});
    return problems.empty() ? 0 : 1;
}

} // namespace qv::tools
