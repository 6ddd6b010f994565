#pragma once

#include <string_view>

namespace qv {

class CellTable;
class UserMessages;

/// Evaluates the expressions of calculated and total fields against the cell table.
///
/// Operators apply strictly left to right as they are met, with no precedence; only
/// parentheses group. The pending operator stays in force, so two operands with nothing
/// between them apply the last operator again. A divisor of exactly 0 makes the result 0.
class EquationEvaluator {
public:
    EquationEvaluator(const CellTable& cells, UserMessages& messages);

    /// The value of `expression`. A character the language does not know is reported once
    /// ("Bad equation: [...].  Error on char N.") and the result is then 0.
    double EvaluateEquation(std::string_view expression);

    /// The value of a two-character cell name: "##" all cells, "#X" column X, "X#" row X,
    /// "XY" one cell; anything else names no cell and reads 0.
    double CellNameValue(char first, char second) const;

private:
    double evaluate(std::string_view expression);

    const CellTable& cells_;
    UserMessages& messages_;
    bool failed_ = false;
};

} // namespace qv
