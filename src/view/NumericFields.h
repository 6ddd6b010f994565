#pragma once

#include "platform/LocaleFormat.h"
#include "view/EquationEvaluator.h"

#include <string>

namespace qv {

class CTextDoc;

/// The numeric fields of a form: an equation run in front of a run makes that run an
/// input field ("D"), a calculated field ("C") or a total ("T"). Each layout pass runs
/// `PrePass` and then `ProcessEquation` for every equation run in run order.
class NumericFields {
public:
    NumericFields(CTextDoc& doc, LocaleFormat locale);

    /// Rewrites every input field from its cell ("%f", or empty for 0) and clears the cells.
    void PrePass();
    /// Evaluates the equation run at `equationRun` and formats the run after it.
    void ProcessEquation(int equationRun);
    /// Rounding (unless flag 1), locale number or currency format (flag 2), padding to
    /// `width` on the left, or on the right with flag 4. Zero is all spaces.
    std::string FormatNumericField(double value, int flags, int width) const;

    /// "%f" in the C locale, whatever the program's locale is.
    static std::string fixed6(double value);

    const LocaleFormat& locale() const { return locale_; }

private:
    CTextDoc& doc_;
    LocaleFormat locale_;
    EquationEvaluator evaluator_;
};

} // namespace qv
