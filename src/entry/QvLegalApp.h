#pragma once

namespace qv {

/// The variable-entry program: sets itself up as the original did (settings, variable
/// sets, an empty document, the command-line argument) and runs its main window.
class QvLegalApp {
public:
    int run(int argc, char** argv);
};

} // namespace qv
