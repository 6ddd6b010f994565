#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::tools {

/// Finds the faults of a form template that the variable-entry program would not report
/// but that spoil the form: names used but not declared, declarations never used,
/// references and equations without their closing "|", equations that would be refused
/// or address no cell, calculations reading a field that comes after them, fields too
/// narrow for their values, bodies near or over the reader's limit, text after the
/// last mark, two lines to write on that print as one (joined by underlined spaces), and
/// totals of calculated money that is not rounded to cents. Lines and columns are those of
/// the file (1-based).
class TemplateChecker {
public:
    struct Problem {
        int line;
        int column;
        std::string message;
    };
    struct Report {
        std::vector<Problem> problems;
        int variables = 0;
        int occurrences = 0;
        int equations = 0;
    };

    static Report Check(std::string_view bytes);

    /// The widest text a field shows for the largest plausible value in US conventions
    /// with these format flags: $999,999.99 for money, 99,999.99 for other numbers.
    static std::size_t PlausibleWidth(int flags);
};

} // namespace qv::tools
