#include "platform/DesktopIcons.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopAssociations.h"
#include "platform/ProcessStarter.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace qv::platform {
namespace {

constexpr std::chrono::milliseconds kTimeOut{10000};
constexpr std::uintmax_t kMaxIcon = 1u << 20;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

/// Keeps the theme's cache in step where the user has one; a cache that is out of date
/// would hide the icons.
void refresh() {
    std::error_code ec;
    if (!std::filesystem::exists(DesktopIcons::Theme() / "icon-theme.cache", ec))
        return;
    if (const auto update = ProcessStarter::FindOnPath("gtk-update-icon-cache"))
        (void)ProcessStarter::Run(*update, {"-q", "-f", "-t", DesktopIcons::Theme().string()}, kTimeOut);
}

} // namespace

std::vector<DesktopIcons::Icon> DesktopIcons::All() {
    return {{kCatalogue, "apps"},
            {kLegal, "apps"},
            {kEdit, "apps"},
            {kUninstall, "apps"},
            {ForType(DesktopAssociations::kFormType), "mimetypes"},
            {ForType(DesktopAssociations::kWorksheetType), "mimetypes"},
            {ForType(DesktopAssociations::kPrintFileType), "mimetypes"}};
}

std::string DesktopIcons::ForProgram(const std::filesystem::path& program) {
    const std::string name = lower(program.filename().string());
    if (name == "tolvad.exe")
        return kCatalogue;
    if (name == "qvlegal.exe")
        return kLegal;
    if (name == "qvedit.exe")
        return kEdit;
    if (name == "uninstal.exe")
        return kUninstall;
    return {};
}

std::string DesktopIcons::ForType(std::string_view mimeType) {
    std::string name(mimeType);
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

std::filesystem::path DesktopIcons::Theme() {
    return ConfigPaths::dataHome() / "icons" / "hicolor";
}

std::filesystem::path DesktopIcons::FileOf(const Icon& icon) {
    return Theme() / "scalable" / icon.context / (icon.name + ".svg");
}

void DesktopIcons::Install(const std::filesystem::path& source) {
    int installed = 0;
    for (const auto& icon : All()) {
        std::string bytes;
        if (AtomicFile::read(source / (icon.name + ".svg"), bytes, kMaxIcon))
            continue;
        std::error_code ec;
        std::filesystem::create_directories(FileOf(icon).parent_path(), ec);
        installed += !AtomicFile::write(FileOf(icon), bytes, false);
    }
    if (installed == 0)
        return;
    // A theme without an index needs the cache tool told so.
    if (const auto update = ProcessStarter::FindOnPath("gtk-update-icon-cache"))
        (void)ProcessStarter::Run(*update, {"-q", "-f", "-t", Theme().string()}, kTimeOut);
}

void DesktopIcons::Remove() {
    for (const auto& icon : All()) {
        std::error_code ec;
        std::filesystem::remove(FileOf(icon), ec);
    }
    refresh();
}

} // namespace qv::platform
