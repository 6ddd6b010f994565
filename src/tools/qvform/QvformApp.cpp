#include "tools/qvform/QvformApp.h"

#include "platform/UserLocale.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/ArchiveCommands.h"
#include "tools/qvform/AuthoringCommands.h"
#include "tools/qvform/CatalogueCommands.h"
#include "tools/qvform/CommandLine.h"
#include "tools/qvform/FormJson.h"
#include "tools/qvform/FormSession.h"
#include "tools/qvform/RtfCommand.h"

#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/PrintFileWriter.h"
#include "view/ui/FormPrinter.h"

#include <QGuiApplication>
#include <memory>

#include <charconv>
#include <iostream>

namespace qv::tools {
namespace {

std::optional<CivilDate> todayOption(const CommandLine& cl) {
    auto text = cl.value("today");
    if (!text)
        return std::nullopt;
    CivilDate date;
    if (!CivilDate::parse(text->c_str(), date))
        throw UsageError("--today takes a date as YYYY-MM-DD, not '" + *text + "'");
    return date;
}

void printJson(std::ostream& out, const nlohmann::json& j) {
    // ASCII-only output: every byte above 0x7F appears as its \u escape.
    out << j.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
}

const std::set<std::string> kLayoutOptions = {"today", "answers", "current", "cpl"};

std::array<int, 4> marginsOption(const std::string& text) {
    std::array<int, 4> m{};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        auto r = std::from_chars(p, end, m[i]);
        if (r.ec != std::errc() || m[i] < 0 || m[i] > 5000 ||
            (i < 3 ? (r.ptr == end || *r.ptr != ',') : r.ptr != end))
            throw UsageError(
                "--margins takes four whole numbers L,T,R,B in hundredths of an inch (0 to 5000)");
        p = r.ptr + 1;
    }
    return m;
}

// Load, answers, current occurrence and one layout pass: what layout and fill share.
FormLayout::Result prepare(FormSession& session, const CommandLine& cl, int& cpl,
                           const std::optional<std::array<int, 4>>& margins, std::optional<int> orientation) {
    if (cl.positional().size() != 1)
        throw UsageError("one FILE is needed");
    cpl = cl.intValue("cpl", 65, 1, 1000);
    if (!session.open(cl.positional()[0]))
        throw RefusedFile("");
    CTextDoc& doc = session.doc();
    if (auto answers = cl.value("answers"))
        AnswersFile::Apply(*answers, doc);
    const int last = std::max(session.state().occCount - 1, 0);
    session.state().currentOcc = cl.intValue("current", 0, 0, last);
    if (margins)
        session.state().page.margins = *margins;
    if (orientation)
        session.state().page.orientation = *orientation;
    NumericFields numeric(doc, platform::UserLocale::current());
    return FormLayout::Layout(doc, numeric, cpl);
}

} // namespace

