#include "platform/MimeAppsList.h"

#include "platform/AtomicFile.h"

#include <optional>
#include <system_error>

namespace qv::platform {
namespace {

constexpr std::uintmax_t kMaxList = 4u << 20;

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

/// The file as lines, each with its own line ending (the last may have none).
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        const auto next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

bool isHeader(std::string_view line) {
    const auto t = trimmed(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

bool isHeaderOf(std::string_view line, std::string_view section) {
    const auto t = trimmed(line);
    return isHeader(line) && t.substr(1, t.size() - 2) == section;
}

bool isBlank(std::string_view line) {
    return trimmed(line).empty();
}

/// The key of a "key=value" line, else empty.
std::string_view keyOf(std::string_view line) {
    const auto t = trimmed(line);
    if (t.empty() || t.front() == '#' || isHeader(t))
        return {};
    const auto eq = t.find('=');
    return eq == std::string_view::npos ? std::string_view() : trimmed(t.substr(0, eq));
}

std::string_view valueOf(std::string_view line) {
    const auto t = trimmed(line);
    const auto eq = t.find('=');
    auto v = eq == std::string_view::npos ? std::string_view() : trimmed(t.substr(eq + 1));
    if (!v.empty() && v.back() == ';')
        v.remove_suffix(1);
    return v;
}

/// [first line after the header, end of the section) of the first section so named;
/// nothing when there is none.
std::optional<std::pair<std::size_t, std::size_t>> sectionRange(const std::vector<std::string>& lines,
                                                                std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isHeaderOf(lines[i], section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !isHeader(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l;
    return out;
}

} // namespace

MimeAppsList::MimeAppsList(std::filesystem::path file) : file_(std::move(file)) {}

bool MimeAppsList::SetDefaults(std::string_view section, const Defaults& defaults) {
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(file_, ec) && AtomicFile::read(file_, text, kMaxList))
        return false;
    auto lines = splitLines(text);
    bool added = false;
    auto range = sectionRange(lines, section);
    if (!range) {
        if (!lines.empty() && lines.back().back() != '\n')
            lines.back() += '\n';
        lines.push_back("[" + std::string(section) + "]\n");
        range = std::make_pair(lines.size(), lines.size());
        added = true;
    }
    for (const auto& [type, launcher] : defaults) {
        const std::string line = type + "=" + launcher + "\n";
        bool replaced = false;
        for (std::size_t i = range->first; i < range->second; ++i)
            if (keyOf(lines[i]) == type) {
                lines[i] = line;
                replaced = true;
                break;
            }
        if (replaced)
            continue;
        // After the section's last line, so that blank lines before the next one stay.
        std::size_t at = range->second;
        while (at > range->first && isBlank(lines[at - 1]))
            --at;
        if (at > 0 && lines[at - 1].back() != '\n')
            lines[at - 1] += '\n';
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        ++range->second;
    }
    (void)AtomicFile::write(file_, joined(lines));
    return added;
}

void MimeAppsList::RemoveDefaults(std::string_view section, const Defaults& defaults, bool dropEmptySection) {
    std::string text;
    if (AtomicFile::read(file_, text, kMaxList))
        return;
    auto lines = splitLines(text);
    const auto range = sectionRange(lines, section);
    if (!range)
        return;
    std::vector<std::string> kept(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(range->first));
    bool anyLeft = false;
    for (std::size_t i = range->first; i < range->second; ++i) {
        bool ours = false;
        for (const auto& [type, launcher] : defaults)
            ours = ours || (keyOf(lines[i]) == type && valueOf(lines[i]) == launcher);
        if (ours)
            continue;
        anyLeft = true;
        kept.push_back(lines[i]);
    }
    if (dropEmptySection && !anyLeft)
        kept.pop_back(); // the header
    kept.insert(kept.end(), lines.begin() + static_cast<std::ptrdiff_t>(range->second), lines.end());
    if (kept != lines)
        (void)AtomicFile::write(file_, joined(kept));
}

} // namespace qv::platform
