#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qv::tools {

/// qvform's catalogue commands: the data files as the catalogue reads them, and its
/// keyword search.
class CatalogueCommands {
public:
    /// catalogue FOLDER
    static int catalogue(const std::vector<std::string>& words, std::ostream& out);
    /// search FOLDER TEXT [--in N]
    static int search(const std::vector<std::string>& words, std::ostream& out);
};

} // namespace qv::tools
