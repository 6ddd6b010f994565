#pragma once

#include <filesystem>
#include <vector>

namespace qv::platform {

/// The folders and files in the user's home that the setup's menu entries, file types,
/// icons and settings store may bring into being. The install notes which of them were
/// not there before it, so that the uninstall takes away what the suite made and leaves
/// what the user had, even an empty folder.
class SetupFootprint {
public:
    /// Every such place, each folder before what lies in it.
    static std::vector<std::filesystem::path> Places();
    /// The places that are not there now.
    static std::vector<std::filesystem::path> Absent();
    /// Takes away those of `created` that hold nothing of anyone's any more: an empty
    /// folder or settings file, a cache of the desktop's tools, the MIME database once no
    /// package is left in it. Failures are passed over.
    static void RemoveLeftovers(const std::vector<std::filesystem::path>& created);
};

} // namespace qv::platform
