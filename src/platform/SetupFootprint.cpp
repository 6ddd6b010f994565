#include "platform/SetupFootprint.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopIcons.h"
#include "platform/RegistryStore.h"

#include <algorithm>
#include <system_error>

namespace qv::platform {
namespace {

constexpr std::uintmax_t kMaxText = 4u << 20;

/// `folder` with the folders between the home folder and it, outermost first.
std::vector<std::filesystem::path> withParents(const std::filesystem::path& folder) {
    const auto home = ConfigPaths::homeFolder().lexically_normal();
    std::vector<std::filesystem::path> out{folder};
    for (auto p = folder.lexically_normal().parent_path(); p.has_relative_path() && p != p.parent_path();
         p = p.parent_path()) {
        const auto rel = p.lexically_relative(home);
        if (rel.empty() || rel == "." || *rel.begin() == "..")
            break;
        out.insert(out.begin(), p);
    }
    return out;
}

bool holdsOnlyBlanks(const std::filesystem::path& file) {
    std::string text;
    if (AtomicFile::read(file, text, kMaxText))
        return false;
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

std::vector<std::filesystem::path> SetupFootprint::Places() {
    const auto config = ConfigPaths::configHome();
    const auto data = ConfigPaths::dataHome();
    const auto theme = DesktopIcons::Theme();
    std::vector<std::filesystem::path> places = withParents(config);
    for (const auto& p : std::initializer_list<std::filesystem::path>{
             ConfigPaths::suiteFolder(), ConfigPaths::windowsFolder(),
             RegistryStore::FileOf(RegistryStore::LocalMachine),
             RegistryStore::FileOf(RegistryStore::ClassesRoot), config / "mimeapps.list", config / "menus",
             config / "menus" / "applications-merged", config / "fontconfig",
             config / "fontconfig" / "conf.d"})
        places.push_back(p);
    for (const auto& p : withParents(data))
        if (std::find(places.begin(), places.end(), p) == places.end())
            places.push_back(p);
    for (const auto& p : std::initializer_list<std::filesystem::path>{
             data / "applications", data / "applications" / "mimeinfo.cache", data / "desktop-directories",
             data / "mime", data / "mime" / "packages", theme.parent_path(), theme,
             theme / "icon-theme.cache", theme / "scalable", theme / "scalable" / "apps",
             theme / "scalable" / "mimetypes"})
        places.push_back(p);
    return places;
}

std::vector<std::filesystem::path> SetupFootprint::Absent() {
    std::vector<std::filesystem::path> absent;
    for (const auto& p : Places()) {
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(p, ec)))
            absent.push_back(p);
    }
    return absent;
}

void SetupFootprint::RemoveLeftovers(const std::vector<std::filesystem::path>& created) {
    const auto places = Places();
    const auto mime = ConfigPaths::dataHome() / "mime";
    for (auto it = places.rbegin(); it != places.rend(); ++it) {
        const auto& p = *it;
        if (std::find(created.begin(), created.end(), p) == created.end())
            continue;
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(p, ec);
        if (std::filesystem::is_regular_file(status)) {
            const auto name = p.filename();
            // The desktop's tools make these again from what is left, whenever asked.
            if (name == "icon-theme.cache" || name == "mimeinfo.cache" || holdsOnlyBlanks(p))
                std::filesystem::remove(p, ec);
        } else if (std::filesystem::is_directory(status)) {
            if (p == mime) {
                // Without packages, all that is left was generated from them.
                const auto packages = mime / "packages";
                if (!std::filesystem::exists(packages, ec) || std::filesystem::is_empty(packages, ec))
                    std::filesystem::remove_all(p, ec);
            } else {
                std::filesystem::remove(p, ec); // only an empty folder goes
            }
        }
    }
}

} // namespace qv::platform
