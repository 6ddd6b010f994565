#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::platform {

/// The setup's registry keys in the suite's settings folder: one INI file per root key
/// ("HKEY_LOCAL_MACHINE.ini", "HKEY_CLASSES_ROOT.ini"), key paths as section names, a
/// key's default value under the name "@". Per-user keys of the suite's programs
/// ("Software\Q-V Davov Software\QVLegal\...") are those programs' own settings files.
class RegistryStore {
public:
    enum Root { LocalMachine, ClassesRoot, CurrentUser };

    /// Creates the key (and nothing else); false when its file cannot be written.
    static bool CreateKey(Root root, const std::string& key);
    static bool SetValue(Root root, const std::string& key, const std::string& name,
                         const std::string& value);
    static bool SetDefaultValue(Root root, const std::string& key, const std::string& value) {
        return SetValue(root, key, "@", value);
    }
    /// Several values of one key, written at once.
    static bool SetValues(Root root, const std::string& key,
                          const std::vector<std::pair<std::string, std::string>>& values);
    static std::optional<std::string> Value(Root root, const std::string& key, const std::string& name);
    /// Every value of the key, in the order written.
    static std::vector<std::pair<std::string, std::string>> Values(Root root, const std::string& key);
    /// The key holds a value or a sub-key.
    static bool HasContent(Root root, const std::string& key);
    static bool KeyExists(Root root, const std::string& key);
    /// Deletes the key with everything below it; false when there was none.
    static bool DeleteKey(Root root, const std::string& key);

    static std::filesystem::path FileOf(Root root);
};

} // namespace qv::platform
