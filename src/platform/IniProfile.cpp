#include "platform/IniProfile.h"

#include "platform/AtomicFile.h"

#include <cstdlib>
#include <string>

namespace qv::platform {
namespace {
// A settings file is a few kilobytes; anything far larger is not ours to load whole.
constexpr std::uintmax_t kMaxSettingsBytes = 16u << 20;
} // namespace

IniProfile::IniProfile(std::filesystem::path file) : file_(std::move(file)) {}

IniFile IniProfile::load() const {
    std::string bytes;
    if (AtomicFile::read(file_, bytes, kMaxSettingsBytes))
        return {};
    return IniFile::parse(bytes);
}

bool IniProfile::store(const IniFile& ini) {
    std::error_code ec;
    if (!file_.parent_path().empty())
        std::filesystem::create_directories(file_.parent_path(), ec);
    return !AtomicFile::write(file_, ini.serialize());
}

std::string IniProfile::GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue) const {
    auto v = load().value(section, entry);
    return v ? *v : std::string(defaultValue);
}

int IniProfile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const {
    auto v = load().value(section, entry);
    if (!v)
        return defaultValue;
    // Leading digits count, as with the original platform; no number reads as 0.
    long n = std::strtol(v->c_str(), nullptr, 10);
    if (n > 2147483647L || n < -2147483647L - 1)
        return 0;
    return static_cast<int>(n);
}

bool IniProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) {
    IniFile ini = load();
    ini.setValue(section, entry, value);
    return store(ini);
}

bool IniProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    return WriteProfileString(section, entry, std::to_string(value));
}

bool IniProfile::removeEntry(std::string_view section, std::string_view entry) {
    IniFile ini = load();
    return ini.removeValue(section, entry) && store(ini);
}

bool IniProfile::removeSection(std::string_view section) {
    IniFile ini = load();
    return ini.removeSection(section) && store(ini);
}

} // namespace qv::platform
