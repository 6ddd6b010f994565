#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace qv::platform {

/// File names found as the original platform found them: without regard to case. Every
/// path a command line, the handoff entry or a data file names goes through here, so a
/// form written as "TOLVAD/PR01.QVF" opens as "Tolvad/PR01.qvf".
class CaseBlindPath {
public:
    /// The existing file or folder `path` names: the path itself when it exists; else each
    /// component in turn, the exact name when it is there, otherwise the first entry of its
    /// folder (in sorted order) that differs only in case; a component that leads on must
    /// be a folder. `path` unchanged when nothing matches. A relative path stays relative
    /// and a trailing "/" stays.
    static std::filesystem::path Resolve(const std::filesystem::path& path);

    /// The entries of `folder` named `name` without regard to case: the exact name first,
    /// then the others in sorted order.
    static std::vector<std::filesystem::path> Matches(const std::filesystem::path& folder,
                                                      std::string_view name);

    /// Two names equal without regard to (ASCII) case.
    static bool SameName(std::string_view a, std::string_view b);
};

} // namespace qv::platform
