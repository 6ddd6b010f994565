#pragma once

#include <string>
#include <vector>

namespace qv::setup {

/// What an install brought onto the machine beyond the files of its table, kept in the
/// settings store under the setup's own key, so that the uninstall removes that and
/// nothing of the user's: the forms it wrote, the places in the home that were not
/// there before it, the defaults' section it added to the user's list of default
/// applications and the parent of the uninstall key when it had to make it.
class InstallRecord {
public:
    static constexpr const char* kKey = "SOFTWARE\\Q-V Davov Software\\Setup";

    bool present = false;           // read from the store
    std::vector<std::string> forms; // file names in the forms folder
    std::vector<std::string> created;
    bool defaultsSectionCreated = false;
    bool uninstallParentCreated = false;

    static InstallRecord Load();
    /// Keeps what an earlier record says as well: what a first install made stays the
    /// setup's own when a second one finds it already there.
    void Store() const;
};

} // namespace qv::setup
