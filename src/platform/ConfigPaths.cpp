#include "platform/ConfigPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace qv::platform {
namespace {

std::filesystem::path fromEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v && *v && v[0] == '/')
        return v;
    return {};
}

} // namespace

std::filesystem::path ConfigPaths::homeFolder() {
    if (auto home = fromEnv("HOME"); !home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::filesystem::path ConfigPaths::configHome() {
    auto p = fromEnv("XDG_CONFIG_HOME");
    return p.empty() ? homeFolder() / ".config" : p;
}

std::filesystem::path ConfigPaths::dataHome() {
    auto p = fromEnv("XDG_DATA_HOME");
    return p.empty() ? homeFolder() / ".local" / "share" : p;
}

std::filesystem::path ConfigPaths::suiteFolder() {
    return configHome() / "Q-V Davov Software";
}

std::filesystem::path ConfigPaths::applicationSettings(std::string_view applicationName) {
    return suiteFolder() / (std::string(applicationName) + ".ini");
}

std::filesystem::path ConfigPaths::windowsFolder() {
    return suiteFolder() / "Windows";
}

std::filesystem::path ConfigPaths::systemFolder() {
    return dataHome() / "Q-V Davov Software" / "system";
}

std::filesystem::path ConfigPaths::cacheFolder() {
    auto p = fromEnv("XDG_CACHE_HOME");
    return (p.empty() ? homeFolder() / ".cache" : p) / "Q-V Davov Software";
}

} // namespace qv::platform
