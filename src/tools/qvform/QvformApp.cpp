#include "tools/qvform/QvformApp.h"

#include "tools/qvform/CommandLine.h"
#include "tools/qvform/FormJson.h"
#include "tools/qvform/FormSession.h"

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
    out << j.dump(-1, ' ', true) << '\n';
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

Options:
  --today YYYY-MM-DD   date variables use this day instead of the clock
  --help               show this text

Texts from files are written byte for byte, each byte as the character of the same
value. Variable sets come from the user's settings
($XDG_CONFIG_HOME/Q-V Davov Software/QVLegal.ini).

Exit status: 0 done, 1 a file was refused, 2 bad usage.
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
        throw UsageError("unknown command '" + command + "'");
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
