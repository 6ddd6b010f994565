#pragma once

#include <string>

namespace qv::catalogue {

/// The limited warranty and disclaimer the catalogue shows: five paragraphs separated
/// by blank lines (CR LF, as the edit box takes them).
class Disclaimer {
public:
    static const std::string& Text();
};

} // namespace qv::catalogue
