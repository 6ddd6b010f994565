#include "tools/qvform/FormJson.h"

#include "formengine/CTextDoc.h"
#include "platform/CodePage.h"

namespace qv::tools {

nlohmann::json FormJson::bytes(const std::string& text) {
    return CodePage::latin1ToUtf8(text);
}

nlohmann::json FormJson::byteList(const std::vector<std::string>& texts) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& t : texts)
        list.push_back(bytes(t));
    return list;
}

nlohmann::json FormJson::cells(const CellTable& table) {
    nlohmann::json rows = nlohmann::json::array();
    for (int r = 0; r < CellTable::kSize; ++r) {
        nlohmann::json row = nlohmann::json::array();
        for (int c = 0; c < CellTable::kSize; ++c)
            row.push_back(table.at(r, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

nlohmann::json FormJson::inspect(const CTextDoc& doc, bool worksheet) {
    const ProgramState& s = doc.state();
    nlohmann::json j;
    j["kind"] = worksheet ? "worksheet" : "template";
    j["orientation"] = s.page.orientation;
    j["margins"] = s.page.margins;
    j["varNames"] = byteList(s.varNames);
    j["varPrompts"] = byteList(s.varPrompts);
    j["equations"] = byteList(s.equations);
    j["runTexts"] = byteList(s.runTexts);
    j["runFlags"] = doc.runFlags;
    j["runValues"] = doc.runValues;
    j["occRuns"] = s.occRuns;
    j["occVars"] = s.occVars;
    j["occCount"] = s.occCount;
    j["currentOcc"] = s.currentOcc;
    j["cells"] = cells(s.cellTable);
    return j;
}

} // namespace qv::tools
