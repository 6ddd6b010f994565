#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

/// A desktop entry file read back as the desktop reads it, independent of the code that
/// wrote it: the keys of its main group with the string escapes undone, and the Exec
/// key split into the words a launcher starts.
class DesktopEntryCheck {
public:
    explicit DesktopEntryCheck(const std::filesystem::path& file);

    /// The raw value of a key of the main group ("" when missing).
    std::string raw(const std::string& key) const;
    /// The value with "\s", "\n", "\t", "\r" and "\\" undone.
    std::string value(const std::string& key) const;
    /// The words of Exec: quoting undone, "%%" as "%"; a field code stays as written.
    std::vector<std::string> execWords() const;
    /// What desktop-file-validate finds wrong ("" when it accepts the file, or when the
    /// validator is not installed).
    std::string validatorComplaints() const;
    static bool ValidatorInstalled();

private:
    std::filesystem::path file_;
    std::map<std::string, std::string> keys_;
};

} // namespace qv::test
