#include "tools/qvform/TemplateCompiler.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace qv::tools {
namespace {

constexpr std::size_t kMaxLine = 253;   // the reader takes 254 characters with the line end
constexpr std::size_t kMaxName = 251;   // ":" + name + CR LF in one read, or the name loses a letter
constexpr std::size_t kMaxBody = 60000; // the reader stops there

const std::map<std::string, unsigned char> kMarks = {
    {"para", 0xAE}, {"u", 0xB5}, {"mark", 0xE1}, {"center", 0xE4}, {"double", 0xE8}, {"blank", 0xC3},
};
const std::map<std::string, unsigned char> kSizedMarks = {
    {"blank", 0xC6},
    {"pad", 0xD7},
    {"fixed", 0xEE},
};

/// Bytes the reader takes as marks or that end the body: never plain text.
bool isMarkByte(unsigned char b) {
    switch (b) {
    case 0x00:
    case 0x0A:
    case 0x0D:
    case 0x7C:
    case 0xAE:
    case 0xB5:
    case 0xE6:
    case 0xE1:
    case 0xC3:
    case 0xC6:
    case 0xD7:
    case 0xE4:
    case 0xF0:
    case 0xE8:
    case 0xEE:
    case 0xF1:
        return true;
    default:
        return false;
    }
}

bool isName(const std::string& s) {
    if (s.empty() || s.size() > kMaxName)
        return false;
    for (unsigned char c : s)
        if (!(std::isupper(c) || std::isdigit(c) || c == '_'))
            return false;
    return true;
}

struct Line {
    int number;
    std::string text; // UTF-8, without its line end
};

class Compiler {
public:
    explicit Compiler(std::string_view source) {
        int number = 1;
        std::size_t from = 0;
        while (from <= source.size()) {
            std::size_t to = source.find('\n', from);
            if (to == std::string_view::npos)
                to = source.size();
            std::string text(source.substr(from, to - from));
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            if (!(to == source.size() && text.empty()))
                lines_.push_back({number, text});
            ++number;
            from = to + 1;
        }
    }

    TemplateCompiler::Result run() {
        std::size_t i = 0;
        std::string header;
        std::string free;
        std::string declarations;
        bool body = false;
        for (; i < lines_.size() && !body; ++i) {
            const Line& l = lines_[i];
            if (l.text.empty() || l.text[0] == '#')
                continue;
            if (l.text.rfind("@form", 0) == 0) {
                const std::string o = trim(l.text.substr(5));
                if (o != "Portrait" && o != "Landscape")
                    problem(l.number, 1, "@form takes Portrait or Landscape");
                header = "Form      " + o + "\r\n";
                headerSource_ = l.number;
            } else if (l.text.rfind("@about", 0) == 0) {
                const std::string about = trim(l.text.substr(6));
                if (about.rfind(':', 0) == 0) // it would be read as the first declaration
                    problem(l.number, 7, "an @about line cannot start with \":\"");
                free += headerLine(l, about) + "\r\n";
                freeSources_.push_back(l.number);
            } else if (l.text.rfind("@var", 0) == 0) {
                const std::string name = trim(l.text.substr(4));
                if (!isName(name))
                    problem(l.number, 6, "a variable name is 1 to 251 capital letters, digits and \"_\"");
                else if (declared_.count(name))
                    problem(l.number, 6, "the variable " + name + " is declared twice");
                declared_.insert(name);
                declarations += ":" + name + "\r\n";
                declarationSources_.push_back(-l.number); // ":NAME" from "@var NAME"
                // The prompt: the lines up to the next directive, blank lines at its end dropped.
                std::vector<const Line*> prompt;
                while (i + 1 < lines_.size() && lines_[i + 1].text.rfind('@', 0) != 0) {
                    ++i;
                    if (lines_[i].text.rfind('#', 0) != 0)
                        prompt.push_back(&lines_[i]);
                }
                while (!prompt.empty() && trim(prompt.back()->text).empty())
                    prompt.pop_back();
                for (const Line* p : prompt) {
                    if (p->text.rfind(':', 0) == 0)
                        problem(p->number, 1, "a prompt line cannot start with \":\"");
                    declarations += headerLine(*p, p->text) + "\r\n";
                    declarationSources_.push_back(p->number);
                }
            } else if (l.text == "@body") {
                body = true;
                // The program reads no form without a declaration.
                if (declared_.empty())
                    problem(l.number, 1, "a form declares at least one variable with @var");
            } else {
                problem(l.number, 1, "expected @form, @about, @var or @body");
            }
        }
        if (header.empty())
            problem(1, 1, "the source has no @form line");
        if (!body)
            problem(lines_.empty() ? 1 : lines_.back().number, 1, "the source has no @body");
        const int separatorLine = (headerSource_ ? 1 : 0) + static_cast<int>(freeSources_.size()) +
                                  static_cast<int>(declarationSources_.size()) + 1;
        const int bodySource = i > 0 && i <= lines_.size() ? lines_[i - 1].number : 1;
        std::string bodyBytes;
        for (; i < lines_.size(); ++i)
            bodyBytes += compileBodyLine(lines_[i], bodyBytes.size());
        if (bodyBytes.size() > kMaxBody)
            problem(lines_.empty() ? 1 : lines_.back().number, 1,
                    "the body is " + std::to_string(bodyBytes.size()) + " bytes; forms hold at most 60000");
        TemplateCompiler::Result r;
        r.problems = std::move(problems_);
        // The file's lines in the order written: the header, the free lines, the declarations
        // with their prompts, the separator (from "@body") and the body, one line.
        int line = 1;
        if (headerSource_)
            r.origins.push_back({line++, 1, headerSource_, 1, false});
        for (int source : freeSources_)
            r.origins.push_back({line++, 1, source, 1, false});
        for (int source : declarationSources_) {
            if (source < 0)
                r.origins.push_back({line++, 1, -source, 5, true});
            else
                r.origins.push_back({line++, 1, source, 1, true});
        }
        r.origins.push_back({separatorLine, 1, bodySource, 1, false});
        for (const auto& spot : bodyOrigins_)
            r.origins.push_back({separatorLine + 1, static_cast<int>(spot.offset) + 1, spot.line, spot.column,
                                 spot.oneToOne});
        if (r.problems.empty())
            r.bytes = header + free + declarations + "\x15\r\n" + bodyBytes + "\r\n";
        return r;
    }

private:
    static std::string trim(const std::string& s) {
        const auto a = s.find_first_not_of(" \t");
        if (a == std::string::npos)
            return {};
        return s.substr(a, s.find_last_not_of(" \t") - a + 1);
    }

