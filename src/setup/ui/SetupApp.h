#pragma once

#include <string>

namespace qv::setup {

/// QVSETUP: installs from the disk folder given as the whole command line, or
/// uninstalls with "/U ...". UNINSTAL.EXE runs the same with a "/U" line it builds.
class SetupApp {
public:
    /// `commandLine` empty: the program's arguments joined by blanks.
    int run(int argc, char** argv, const std::string& commandLine = {});
};

} // namespace qv::setup
