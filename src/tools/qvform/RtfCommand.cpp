#include "tools/qvform/RtfCommand.h"

#include "editor/CRichEditDoc.h"
#include "editor/rtf/RtfDocumentCounts.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CommandLine.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace qv::tools {

int RtfCommand::run(const std::vector<std::string>& words, std::ostream& out,
                    const std::function<void()>& ensureGui) {
    CommandLine cl(words, {});
    if (cl.positional().size() != 2)
        throw UsageError("rtf takes IN and OUT");
    // The editor's document lays text out in fonts: a GUI application, without a display.
    ensureGui();
    int orientation = 1;
    editor::CRichEditDoc doc(orientation);
    QString error;
    if (!doc.OnOpenDocument(QString::fromStdString(cl.positional()[0]), error))
        throw RefusedFile(error.toStdString());
    // Written even after a reading problem: what the editor saves once the user agreed.
    if (!doc.OnSaveDocument(QString::fromStdString(cl.positional()[1]), error))
        throw RefusedFile(error.toStdString());
    const auto c = editor::RtfDocumentCounts::Count(doc.text());
    nlohmann::json j;
    j["paragraphs"] = c.paragraphs;
    j["tables"] = c.tables;
    j["cells"] = c.cells;
    j["listItems"] = c.listItems;
    j["pictures"] = c.pictures;
    j["fields"] = c.fields;
    j["links"] = c.links;
    j["kept"] = c.kept;
    j["problem"] = doc.readProblem().isEmpty() ? nlohmann::json() : nlohmann::json(doc.readProblem().toStdString());
    out << j.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
    return doc.readProblem().isEmpty() ? 0 : 1;
}

} // namespace qv::tools
