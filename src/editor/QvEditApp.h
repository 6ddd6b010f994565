#pragma once

namespace qv::editor {

/// The print file editor program: settings, working folder, printer, then the command
/// line taken whole as one print file path (or a new document without one).
class QvEditApp {
public:
    int run(int argc, char** argv);
};

} // namespace qv::editor
