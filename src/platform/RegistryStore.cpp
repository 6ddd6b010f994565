#include "platform/RegistryStore.h"

#include "platform/ConfigPaths.h"
#include "platform/IniProfile.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace qv::platform {
namespace {

const std::string kUserPrefix = "software\\q-v davov software";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

/// A per-user key as (application, section below it); the application is empty for the
/// maker's key itself.
bool userKey(const std::string& key, std::string& application, std::string& section) {
    const std::string k = lower(key);
    if (k.rfind(kUserPrefix, 0) != 0)
        return false;
    std::string rest = key.substr(kUserPrefix.size());
    if (!rest.empty() && rest[0] == '\\')
        rest.erase(0, 1);
    const auto slash = rest.find('\\');
    application = rest.substr(0, slash);
    section = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    return true;
}

} // namespace

std::filesystem::path RegistryStore::FileOf(Root root) {
    return ConfigPaths::suiteFolder() / (root == LocalMachine  ? "HKEY_LOCAL_MACHINE.ini"
                                         : root == ClassesRoot ? "HKEY_CLASSES_ROOT.ini"
                                                               : "HKEY_CURRENT_USER.ini");
}

bool RegistryStore::CreateKey(Root root, const std::string& key) {
    IniProfile file(FileOf(root));
    IniFile ini = file.load();
    ini.addSection(key);
    return file.store(ini);
}

bool RegistryStore::SetValue(Root root, const std::string& key, const std::string& name,
                             const std::string& value) {
    IniProfile file(FileOf(root));
    IniFile ini = file.load();
    ini.setValue(key, name, value);
    return file.store(ini);
}

bool RegistryStore::SetValues(Root root, const std::string& key,
                              const std::vector<std::pair<std::string, std::string>>& values) {
    IniProfile file(FileOf(root));
    IniFile ini = file.load();
    ini.addSection(key);
    for (const auto& [name, value] : values)
        ini.setValue(key, name, value);
    return file.store(ini);
}

std::vector<std::pair<std::string, std::string>> RegistryStore::Values(Root root, const std::string& key) {
    const IniFile ini = IniProfile(FileOf(root)).load();
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& name : ini.keys(key))
        out.emplace_back(name, ini.value(key, name).value_or(std::string()));
    return out;
}

bool RegistryStore::HasContent(Root root, const std::string& key) {
    const IniFile ini = IniProfile(FileOf(root)).load();
    if (!ini.keys(key).empty())
        return true;
    const std::string prefix = lower(key) + "\\";
    for (const auto& name : ini.sectionNames())
        if (lower(name).rfind(prefix, 0) == 0)
            return true;
    return false;
}

std::optional<std::string> RegistryStore::Value(Root root, const std::string& key, const std::string& name) {
    return IniProfile(FileOf(root)).load().value(key, name);
}

bool RegistryStore::KeyExists(Root root, const std::string& key) {
    return IniProfile(FileOf(root)).load().hasSection(key);
}

bool RegistryStore::DeleteKey(Root root, const std::string& key) {
    std::string application, section;
    if (root == CurrentUser && userKey(key, application, section)) {
        // The programs keep their per-user keys in their own settings files.
        if (application.empty())
            return false;
        const auto file = ConfigPaths::applicationSettings(application);
        if (section.empty()) {
            std::error_code ec;
            return std::filesystem::remove(file, ec);
        }
        return IniProfile(file).removeSection(section);
    }
    IniProfile file(FileOf(root));
    IniFile ini = file.load();
    bool removed = false;
    const std::string prefix = lower(key) + "\\";
    for (const auto& name : ini.sectionNames())
        if (lower(name) == lower(key) || lower(name).rfind(prefix, 0) == 0)
            removed = ini.removeSection(name) || removed;
    return removed && file.store(ini);
}

} // namespace qv::platform
