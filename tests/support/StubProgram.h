#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

/// Copies of the stub program under the names of the programs it stands in for. Each
/// start appends "NAME<TAB>ARG<TAB>ARG..." to the log.
class StubProgram {
public:
    /// Installs the stub as `folder`/`name` (executable) and returns its path.
    static std::filesystem::path install(const std::filesystem::path& folder, const std::string& name);

    /// The log lines of stubs in `folder` (log "stub.log" there), waiting up to two
    /// seconds for `atLeast` of them: started programs run on their own.
    static std::vector<std::string> lines(const std::filesystem::path& folder, std::size_t atLeast = 1);
};

} // namespace qv::test
