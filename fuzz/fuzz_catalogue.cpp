// The catalogue's three data files as one input, cut at 0x00 bytes: no crash, no hang, no
// allocation beyond a small multiple of the input; every item has its description.
#include "FuzzInput.h"
#include "catalogue/CatalogueData.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = qv::fuzz::SplitInput(data, size, 3);
    qv::catalogue::CatalogueData catalogue;
    catalogue.Parse(parts[0], parts[1], parts[2]);

    std::size_t items = 0;
    for (const auto& category : catalogue.categories()) {
        if (category.items.size() != category.descriptions.size())
            std::abort();
        items += category.items.size();
        // A read takes at most 254 characters, and the item gains three blanks after its code.
        for (const auto& item : category.items)
            if (item.size() > 254 + 3 || item.find('\n') != std::string::npos)
                std::abort();
        for (const auto& description : category.descriptions)
            if (description.size() > 254 - 5)
                std::abort();
    }
    // No item without a line of the list file, no keyword line without its own line.
    if (items > parts[0].size() || catalogue.keywordLines().size() > parts[2].size())
        std::abort();
    for (const auto& line : catalogue.keywordLines())
        if (line.size() > 254 || line.find('\n') != std::string::npos)
            std::abort();
    // Reading again from the same bytes gives the same catalogue.
    qv::catalogue::CatalogueData again;
    again.Parse(parts[0], parts[1], parts[2]);
    for (int c = 0; c < qv::catalogue::CatalogueData::kCategories; ++c)
        if (again.categories()[c].items != catalogue.categories()[c].items)
            std::abort();
    return 0;
}
