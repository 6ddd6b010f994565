#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

/// Starts other programs without a shell: detached from this one (the started program
/// outlives us and never becomes a zombie), or run to its end for what it prints.
class ProcessStarter {
public:
    /// The executable file `name` on $PATH (or `name` itself when it holds a "/").
    static std::optional<std::filesystem::path> FindOnPath(const std::string& name);
    static bool IsExecutableFile(const std::filesystem::path& file);
    /// The folders of $PATH in order (a default when it is unset).
    static std::vector<std::filesystem::path> PathFolders();

    /// Starts `program` with `arguments`; true once the program is running, false when
    /// it could not be started (missing, not executable, out of processes).
    static bool StartDetached(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments);

    struct Output {
        int exitCode = -1;
        std::string standardOutput;
    };
    /// Runs `program` to its end and collects what it prints (up to 64 KiB). A program
    /// still running after `timeout` is killed; then, or when it could not start, nothing.
    static std::optional<Output> Run(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     std::chrono::milliseconds timeout);
};

} // namespace qv::platform