std::string QvformApp::helpText() {
    return R"(Usage: qvform COMMAND [ARGUMENTS]

The form engine of the Q-V Davov forms suite, without windows. Each command prints one
JSON object on standard output; messages about refused files go to standard error.

Commands:
  inspect FILE [--today YYYY-MM-DD]
      Load FILE as the variable-entry program opens it: a form template (.qvf), with
      the default variable set applied, or a worksheet (.qvw). Prints the whole model:
      kind, orientation, margins, varNames, varPrompts, equations, runTexts, runFlags,
      runValues, occRuns, occVars, occCount, currentOcc and the 26 x 26 cells.

  layout FILE [--today D] [--answers A.json] [--current K] [--cpl N]
      Load FILE, store the answers, make occurrence K (default 0) the current one and
      lay the form out at N characters per line (default 65). Prints formLines (with
      their marker bytes), currentLine, runTexts and cells.

  fill FILE [layout options] [--margins L,T,R,B] [--orientation 1|2]
       [--worksheet OUT.qvw] [--print-file OUT.qvp] [--rtf OUT.rtf] [--pdf OUT.pdf]
      As layout, then write each output asked for: a worksheet (with page settings),
      a print file for the print file editor (with its margin block), RTF for a
      word processor and a PDF printed as the variable-entry program prints (Letter
      paper). Margins are in hundredths of an inch. Prints {"written": [...]}.

  catalogue FOLDER
      Read the catalogue's data files (Tolvad.Dat, Tolvad2.Dat, Tolvad3.Dat) from
      FOLDER as the forms catalogue reads them. Prints the eleven categories with
      their item strings and descriptions, and the keyword lines.

  search FOLDER TEXT [--in N]
      The catalogue's keyword search: every form whose keyword line holds TEXT,
      without regard to case. N = 0 looks in all categories (the default), 1 to 11
      in that one category. Prints the results with category, item and description.

  archive ARCHIVE --list
  archive ARCHIVE --extract DIR
      Read a forms archive (FORMS.WA_ of the install disk, compressed or plain) as
      the setup reads it. --list prints its records with name and length; --extract
      writes each record to DIR as NAME.QVF and prints {"written": [...]}. A damaged
      archive is refused with the setup's message and nothing is written.

  expand SOURCE DEST
      Expand a compressed file of the install disk (SZDD) into DEST as the setup does;
      a plain file is copied. A damaged file leaves no DEST behind.

  compile SOURCE.qvt OUT.qvf
      Turn a template source (the readable UTF-8 form of the forms library, see
      docs/template-source.md) into the byte format. Problems are listed with their
      line and column, and nothing is written.

  check TEMPLATE.qvf | SOURCE.qvt
      Report what spoils a template: names used but not declared, declarations never
      used, references and equations without their closing "|", equations that would
      be refused or address no cell, calculations reading a field placed after them,
      fields too narrow for $999,999.99 (money) or 99,999.99, bodies near or over 60000 bytes, text after
      the last mark, two blanks or underlined answers joined by underlined spaces (they
      print as one line) and totals over calculated money that multiplies or divides
      (not rounded to cents, so a cent off). A source is compiled first and the
      problems are told at their source line and column. Exit status 1 when there is
      anything to report.

  merge TEMPLATE.qvf DATA.csv --out DIR [--print-file] [--rtf] [--worksheet] [--pdf]
       [--today D] [--cpl N] [--jobs N]
      One filled document per row of a CSV file (RFC 4180) whose header row names
      the form's variables: DIR/NAME-0001.qvp and so on (print files unless another
      output is asked for). Bad rows are reported with their line and skipped.
      --jobs N fills N rows at a time (1 to 64; the default is one per processor);
      the files, messages and report are the same whatever N is. When standard
      error is a terminal, a progress line shows the rows done and the rate.

  rtf IN OUT
      Open IN (any RTF file, print files with their margin block) as the print file
      editor opens it and save it untouched to OUT as the editor saves it. Prints
      the counts of the editor's document: paragraphs, tables, cells, listItems,
      pictures, fields (links included), links and kept (what the editor keeps
      without showing it: footnotes, headers, stylesheets...), and problem: what
      could not be read, or null. Exit status 1 when IN could not be read
      completely (OUT is still written) or is not RTF (nothing is written).

Answers file: a JSON array of [key, value] pairs applied in order; the key is an
occurrence number as a string ("0", "1", ...) or a variable name (every occurrence of
it); values are text. Numeric fields use the number and currency formats of the
user's locale (US English under the C locale).

Options:
  --today YYYY-MM-DD   date variables use this day instead of the clock
  --help               show this text

Texts from files are written byte for byte, each byte as the character of the same
value. Variable sets come from the user's settings
($XDG_CONFIG_HOME/Q-V Davov Software/QVLegal.ini).

Exit status: 0 done, 1 a file was refused or could not be written, 2 bad usage.
)";
}

int QvformApp::run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return run(args, std::cout, std::cerr);
}

