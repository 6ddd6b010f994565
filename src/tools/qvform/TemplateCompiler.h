#pragma once

#include <string>
#include <string_view>
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
    struct Result {
        std::string bytes; // empty when there are problems
        std::vector<Problem> problems;
    };

    static Result Compile(std::string_view source);
};

} // namespace qv::tools
