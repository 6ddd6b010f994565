#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::tools {

/// The readable template source of the forms library (UTF-8, see docs/template-source.md)
/// turned into the byte format the variable-entry program reads (Windows-1252, CR LF).
class TemplateCompiler {
public:
    struct Problem {
        int line;
        int column;
        std::string message;
    };
    /// Where a stretch of the compiled file came from: `line` of the file written (1-based)
    /// and its first `column` there come from `sourceLine`, `sourceColumn`. Text and variable
    /// references are written a character a byte; a token's bytes all point at its "{".
    struct Origin {
        int line;
        int column;
        int sourceLine;
        int sourceColumn;
        bool oneToOne;
    };
    struct Result {
        std::string bytes; // empty when there are problems
        std::vector<Problem> problems;
        std::vector<Origin> origins; // in the order written
    };

    static Result Compile(std::string_view source);
    /// The source line and column of a line and column of the compiled file.
    static std::pair<int, int> SourcePosition(const std::vector<Origin>& origins, int line, int column);
};

} // namespace qv::tools
