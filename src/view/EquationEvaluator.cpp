#include "view/EquationEvaluator.h"

#include "formengine/CellTable.h"
#include "formengine/UserMessages.h"
#include "platform/CodePage.h"

#include <charconv>
#include <string>

namespace qv {
namespace {

enum class CharClass { Open, Digit, Name, Operator, Invalid };

CharClass classify(char c) {
    if (c == '(')
        return CharClass::Open;
    if (c == '.' || (c >= '0' && c <= '9'))
        return CharClass::Digit;
    if (c == '#' || (c >= 'A' && c <= 'Z'))
        return CharClass::Name;
    if (c == '*' || c == '/' || c == '+' || c == '-')
        return CharClass::Operator;
    return CharClass::Invalid;
}

// The longest leading decimal number of a run of digits and points ("1.2.3" is 1.2).
double leadingNumber(std::string_view run) {
    std::size_t end = 0;
    bool point = false;
    while (end < run.size() && (run[end] != '.' || !point)) {
        point = point || run[end] == '.';
        ++end;
    }
    double v = 0;
    std::from_chars(run.data(), run.data() + end, v);
    return v;
}

} // namespace

EquationEvaluator::EquationEvaluator(const CellTable& cells, UserMessages& messages)
    : cells_(cells), messages_(messages) {}

double EquationEvaluator::CellNameValue(char first, char second) const {
    double sum = 0;
    if (first == '#' && second == '#') {
        for (int r = 0; r < CellTable::kSize; ++r)
            for (int c = 0; c < CellTable::kSize; ++c)
                sum += cells_.at(r, c);
    } else if (first == '#' && CellTable::isCellLetter(second)) {
        for (int r = 0; r < CellTable::kSize; ++r)
            sum += cells_.at(r, second - 'A');
    } else if (second == '#' && CellTable::isCellLetter(first)) {
        for (int c = 0; c < CellTable::kSize; ++c)
            sum += cells_.at(first - 'A', c);
    } else {
        sum = cells_.get(first, second);
    }
    return sum;
}

double EquationEvaluator::EvaluateEquation(std::string_view expression) {
    failed_ = false;
    const double v = evaluate(expression);
    return failed_ ? 0.0 : v;
}

double EquationEvaluator::evaluate(std::string_view e) {
    double acc = 0.0;
    char pending = 0;
    auto apply = [&](double v) {
        switch (pending) {
        case '+':
            acc += v;
            break;
        case '-':
            acc -= v;
            break;
        case '*':
            acc *= v;
            break;
        case '/':
            acc = v == 0.0 ? 0.0 : acc / v;
            break;
        default:
            acc = v;
            break;
        }
    };
    std::size_t pos = 0;
    while (pos < e.size() && !failed_) {
        switch (classify(e[pos])) {
        case CharClass::Digit: {
            std::size_t end = pos;
            while (end < e.size() && classify(e[end]) == CharClass::Digit)
                ++end;
            apply(leadingNumber(e.substr(pos, end - pos)));
            pos = end;
            break;
        }
        case CharClass::Name: {
            const char second = pos + 1 < e.size() ? e[pos + 1] : '\0';
            apply(CellNameValue(e[pos], second));
            pos += 2;
            break;
        }
        case CharClass::Operator:
            pending = e[pos++];
            break;
        case CharClass::Open: {
            // Up to the matching ")", or the end of the expression when it never comes.
            int depth = 1;
            std::size_t end = pos + 1;
            for (; end < e.size(); ++end) {
                if (e[end] == '(')
                    ++depth;
                else if (e[end] == ')' && --depth == 0)
                    break;
            }
            const double inner = evaluate(e.substr(pos + 1, end - pos - 1));
            if (failed_)
                return 0.0;
            apply(inner);
            pos = end + 1;
            break;
        }
        case CharClass::Invalid:
            messages_.show("Bad equation: [" + CodePage::toUtf8(e) + "].  Error on char " +
                               std::to_string(pos) + ".",
                           MessageIcon::Stop);
            failed_ = true;
            return 0.0;
        }
    }
    return acc;
}

} // namespace qv
