#pragma once

#include <string>
#include <vector>

namespace qv::catalogue {

/// The 559 suggestions the Keyword Search dialog's search box starts with: form codes
/// and single words, six of them twice. Suggestions only: nothing ties them to the
/// keyword data.
class KeywordSuggestions {
public:
    static const std::vector<std::string>& All();
};

} // namespace qv::catalogue
