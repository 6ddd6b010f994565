#pragma once

#include <map>
#include <string>
#include <vector>

namespace qv::test {

/// Runs a real program and collects what it printed and how it ended.
class ProcessRunner {
public:
    struct Result {
        int exitCode = -1; // -1 when it did not exit normally
        std::string out;
        std::string err;
    };

    /// Runs `program` with `args`; `env` entries are added to (or replace) the environment.
    static Result run(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {}, const std::string& input = {});
};

} // namespace qv::test
