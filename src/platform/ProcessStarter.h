#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

/// Starts other programs without a shell, detached from this one (the started program
/// outlives us and never becomes a zombie).
class ProcessStarter {
public:
    /// The executable file `name` on $PATH (or `name` itself when it holds a "/").
    static std::optional<std::filesystem::path> FindOnPath(const std::string& name);

    /// Starts `program` with `arguments`; true once the program is running, false when
    /// it could not be started (missing, not executable, out of processes).
    static bool StartDetached(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments);
};

} // namespace qv::platform
