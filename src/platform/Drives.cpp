#include "platform/Drives.h"

#include "platform/ConfigPaths.h"

#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qv::platform {
namespace {

constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

} // namespace

bool Drives::IsCdRom(const std::filesystem::path& folder) {
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0)
        return true;
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) != 0)
        return false;
    const long type = static_cast<long>(fs.f_type);
    return type == kIso9660Magic || type == kUdfMagic;
}

bool Drives::AllowsLongNames(const std::filesystem::path& folder) {
    return !folder.empty() && ::pathconf(folder.c_str(), _PC_NAME_MAX) >= 255;
}

std::filesystem::path Drives::RootFolder() {
    return ConfigPaths::homeFolder();
}

} // namespace qv::platform