int QvformApp::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty())
            throw UsageError("no command given");
        const std::string& command = args.front();
        if (command == "--help" || command == "-h" || command == "help") {
            out << helpText();
            return 0;
        }
        std::vector<std::string> words(args.begin() + 1, args.end());
        for (const auto& w : words)
            if (w == "--help" || w == "-h") {
                out << helpText();
                return 0;
            }
        if (command == "inspect")
            return inspect(words, out);
        if (command == "layout")
            return layout(words, out);
        if (command == "fill")
            return fill(words, out);
        if (command == "catalogue")
            return CatalogueCommands::catalogue(words, out);
        if (command == "search")
            return CatalogueCommands::search(words, out);
        if (command == "archive")
            return ArchiveCommands::archive(words, out);
        if (command == "expand")
            return ArchiveCommands::expand(words, out);
        if (command == "compile")
            return AuthoringCommands::compile(words, out);
        if (command == "check")
            return AuthoringCommands::check(words, out);
        if (command == "merge")
            return AuthoringCommands::merge(words, out, [this] { ensureGuiApplication(); });
        if (command == "rtf")
            return RtfCommand::run(words, out, [this] { ensureGuiApplication(); });
        throw UsageError("unknown command '" + command + "'");
    } catch (const RefusedFile& e) {
        if (*e.what())
            err << "qvform: " << e.what() << '\n';
        return 1;
    } catch (const UsageError& e) {
        err << "qvform: " << e.what() << " (see qvform --help)\n";
        return 2;
    } catch (const std::exception& e) {
        err << "qvform: " << e.what() << '\n';
        return 1;
    }
}

int QvformApp::inspect(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {"today"});
    if (cl.positional().size() != 1)
        throw UsageError("inspect takes one FILE");
    FormSession session(todayOption(cl));
    if (!session.open(cl.positional()[0]))
        return 1;
    printJson(out, FormJson::inspect(session.doc(), session.isWorksheet()));
    return 0;
}

} // namespace qv::tools

namespace qv::tools {

int QvformApp::layout(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, kLayoutOptions);
    FormSession session(todayOption(cl));
    int cpl = 65;
    const FormLayout::Result r = prepare(session, cl, cpl, std::nullopt, std::nullopt);
    nlohmann::json j;
    j["formLines"] = FormJson::byteList(session.doc().formLines);
    j["currentLine"] = r.currentLine;
    j["runTexts"] = FormJson::byteList(session.state().runTexts);
    j["cells"] = FormJson::cells(session.state().cellTable);
    printJson(out, j);
    return 0;
}

int QvformApp::fill(const std::vector<std::string>& words, std::ostream& out) {
    std::set<std::string> options = kLayoutOptions;
    options.insert({"margins", "orientation", "worksheet", "print-file", "rtf", "pdf"});
    CommandLine cl(words, options);
    std::optional<std::array<int, 4>> margins;
    if (auto m = cl.value("margins"))
        margins = marginsOption(*m);
    std::optional<int> orientation;
    if (cl.value("orientation"))
        orientation = cl.intValue("orientation", 1, 1, 2);
    FormSession session(todayOption(cl));
    int cpl = 65;
    prepare(session, cl, cpl, margins, orientation);

    CTextDoc& doc = session.doc();
    nlohmann::json written = nlohmann::json::array();
    if (auto path = cl.value("worksheet")) {
        if (!doc.WriteWorksheet(*path))
            return 1;
        written.push_back(*path);
    }
    if (auto path = cl.value("print-file")) {
        PrintFilePage page;
        page.margins = session.state().page.margins;
        page.orientation = session.state().page.orientation;
        page.charsPerLine = cpl;
        if (!PrintFileWriter::Save(*path, PrintFileWriter::EditorRtf(doc, page), doc.messages()))
            return 1;
        written.push_back(*path);
    }
    if (auto path = cl.value("rtf")) {
        if (!PrintFileWriter::Save(*path, PrintFileWriter::WordProcessorRtf(doc), doc.messages()))
            return 1;
        written.push_back(*path);
    }
    if (auto path = cl.value("pdf")) {
        ensureGuiApplication();
        NumericFields numeric(doc, platform::UserLocale::current());
        if (!FormPrinter::PrintToPdf(*path, doc, numeric, doc.messages()))
            return 1;
        written.push_back(*path);
    }
    printJson(out, nlohmann::json{{"written", written}});
    return 0;
}

} // namespace qv::tools

namespace qv::tools {

QvformApp::QvformApp() = default;
QvformApp::~QvformApp() = default;

// Printing needs fonts, so a GUI application without a display, made only for --pdf.
// Qt's own warnings stay off stderr, which carries the suite's messages.
void QvformApp::ensureGuiApplication() {
    if (gui_ || QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "qvform";
    static char* argv[] = {name, nullptr};
    gui_ = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace qv::tools
