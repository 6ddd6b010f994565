#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qv::tools {

/// qvform's install-disk commands: the forms archive and the compressed files, read by
/// the same code as the setup and refused with the setup's messages.
class ArchiveCommands {
public:
    /// archive ARCHIVE --list | --extract DIR
    static int archive(const std::vector<std::string>& words, std::ostream& out);
    /// expand SOURCE DEST
    static int expand(const std::vector<std::string>& words, std::ostream& out);
};

} // namespace qv::tools
