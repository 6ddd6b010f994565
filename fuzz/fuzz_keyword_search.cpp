// The catalogue's three data files and a search text as one input, cut at 0x00 bytes (the
// search text's first byte picks the category to look in): no crash, no hang, and a search
// over every category finds what the searches over each category find, in that order.
#include "FuzzInput.h"
#include "catalogue/CatalogueData.h"
#include "catalogue/KeywordSearch.h"

#include <cstdint>
#include <cstdlib>

using qv::catalogue::CatalogueData;
using qv::catalogue::KeywordSearch;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = qv::fuzz::SplitInput(data, size, 4);
    CatalogueData catalogue;
    catalogue.Parse(parts[0], parts[1], parts[2]);
    std::string_view text = parts[3];
    int lookIn = 0;
    if (!text.empty()) {
        lookIn = static_cast<unsigned char>(text.front()) % 14 - 1; // -1 to 12, the ends included
        text.remove_prefix(1);
    }
    const std::string wanted(text);

    const auto found = KeywordSearch::Find(catalogue, wanted, lookIn);
    if (lookIn > CatalogueData::kCategories && !found.empty())
        std::abort();
    for (const auto& r : found)
        if (r.category < 0 || r.category >= CatalogueData::kCategories ||
            (lookIn > 0 && r.category != lookIn - 1))
            std::abort();

    std::vector<KeywordSearch::Result> each;
    for (int c = 1; c <= CatalogueData::kCategories; ++c)
        for (auto& r : KeywordSearch::Find(catalogue, wanted, c))
            each.push_back(std::move(r));
    const auto all = KeywordSearch::Find(catalogue, wanted, 0);
    if (all.size() != each.size())
        std::abort();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].category != each[i].category || all[i].item != each[i].item ||
            all[i].description != each[i].description)
            std::abort();
    // Case does not matter: the upper-case text finds the same forms.
    if (KeywordSearch::Find(catalogue, KeywordSearch::Upper(wanted), 0).size() != all.size())
        std::abort();
    return 0;
}