    void problem(int line, int column, std::string message) {
        problems_.push_back({line, column, std::move(message)});
    }

    /// Text of the header sections in Windows-1252, checked for what the reader accepts.
    std::string headerLine(const Line& l, const std::string& text) {
        std::string bytes = toWindows1252(l, text, 1);
        if (bytes.size() > kMaxLine)
            problem(l.number, static_cast<int>(kMaxLine) + 1, "the line is longer than 253 characters");
        if (!bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0x15)
            problem(l.number, 1, "a line cannot start with the separator byte");
        return bytes;
    }

    std::string toWindows1252(const Line& l, std::string_view text, int firstColumn) {
        std::string out;
        int column = firstColumn;
        for (std::size_t at = 0; at < text.size();) {
            char32_t c = 0;
            const std::size_t n = CodePage::decodeUtf8(text, at, c);
            if (n == 0) {
                problem(l.number, column, "the text is not UTF-8");
                return out;
            }
            const std::string b = CodePage::fromUtf8(text.substr(at, n));
            if (b == "?" && c != U'?')
                problem(l.number, column, "this character has no Windows-1252 form");
            out += b;
            at += n;
            ++column;
        }
        return out;
    }

    std::string compileBodyLine(const Line& l, std::size_t bodyOffset) {
        const std::string& t = l.text;
        std::string out;
        std::size_t at = 0;
        int column = 1;
        const auto origin = [&](bool oneToOne) {
            bodyOrigins_.push_back({bodyOffset + out.size(), l.number, column, oneToOne});
        };
        const auto plain = [&](std::size_t from, std::size_t to) {
            if (from < to)
                bodyOrigins_.push_back({bodyOffset + out.size(), l.number, column, true});
            const std::string bytes = toWindows1252(l, std::string_view(t).substr(from, to - from), column);
            for (std::size_t k = 0; k < bytes.size(); ++k)
                if (isMarkByte(static_cast<unsigned char>(bytes[k])))
                    problem(l.number, column + static_cast<int>(k),
                            "this character is a layout mark in a form; write it as a {...} token or leave "
                            "it out");
            out += bytes;
        };
        while (at < t.size()) {
            const std::size_t next = t.find_first_of("{|", at);
            const std::size_t stop = next == std::string::npos ? t.size() : next;
            plain(at, stop);
            column += static_cast<int>(utf8Length(t.substr(at, stop - at)));
            at = stop;
            if (at >= t.size())
                break;
            if (t[at] == '|') {
                const std::size_t close = t.find('|', at + 1);
                const std::string name =
                    close == std::string::npos ? std::string() : t.substr(at + 1, close - at - 1);
                if (close == std::string::npos) {
                    problem(l.number, column, "a variable reference needs its closing \"|\"");
                    return out;
                }
                if (!declared_.count(name))
                    problem(l.number, column + 1, "the variable " + name + " is not declared");
                origin(true);
                out += "|" + name + "|";
                column += static_cast<int>(close - at + 1);
                at = close + 1;
                continue;
            }
            // A token.
            if (t.compare(at, 2, "{{") == 0) {
                origin(false);
                out += '{';
                at += 2;
                column += 2;
                continue;
            }
            const std::size_t close = t.find('}', at);
            if (close == std::string::npos) {
                problem(l.number, column, "a token needs its closing \"}\"");
                return out;
            }
            const std::string token = t.substr(at + 1, close - at - 1);
            origin(false);
            out += compileToken(l, column, token, t, close + 1);
            column += static_cast<int>(close - at + 1);
            at = close + 1;
        }
        return out;
    }

