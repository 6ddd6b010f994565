#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace qv::tools {

/// qvform's commands for template authors and batch work: compile, check and merge.
class AuthoringCommands {
public:
    /// compile SOURCE.qvt OUT.qvf
    static int compile(const std::vector<std::string>& words, std::ostream& out);
    /// check TEMPLATE.qvf
    static int check(const std::vector<std::string>& words, std::ostream& out);
    /// merge TEMPLATE.qvf DATA.csv --out DIR [--print-file] [--rtf] [--pdf] [--worksheet];
    /// `needPrinting` is called before the first PDF is printed.
    static int merge(const std::vector<std::string>& words, std::ostream& out,
                     const std::function<void()>& needPrinting);
};

} // namespace qv::tools
