#include "tools/qvform/AnswersFile.h"

#include "formengine/CTextDoc.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"

#include <nlohmann/json.hpp>
#include <unordered_map>
#include <vector>

namespace qv::tools {
namespace {

constexpr std::uintmax_t kMaxAnswersBytes = 64u << 20;

bool isOccurrenceNumber(const std::string& key) {
    return !key.empty() && key.size() <= 9 && key.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

void AnswersFile::Apply(const std::string& path, CTextDoc& doc) {
    std::string bytes;
    if (auto ec = platform::AtomicFile::read(path, bytes, kMaxAnswersBytes))
        throw RefusedFile("cannot read the answers file " + path + ": " + ec.message());
    ApplyBytes(bytes, path, doc);
}

void AnswersFile::ApplyBytes(const std::string& bytes, const std::string& path, CTextDoc& doc) {
    nlohmann::json answers = nlohmann::json::parse(bytes, nullptr, false);
    if (answers.is_discarded() || !answers.is_array())
        throw RefusedFile("the answers file " + path + " is not a JSON array of [key, value] pairs");

    const ProgramState& s = doc.state();
    // Each name's occurrences, found once: a long file of answers by name takes time in
    // proportion to its answers, not to its answers times the form's occurrences.
    std::unordered_map<std::string, std::vector<int>> occurrencesOf;
    for (int k = 0; k < s.occCount; ++k)
        occurrencesOf[s.varNames[s.occVars[k]]].push_back(k);
    for (std::size_t n = 0; n < answers.size(); ++n) {
        const auto& pair = answers[n];
        const std::string where = "answer " + std::to_string(n + 1) + " of " + path;
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string() || !pair[1].is_string())
            throw RefusedFile(where + " is not a [key, value] pair of strings");
        const std::string key = pair[0].get<std::string>();
        const std::string value = CodePage::fromUtf8(pair[1].get<std::string>());
        if (isOccurrenceNumber(key)) {
            const long k = std::stol(key);
            if (k >= s.occCount)
                throw RefusedFile(where + ": the form has no occurrence " + key + " (it has " +
                                  std::to_string(s.occCount) + ")");
            doc.StoreAnswer(static_cast<int>(k), value);
            continue;
        }
        const auto found = occurrencesOf.find(CodePage::fromUtf8(key));
        if (found == occurrencesOf.end())
            throw RefusedFile(where + ": the form has no variable named " + key);
        for (const int k : found->second)
            doc.StoreAnswer(k, value);
    }
}

} // namespace qv::tools
