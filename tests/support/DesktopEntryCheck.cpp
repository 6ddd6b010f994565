#include "support/DesktopEntryCheck.h"

#include "platform/ProcessStarter.h"
#include "support/TempDir.h"

#include <chrono>
#include <sstream>

namespace qv::test {

DesktopEntryCheck::DesktopEntryCheck(const std::filesystem::path& file) : file_(file) {
    std::istringstream in(TempDir::read(file));
    std::string line;
    bool main = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            main = line == "[Desktop Entry]";
            continue;
        }
        const auto eq = line.find('=');
        if (main && eq != std::string::npos)
            keys_[line.substr(0, eq)] = line.substr(eq + 1);
    }
}

std::string DesktopEntryCheck::raw(const std::string& key) const {
    const auto it = keys_.find(key);
    return it == keys_.end() ? std::string() : it->second;
}

std::string DesktopEntryCheck::value(const std::string& key) const {
    const std::string s = raw(key);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> DesktopEntryCheck::execWords() const {
    const std::string s = value("Exec");
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < s.size() &&
                     std::string("\"`$\\").find(s[i + 1]) != std::string::npos)
                word += s[++i];
            else
                word += c;
        } else if (c == ' ') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    for (auto& w : words) {
        std::string plain;
        for (std::size_t i = 0; i < w.size(); ++i) {
            plain += w[i];
            if (w[i] == '%' && i + 1 < w.size() && w[i + 1] == '%')
                ++i;
        }
        w = plain;
    }
    return words;
}

bool DesktopEntryCheck::ValidatorInstalled() {
    return platform::ProcessStarter::FindOnPath("desktop-file-validate").has_value();
}

std::string DesktopEntryCheck::validatorComplaints() const {
    const auto validator = platform::ProcessStarter::FindOnPath("desktop-file-validate");
    if (!validator)
        return {};
    const auto r = platform::ProcessStarter::Run(*validator, {file_.string()}, std::chrono::seconds(20));
    if (!r)
        return "desktop-file-validate did not run";
    // Hints are advice; errors and warnings are faults.
    std::string faults;
    std::istringstream in(r->standardOutput);
    std::string line;
    while (std::getline(in, line))
        if (line.find("error:") != std::string::npos || line.find("warning:") != std::string::npos)
            faults += line + "\n";
    if (faults.empty() && r->exitCode != 0)
        faults = "desktop-file-validate refused it";
    return faults;
}

} // namespace qv::test
