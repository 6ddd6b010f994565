#include "platform/CaseBlindPath.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace qv::platform {
namespace {

bool present(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(p, ec));
}

bool isFolder(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::is_directory(p, ec);
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool CaseBlindPath::SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::vector<std::filesystem::path> CaseBlindPath::Matches(const std::filesystem::path& folder,
                                                          std::string_view name) {
    std::vector<std::filesystem::path> found;
    if (name.empty())
        return found;
    const std::filesystem::path exact = folder / std::string(name);
    // The exact name is looked at directly: a folder that may be entered but not listed
    // still finds it.
    if (present(exact))
        found.push_back(exact);
    std::vector<std::filesystem::path> others;
    std::error_code ec;
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    for (std::filesystem::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (entry != name && SameName(entry, name))
            others.push_back(folder / entry);
    }
    std::sort(others.begin(), others.end());
    found.insert(found.end(), others.begin(), others.end());
    return found;
}

std::filesystem::path CaseBlindPath::Resolve(const std::filesystem::path& path) {
    if (path.empty() || present(path))
        return path;
    const std::filesystem::path relative = path.relative_path();
    const std::vector<std::filesystem::path> parts(relative.begin(), relative.end());
    std::filesystem::path out = path.root_path();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string part = parts[i].string();
        // "." and "..", and the empty last part a trailing "/" leaves, are kept as they are.
        if (part.empty() || part == "." || part == "..") {
            out /= parts[i];
            continue;
        }
        const bool leadsOn = i + 1 < parts.size();
        bool matched = false;
        for (const auto& candidate : Matches(out, part)) {
            if (!leadsOn || isFolder(candidate)) {
                out /= candidate.filename();
                matched = true;
                break;
            }
        }
        if (!matched)
            return path;
    }
    return out;
}

} // namespace qv::platform
