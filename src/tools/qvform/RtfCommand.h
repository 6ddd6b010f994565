#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace qv::tools {

/// qvform rtf IN OUT: an RTF file opened and saved untouched as the print file editor
/// does it, with a report of what the editor's document held.
class RtfCommand {
public:
    static int run(const std::vector<std::string>& words, std::ostream& out,
                   const std::function<void()>& ensureGui);
};

} // namespace qv::tools
