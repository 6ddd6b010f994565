#include "tools/qvform/CatalogueCommands.h"

#include "catalogue/CatalogueData.h"
#include "catalogue/KeywordSearch.h"
#include "platform/CodePage.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CommandLine.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace qv::tools {
namespace {

void printJson(std::ostream& out, const nlohmann::json& j) {
    out << j.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
}

/// Texts from the files, byte for byte.
nlohmann::json bytes(const std::vector<std::string>& list) {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& s : list)
        j.push_back(CodePage::latin1ToUtf8(s));
    return j;
}

catalogue::CatalogueData load(const std::string& folder) {
    catalogue::CatalogueData data;
    std::string message;
    if (!data.Load(folder, message))
        throw RefusedFile(message);
    return data;
}

} // namespace

int CatalogueCommands::catalogue(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {});
    if (cl.positional().size() != 1)
        throw UsageError("catalogue takes one FOLDER");
    const auto data = load(cl.positional()[0]);
    nlohmann::json categories = nlohmann::json::array();
    for (const auto& c : data.categories())
        categories.push_back({{"items", bytes(c.items)}, {"descriptions", bytes(c.descriptions)}});
    printJson(out, {{"categories", categories}, {"keywords", bytes(data.keywordLines())}});
    return 0;
}

int CatalogueCommands::search(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {"in"});
    if (cl.positional().size() != 2)
        throw UsageError("search takes FOLDER and TEXT");
    const int lookIn = cl.intValue("in", 0, 0, 11);
    const auto data = load(cl.positional()[0]);
    nlohmann::json results = nlohmann::json::array();
    for (const auto& r : catalogue::KeywordSearch::Find(data, CodePage::fromUtf8(cl.positional()[1]), lookIn))
        results.push_back({{"category", r.category},
                           {"item", CodePage::latin1ToUtf8(r.item)},
                           {"description", CodePage::latin1ToUtf8(r.description)}});
    printJson(out, {{"results", results}});
    return 0;
}

} // namespace qv::tools
