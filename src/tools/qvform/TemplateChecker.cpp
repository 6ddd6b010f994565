#include "tools/qvform/TemplateChecker.h"

#include "formengine/TwoDigitField.h"
#include "view/LocaleFormatter.h"
#include "view/NumericFields.h"

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace qv::tools {
namespace {

constexpr std::size_t kMaxBody = 60000;
constexpr std::size_t kNearBody = 55000;
constexpr double kPlausibleMoney = 999999.99;
constexpr double kPlausibleNumber = 99999.99;

bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isNameChar(char c) {
    return c == '#' || isLetter(c);
}
bool isDigitClass(char c) {
    return c == '.' || (c >= '0' && c <= '9');
}
bool isOperator(char c) {
    return c == '*' || c == '/' || c == '+' || c == '-';
}
// Two digits, or a blank and a digit: the engine reads " 7" as 7 too.
bool twoDigits(std::string_view s, std::size_t at) {
    return s.size() >= at + 2 && (std::isdigit(static_cast<unsigned char>(s[at])) || s[at] == ' ') &&
           std::isdigit(static_cast<unsigned char>(s[at + 1]));
}

/// Positions of body bytes as file lines and columns.
class Positions {
public:
    Positions(std::string_view file, std::size_t bodyStart) : file_(file), bodyStart_(bodyStart) {}
    std::pair<int, int> at(std::size_t bodyOffset) const {
        const std::size_t target = bodyStart_ + bodyOffset;
        int line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < target && i < file_.size(); ++i)
            if (file_[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        return {line, static_cast<int>(target - lineStart) + 1};
    }

private:
    std::string_view file_;
    std::size_t bodyStart_;
};

struct Equation {
    std::string entry;
    std::size_t offset; // of the 0xF1 byte in the body
};

/// Finds two lines to write on (blanks or underlined answers) with nothing but
/// spaces between them while the underline is on: the spaces are drawn underlined, so the
/// two lines to write on print as one.
class SideBySide {
public:
    /// Something printed; `underlined` when it is drawn underlined. True when it is the
    /// second of two underlined stretches joined by underlined spaces.
    bool content(bool underlined) {
        const bool joined = underlined && afterUnderlined_ && spaces_ > 0 && spacesUnderlined_;
        afterUnderlined_ = underlined;
        spaces_ = 0;
        spacesUnderlined_ = true;
        return joined;
    }
    void space(bool underlined) {
        ++spaces_;
        spacesUnderlined_ = spacesUnderlined_ && underlined;
    }
    void paragraph() {
        afterUnderlined_ = false;
        spaces_ = 0;
        spacesUnderlined_ = true;
    }

private:
    bool afterUnderlined_ = false;
    int spaces_ = 0;
    bool spacesUnderlined_ = true;
};

class Checker {
public:
    explicit Checker(std::string_view bytes) : file_(bytes) {}

    TemplateChecker::Report run() {
        if (file_.substr(0, 4) != "Form") {
            add(1, 1, "the first line does not start with \"Form\": the program refuses the file");
            return std::move(report_);
        }
        // Header, free lines, declarations, separator.
        std::size_t pos = 0;
        int line = 1;
        const auto nextLine = [&]() -> std::optional<std::string_view> {
            if (pos >= file_.size())
                return std::nullopt;
            std::size_t end = file_.find('\n', pos);
            if (end == std::string_view::npos)
                end = file_.size();
            std::string_view l = file_.substr(pos, end - pos);
            pos = end + 1;
            ++line;
            if (!l.empty() && l.back() == '\r')
                l.remove_suffix(1);
            return l;
        };
        nextLine();
        std::optional<std::string_view> l;
        while ((l = nextLine()) && (l->empty() || (*l)[0] != ':')) {
            if (!l->empty() && (*l)[0] == '\x15')
                break;
        }
        std::map<std::string, int> declared; // name -> file line
        while (l && !(!l->empty() && (*l)[0] == '\x15')) {
            if (!l->empty() && (*l)[0] == ':') {
                const std::string name(l->substr(1));
                if (declared.count(name))
                    add(line - 1, 2, "the variable " + name + " is declared twice; only the first counts");
                declared.emplace(name, line - 1);
                order_.push_back(name);
            }
            l = nextLine();
        }
        if (!l) {
            add(line, 1,
                "the file has no separator line (byte 0x15) before the body: the program refuses it");
            return std::move(report_);
        }
        report_.variables = static_cast<int>(declared.size());
        const std::size_t bodyStart = std::min(pos, file_.size());
        std::string_view body = file_.substr(bodyStart);
        if (const auto nul = body.find('\0'); nul != std::string_view::npos)
            body = body.substr(0, nul);
        Positions where(file_, bodyStart);
        if (body.size() > kMaxBody) {
            auto [bl, bc] = where.at(kMaxBody);
            add(bl, bc,
                "the body is " + std::to_string(body.size()) +
                    " bytes: the program reads only the first 60000");
            body = body.substr(0, kMaxBody);
        } else if (body.size() > kNearBody) {
            auto [bl, bc] = where.at(0);
            add(bl, bc,
                "the body is " + std::to_string(body.size()) + " bytes, near the program's limit of 60000");
        }

        std::set<std::string> used;
        std::vector<Equation> equations;
        // The underline as the program's reader keeps it: a blank turns it on, "{u}" flips it,
        // a paragraph end turns it off. A pad mark underlines the answer after it.
        bool underline = false;
        bool padNext = false;
        SideBySide sideBySide;
        const auto printed = [&](std::size_t at, bool underlined) {
            if (sideBySide.content(underlined)) {
                auto [jl, jc] = where.at(at);
                add(jl, jc,
                    "two underlined blanks separated only by spaces print as one line: put each on "
                    "its own line");
            }
        };
        std::size_t lastMarkEnd = 0; // offset after the last mark or reference
        bool pendingText = false;
        std::size_t pendingAt = 0;
        for (std::size_t i = 0; i < body.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(body[i]);
            const auto mark = [&](std::size_t end) {
                lastMarkEnd = end;
                pendingText = false;
            };
            switch (b) {
            case '\r':
            case '\n':
                break;
            case '|': {
                const std::size_t close = body.find('|', i + 1);
                auto [rl, rc] = where.at(i);
                if (close == std::string_view::npos) {
                    add(rl, rc, "a variable reference without its closing \"|\"");
                    i = body.size();
                    break;
                }
                const std::string name(body.substr(i + 1, close - i - 1));
                printed(i, underline || padNext);
                padNext = false;
                if (!declared.count(name))
                    add(rl, rc + 1, "the variable " + name + " is used but not declared");
                used.insert(name);
                ++report_.occurrences;
                i = close;
                mark(close + 1);
                break;
            }
            case 0xF1: {
                const std::size_t close = body.find('|', i + 1);
                if (close == std::string_view::npos) {
                    auto [el, ec] = where.at(i);
                    add(el, ec, "an equation without the closing \"|\" of its variable");
                    i = body.size();
                    break;
                }
                equations.push_back({std::string(body.substr(i + 1, close - i - 1)), i});
                i = close - 1; // the "|" opens the variable the equation fills
                mark(close);
                break;
            }
            case 0xC6:
            case 0xD7:
            case 0xEE:
                if (b == 0xC6) {
                    printed(i, true);
                    underline = true;
                } else if (b == 0xD7) {
                    padNext = true;
                }
                if (!twoDigits(body, i + 1)) {
                    auto [wl, wc] = where.at(i);
                    add(wl, wc, "a blank or field mark is followed by its width as two digits");
                }
                i += 2;
                mark(i + 1);
                break;
            case 0xB5:
            case 0xE6:
            case 0xE1:
                // A style mark does not end a word: text still waiting takes the new style.
                if (pendingText) {
                    auto [sl, sc] = where.at(i);
                    add(sl, sc,
                        "the text before this underline or style mark takes the style after it; put a "
                        "space before the mark");
                }
                if (b != 0xE1)
                    underline = !underline;
                mark(i + 1);
                break;
            case 0xC3:
                printed(i, true);
                underline = true;
                mark(i + 1);
                break;
            case 0xAE:
                underline = false;
                padNext = false;
                sideBySide.paragraph();
                mark(i + 1);
                break;
            case ' ':
                sideBySide.space(underline);
                mark(i + 1);
                break;
            case '_':
                printed(i, true);
                mark(i + 1);
                break;
            case 0xE4:
            case 0xF0:
            case 0xE8:
                mark(i + 1);
                break;
            default:
                printed(i, false); // underlined text is a heading, not a line to write on
                if (!pendingText) {
                    pendingText = true;
                    pendingAt = i;
                }
                break;
            }
        }
        if (pendingText) {
            auto [tl, tc] = where.at(pendingAt);
            add(tl, tc, "text after the last mark: end the body with a mark such as the paragraph end");
        }
        (void)lastMarkEnd;
        for (const auto& name : order_)
            if (!used.count(name))
                add(declared[name], 2, "the variable " + name + " is declared but never used");
        checkEquations(equations, where);
        report_.equations = static_cast<int>(equations.size());
        return std::move(report_);
    }

private:
    void add(int line, int column, std::string message) {
        report_.problems.push_back({line, column, std::move(message)});
    }

    /// Walks an expression as the evaluator does; the cells it reads, or a problem.
    std::optional<std::string> readExpression(std::string_view e, std::vector<std::string>& cells) {
        std::size_t i = 0;
        while (i < e.size()) {
            const char c = e[i];
            if (isDigitClass(c)) {
                while (i < e.size() && isDigitClass(e[i]))
                    ++i;
            } else if (isNameChar(c)) {
                if (i + 1 >= e.size() || !isNameChar(e[i + 1]))
                    return "addresses no cell at char " + std::to_string(i) +
                           " (a cell is two capital letters)";
                if (isLetter(c) && isLetter(e[i + 1]))
                    cells.emplace_back(e.substr(i, 2));
                i += 2;
            } else if (isOperator(c)) {
                ++i;
            } else if (c == '(') {
                int depth = 1;
                std::size_t j = i + 1;
                for (; j < e.size() && depth > 0; ++j)
                    depth += e[j] == '(' ? 1 : e[j] == ')' ? -1 : 0;
                if (depth != 0)
                    return "has a \"(\" without its \")\" at char " + std::to_string(i);
                if (auto inner = readExpression(e.substr(i + 1, j - i - 2), cells))
                    return inner;
                i = j;
            } else {
                return "would be refused: bad character at char " + std::to_string(i);
            }
        }
        return std::nullopt;
    }

    void checkEquations(const std::vector<Equation>& equations, const Positions& where) {
        std::map<std::string, std::size_t> filledBy; // cell -> index of the first entry filling it
        for (std::size_t k = 0; k < equations.size(); ++k) {
            const std::string& e = equations[k].entry;
            if (e.size() >= 3 && (e[0] == 'D' || e[0] == 'C') && isLetter(e[1]) && isLetter(e[2]))
                filledBy.emplace(e.substr(1, 2), k);
        }
        for (std::size_t k = 0; k < equations.size(); ++k) {
            const std::string& e = equations[k].entry;
            const auto [line, column] = where.at(equations[k].offset);
            // Copies: a lambda may not capture structured bindings before C++20's last revision.
            const auto bad = [&, line = line, column = column](const std::string& m) {
                add(line, column, "equation " + e + " " + m);
            };
            if (e.empty() || (e[0] != 'D' && e[0] != 'C' && e[0] != 'T')) {
                bad("is ignored: an equation starts with D, C or T");
                continue;
            }
            const bool sumTotal = e[0] == 'T' && e.size() >= 3 && (e[1] == '#' || e[2] == '#');
            const bool expressionTotal = e[0] == 'T' && !sumTotal;
            if (e[0] != 'T' || sumTotal) {
                if (e.size() < 7 || !twoDigits(e, 3) || !twoDigits(e, 5)) {
                    bad("needs a cell, two digits of flags and two of width (as DAB0110)");
                    continue;
                }
                if (!sumTotal && !(isLetter(e[1]) && isLetter(e[2]))) {
                    bad("addresses no cell: " + e.substr(1, 2) + " is not two capital letters");
                    continue;
                }
                if (sumTotal && !(e.substr(1, 2) == "##" || (e[1] == '#' && isLetter(e[2])) ||
                                  (e[2] == '#' && isLetter(e[1])))) {
                    bad("addresses no row or column: " + e.substr(1, 2));
                    continue;
                }
            } else if (e.size() < 5 || !twoDigits(e, 1) || !twoDigits(e, 3)) {
                bad("needs two digits of flags and two of width (as T0110[AA*2])");
                continue;
            }
            const std::size_t flagsAt = expressionTotal ? 1 : 3;
            const int flags = TwoDigitField::Read(e, flagsAt);
            const int width = TwoDigitField::Read(e, flagsAt + 2);
            if (e[0] == 'C' || expressionTotal) {
                const std::size_t open = expressionTotal ? 5 : 7;
                const std::size_t close = e.find(']', open + 1);
                if (e.size() <= open || e[open] != '[' || close == std::string::npos ||
                    close - open - 1 < 2) {
                    bad("has no expression in [...] of two characters or more, so it is skipped");
                    continue;
                }
                std::vector<std::string> cells;
                if (auto p = readExpression(std::string_view(e).substr(open + 1, close - open - 1), cells)) {
                    bad(*p);
                    continue;
                }
                for (const auto& cell : cells) {
                    const auto it = filledBy.find(cell);
                    if (it == filledBy.end())
                        bad("reads " + cell + ", which no field fills (it reads 0)");
                    else if (it->second >= k)
                        bad("reads " + cell + " before the field that fills it (it reads 0)");
                }
            }
            const std::size_t needed = TemplateChecker::PlausibleWidth(flags);
            if (static_cast<std::size_t>(width) < needed)
                bad("has width " + std::to_string(width) + "; " +
                    ((flags & 2) ? "amounts up to $999,999.99" : "numbers up to 99,999.99") + " need " +
                    std::to_string(needed));
        }
        checkUnroundedTotals(equations, where);
    }

    /// The expression of a C or expression-form T entry, or nothing.
    static std::optional<std::string_view> expressionOf(std::string_view e) {
        const bool expressionTotal = e.size() >= 3 && e[0] == 'T' && e[1] != '#' && e[2] != '#';
        if (e.empty() || (e[0] != 'C' && !expressionTotal))
            return std::nullopt;
        const std::size_t open = expressionTotal ? 5 : 7;
        const std::size_t close = e.find(']', open + 1);
        if (e.size() <= open || e[open] != '[' || close == std::string_view::npos)
            return std::nullopt;
        return e.substr(open + 1, close - open - 1);
    }

    /// The equations keep every value unrounded and have no way to round: money worked out by
    /// multiplying or dividing prints rounded to cents, but a total adds the unrounded values
    /// (2.5 x 33.33 prints $83.33 twice, and their total $166.65).
    void checkUnroundedTotals(const std::vector<Equation>& equations, const Positions& where) {
        std::map<std::string, std::size_t> unrounded; // cell -> entry computing it
        for (std::size_t k = 0; k < equations.size(); ++k) {
            const std::string& e = equations[k].entry;
            const auto expression = expressionOf(e);
            if (expression && e[0] == 'C' && isLetter(e[1]) && isLetter(e[2]) && twoDigits(e, 3) &&
                (TwoDigitField::Read(e, 3) & 2) && expression->find_first_of("*/") != std::string_view::npos)
                unrounded.emplace(e.substr(1, 2), k);
        }
        if (unrounded.size() < 2)
            return;
        for (std::size_t k = 0; k < equations.size(); ++k) {
            const std::string& e = equations[k].entry;
            std::set<std::string> added;
            const auto take = [&](const std::string& cell) {
                const auto it = unrounded.find(cell);
                if (it != unrounded.end() && it->second < k)
                    added.insert(cell);
            };
            if (e.size() >= 3 && e[0] == 'T' && (e[1] == '#' || e[2] == '#')) {
                for (const auto& [cell, entry] : unrounded)
                    if ((e[1] == '#' || e[1] == cell[0]) && (e[2] == '#' || e[2] == cell[1]))
                        take(cell);
            } else if (const auto expression = expressionOf(e);
                       expression && expression->find_first_of("+-") != std::string_view::npos) {
                std::vector<std::string> cells;
                if (readExpression(*expression, cells))
                    continue; // refused already
                for (const auto& cell : cells)
                    take(cell);
            }
            if (added.size() < 2)
                continue;
            std::string names;
            for (const auto& cell : added)
                names += (names.empty() ? "" : ", ") + cell + " (" + equations[unrounded[cell]].entry + ")";
            const auto [line, column] = where.at(equations[k].offset);
            add(line, column,
                "equation " + e + " adds " + names +
                    ", money worked out by multiplying or dividing; equations do not round it to "
                    "cents, so the total can be a cent off the amounts printed");
        }
    }

    std::string_view file_;
    std::vector<std::string> order_;
    TemplateChecker::Report report_;
};

} // namespace

std::size_t TemplateChecker::PlausibleWidth(int flags) {
    const double largest = (flags & 2) ? kPlausibleMoney : kPlausibleNumber;
    const double value = (flags & 1) ? largest : std::floor(largest + 0.5);
    LocaleFormatter::Options o;
    o.fractionalDigits = (flags & 1) ? 2 : 0;
    o.currencySymbol = "$";
    const std::string text = NumericFields::fixed6(value);
    const auto formatted =
        (flags & 2) ? LocaleFormatter::formatCurrency(text, o) : LocaleFormatter::formatNumber(text, o);
    return formatted ? formatted->size() : 0;
}

TemplateChecker::Report TemplateChecker::Check(std::string_view bytes) {
    return Checker(bytes).run();
}

} // namespace qv::tools
