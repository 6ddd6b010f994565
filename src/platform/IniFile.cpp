#include "platform/IniFile.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace qv::platform {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not valid.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    char32_t c = 0;
    return CodePage::decodeUtf8(s, i, c);
}

enum class Role { Section, Key, Value };

bool needsQuotes(std::string_view s, Role role) {
    if (s.empty())
        return role != Role::Value;
    if (isBlank(s.front()) || isBlank(s.back()) || s.front() == '"')
        return true;
    if (role == Role::Key && (s.front() == ';' || s.front() == '#' || s.front() == '['))
        return true;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F)
            return true;
        if (role == Role::Key && c == '=')
            return true;
        if (role == Role::Section && c == ']')
            return true;
        std::size_t n = utf8Length(s, i);
        if (n == 0)
            return true;
        i += n;
    }
    return false;
}

std::string quote(std::string_view s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = utf8Length(s, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F || n == 0) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
            n = 1;
        } else {
            out.append(s.substr(i, n));
            i += n;
            continue;
        }
        i += n == 0 ? 1 : n;
    }
    out += '"';
    return out;
}

std::string encode(std::string_view s, Role role) {
    return needsQuotes(s, role) ? quote(s) : std::string(s);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at s[0] == '"'. Returns the text and how many bytes it
// took, or nothing when the quote is not closed (the caller then keeps the raw text).
std::optional<std::pair<std::string, std::size_t>> unquote(std::string_view s) {
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"')
            return std::make_pair(out, i + 1);
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        char e = s[++i];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x':
            if (i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
                out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
                i += 2;
            } else {
                out += "\\x";
            }
            break;
        default:
            out += e;
            break;
        }
    }
    return std::nullopt;
}

// A name or value as written: quoted when it opens with a quote that closes at its end.
std::string decodeField(std::string_view raw) {
    raw = trim(raw);
    if (!raw.empty() && raw.front() == '"') {
        auto q = unquote(raw);
        if (q && trim(raw.substr(q->second)).empty())
            return q->first;
    }
    return std::string(raw);
}

// A name as the case-blind comparison sees it.
std::string folded(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

} // namespace

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    // Sections and keys found by their folded names, so that a file of many sections or
    // keys reads in time proportional to its length.
    std::unordered_map<std::string, std::size_t> sectionAt;
    std::unordered_map<std::string, std::size_t> keyAt; // section number, NUL, folded key
    Section* current = nullptr;
    std::string currentPrefix;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        line = trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            std::string name;
            std::string_view rest = line.substr(1);
            auto q = rest.empty() || rest.front() != '"' ? std::nullopt : unquote(rest);
            if (q && trim(rest.substr(q->second)) == "]") {
                name = q->first;
            } else {
                std::size_t close = rest.rfind(']');
                name = std::string(trim(rest.substr(0, close)));
            }
            auto [at, added] = sectionAt.try_emplace(folded(name), ini.sections_.size());
            if (added)
                ini.sections_.push_back({name, {}});
            current = &ini.sections_[at->second];
            currentPrefix = std::to_string(at->second) + '\0';
            continue;
        }
        if (!current)
            continue; // a value before any section belongs nowhere
        std::string key;
        std::string_view valueText;
        if (line.front() == '"') {
            auto q = unquote(line);
            if (!q)
                continue;
            std::string_view rest = trim(line.substr(q->second));
            if (rest.empty() || rest.front() != '=')
                continue;
            key = q->first;
            valueText = rest.substr(1);
        } else {
            std::size_t eq = line.find('=');
            if (eq == std::string_view::npos)
                continue;
            key = std::string(trim(line.substr(0, eq)));
            valueText = line.substr(eq + 1);
        }
        std::string value = decodeField(valueText);
        auto [at, added] = keyAt.try_emplace(currentPrefix + folded(key), current->entries.size());
        if (added)
            current->entries.push_back({std::move(key), std::move(value)});
        else
            current->entries[at->second].value = std::move(value); // the last of duplicate keys wins
    }
    return ini;
}

std::string IniFile::serialize() const {
    std::string out;
    for (const Section& s : sections_) {
        if (!out.empty())
            out += '\n';
        out += '[';
        out += encode(s.name, Role::Section);
        out += "]\n";
        for (const Entry& e : s.entries) {
            out += encode(e.key, Role::Key);
            out += '=';
            out += encode(e.value, Role::Value);
            out += '\n';
        }
    }
    return out;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    for (Section& s : sections_)
        if (equalsNoCase(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (equalsNoCase(e.key, key))
                return e.value;
    return std::nullopt;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = findSection(section);
    if (!s) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (Entry& e : s->entries) {
        if (equalsNoCase(e.key, key)) {
            e.value = std::string(value);
            return;
        }
    }
    s->entries.push_back({std::string(key), std::string(value)});
}

bool IniFile::removeValue(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s)
        return false;
    auto it = std::find_if(s->entries.begin(), s->entries.end(),
                           [&](const Entry& e) { return equalsNoCase(e.key, key); });
    if (it == s->entries.end())
        return false;
    s->entries.erase(it);
    return true;
}

bool IniFile::removeSection(std::string_view section) {
    auto it = std::find_if(sections_.begin(), sections_.end(),
                           [&](const Section& s) { return equalsNoCase(s.name, section); });
    if (it == sections_.end())
        return false;
    sections_.erase(it);
    return true;
}

void IniFile::addSection(std::string_view section) {
    if (!findSection(section))
        sections_.push_back(Section{std::string(section), {}});
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            names.push_back(e.key);
    return names;
}

} // namespace qv::platform
