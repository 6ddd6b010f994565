#pragma once

#include <string>
#include <vector>

namespace qv {
class UserMessages;
}

namespace qv::setup {

class SetupUi;

/// The uninstall ("/U", a separator, the install folder ending in "/", "|", a second
/// path): the catalogue first, then, unless other products of the suite remain,
/// everything the suite shares. Nothing that fails to go is reported.
class UninstallProcedure {
public:
    static constexpr const char* kCaption = "Q-V Uninstall";

    UninstallProcedure(std::string commandLine, UserMessages& messages, SetupUi& ui);
    int Run();

    /// The 29 keys, in the order they go (root, key path).
    static std::vector<std::pair<int, std::string>> Keys();

private:
    std::string commandLine_;
    UserMessages& messages_;
    SetupUi& ui_;
};

} // namespace qv::setup