    static std::size_t utf8Length(const std::string& s) {
        std::size_t n = 0;
        for (unsigned char c : s)
            n += (c & 0xC0) != 0x80;
        return n;
    }

    std::string compileToken(const Line& l, int column, const std::string& token, const std::string& t,
                             std::size_t after) {
        if (auto it = kMarks.find(token); it != kMarks.end())
            return std::string(1, static_cast<char>(it->second));
        if (!token.empty() && token[0] == '=') {
            const std::string entry = trim(token.substr(1));
            // A NUL would end the body where the program reads it.
            const bool control = std::any_of(entry.begin(), entry.end(),
                                             [](char c) { return static_cast<unsigned char>(c) < 0x20; });
            if (entry.empty() || entry.find('|') != std::string::npos || control)
                problem(l.number, column, "{= ...} holds an equation entry such as DAA0110");
            if (after >= t.size() || t[after] != '|')
                problem(l.number, column, "an equation is followed at once by the |VARIABLE| it fills");
            return "\xF1" + toWindows1252(l, entry, column + 2);
        }
        const auto space = token.find(' ');
        if (space != std::string::npos) {
            const std::string word = token.substr(0, space);
            const std::string number = trim(token.substr(space + 1));
            if (auto it = kSizedMarks.find(word); it != kSizedMarks.end()) {
                const bool digits = !number.empty() && number.size() <= 2 &&
                                    number.find_first_not_of("0123456789") == std::string::npos;
                const int n = digits ? std::stoi(number) : 0;
                if (n < 1 || n > 99) {
                    problem(l.number, column, "{" + word + " N} takes a width from 1 to 99");
                    return {};
                }
                const char two[3] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10), 0};
                return std::string(1, static_cast<char>(it->second)) + two;
            }
        }
        problem(l.number, column, "unknown token {" + token + "}");
        return {};
    }

    struct BodyOrigin {
        std::size_t offset; // in the body
        int line;
        int column;
        bool oneToOne;
    };

    std::vector<Line> lines_;
    int headerSource_ = 0;
    std::vector<int> freeSources_;
    std::vector<int> declarationSources_;
    std::vector<BodyOrigin> bodyOrigins_;
    std::set<std::string> declared_;
    std::vector<TemplateCompiler::Problem> problems_;
};

} // namespace

TemplateCompiler::Result TemplateCompiler::Compile(std::string_view source) {
    return Compiler(source).run();
}

std::pair<int, int> TemplateCompiler::SourcePosition(const std::vector<Origin>& origins, int line,
                                                     int column) {
    const Origin* best = nullptr;
    for (const Origin& o : origins)
        if (o.line == line && o.column <= column && (!best || o.column >= best->column))
            best = &o;
    if (!best)
        return {line, column};
    return {best->sourceLine,
            best->oneToOne ? best->sourceColumn + (column - best->column) : best->sourceColumn};
}

} // namespace qv::tools
