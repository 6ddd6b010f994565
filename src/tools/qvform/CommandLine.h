#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::tools {

/// Bad usage: the message is the one-line reason shown before exiting with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The words after the command: positional arguments, "--name value" / "--name=value"
/// options and bare flags. Which names take a value and which are flags is given, so an
/// unknown option is an error rather than a silent guess.
class CommandLine {
public:
    CommandLine(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                const std::set<std::string>& flagOptions = {});

    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }

    /// An option's whole-number value within [min, max], or the default when absent.
    int intValue(const std::string& name, int defaultValue, int min, int max) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
};

} // namespace qv::tools
