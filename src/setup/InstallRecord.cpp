#include "setup/InstallRecord.h"

#include "platform/RegistryStore.h"

#include <algorithm>
#include <utility>

namespace qv::setup {
namespace {

using platform::RegistryStore;

void addNew(std::vector<std::string>& to, const std::vector<std::string>& from) {
    for (const auto& s : from)
        if (std::find(to.begin(), to.end(), s) == to.end())
            to.push_back(s);
}

/// "Form1", "Form2", ... until the first missing one.
std::vector<std::string> numbered(const std::vector<std::pair<std::string, std::string>>& values,
                                  const std::string& stem) {
    std::vector<std::string> out;
    for (int i = 1;; ++i) {
        const std::string name = stem + std::to_string(i);
        const auto it =
            std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == name; });
        if (it == values.end())
            return out;
        out.push_back(it->second);
    }
}

} // namespace

InstallRecord InstallRecord::Load() {
    InstallRecord r;
    r.present = RegistryStore::KeyExists(RegistryStore::LocalMachine, kKey);
    if (!r.present)
        return r;
    const auto values = RegistryStore::Values(RegistryStore::LocalMachine, kKey);
    r.forms = numbered(values, "Form");
    r.created = numbered(values, "Created");
    for (const auto& [name, value] : values) {
        if (name == "DefaultsSection")
            r.defaultsSectionCreated = value == "1";
        else if (name == "UninstallParent")
            r.uninstallParentCreated = value == "1";
    }
    return r;
}

void InstallRecord::Store() const {
    InstallRecord merged = Load();
    addNew(merged.forms, forms);
    addNew(merged.created, created);
    merged.defaultsSectionCreated = merged.defaultsSectionCreated || defaultsSectionCreated;
    merged.uninstallParentCreated = merged.uninstallParentCreated || uninstallParentCreated;
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < merged.forms.size(); ++i)
        values.emplace_back("Form" + std::to_string(i + 1), merged.forms[i]);
    for (std::size_t i = 0; i < merged.created.size(); ++i)
        values.emplace_back("Created" + std::to_string(i + 1), merged.created[i]);
    values.emplace_back("DefaultsSection", merged.defaultsSectionCreated ? "1" : "0");
    values.emplace_back("UninstallParent", merged.uninstallParentCreated ? "1" : "0");
    RegistryStore::SetValues(RegistryStore::LocalMachine, kKey, values);
}

} // namespace qv::setup
