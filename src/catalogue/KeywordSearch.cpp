#include "catalogue/KeywordSearch.h"

#include <string_view>
#include <unordered_map>

namespace qv::catalogue {

std::string KeywordSearch::Upper(std::string text) {
    for (char& ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 0x20);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            ch = static_cast<char>(c - 0x20);
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            ch = static_cast<char>(c - 0x10);
        else if (c == 0xFF)
            ch = static_cast<char>(0x9F);
    }
    return text;
}

std::vector<KeywordSearch::Result> KeywordSearch::Find(const CatalogueData& data, const std::string& text,
                                                       int lookIn) {
    std::vector<Result> results;
    const std::string wanted = Upper(text);
    const int first = lookIn <= 0 ? 0 : lookIn - 1;
    const int last = lookIn <= 0 ? CatalogueData::kCategories - 1 : lookIn - 1;
    if (first >= CatalogueData::kCategories)
        return results;
    // Each form's line found once by its code: a catalogue of n forms and m lines costs
    // n + m lookups, not n * m.
    std::unordered_map<std::string_view, const std::string*> lineOf;
    for (const auto& k : data.keywordLines())
        if (k.size() >= 4)
            lineOf.emplace(std::string_view(k).substr(0, 4), &k);
    std::unordered_map<const std::string*, bool> matches;
    for (int c = first; c <= last; ++c) {
        const auto& category = data.categories()[c];
        for (std::size_t i = 0; i < category.items.size(); ++i) {
            const std::string code = CatalogueData::CodeOf(category.items[i]);
            const auto found = code.size() == 4 ? lineOf.find(code) : lineOf.end();
            if (found == lineOf.end())
                continue;
            auto [match, added] = matches.try_emplace(found->second, false);
            if (added)
                match->second = Upper(*found->second).find(wanted) != std::string::npos;
            if (match->second)
                results.push_back({c, category.items[i], category.descriptions[i]});
        }
    }
    return results;
}

} // namespace qv::catalogue
