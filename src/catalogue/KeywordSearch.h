#pragma once

#include "catalogue/CatalogueData.h"

#include <string>
#include <vector>

namespace qv::catalogue {

/// Finds forms whose keyword line holds the search text, without regard to case.
class KeywordSearch {
public:
    struct Result {
        int category;
        std::string item;
        std::string description;
    };

    /// `lookIn` 0 searches every category, 1 to 11 the category before it alone. Each
    /// form is tested against the first keyword line that starts with its code (the
    /// code compared with case); the whole line is searched as typed.
    static std::vector<Result> Find(const CatalogueData& data, const std::string& text, int lookIn);

    /// Upper case in the Windows-1252 code page.
    static std::string Upper(std::string text);
};

} // namespace qv::catalogue
