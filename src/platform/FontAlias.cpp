#include "platform/FontAlias.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/FontAliasText.h"

namespace qv::platform {

std::string_view FontAlias::Text() {
    return kFontAliasText;
}

std::filesystem::path FontAlias::UserPath() {
    return ConfigPaths::configHome() / "fontconfig" / "conf.d" / kFileName;
}

bool FontAlias::Install() {
    // A configuration file only: fontconfig reads it when a program next starts, and
    // no font cache needs rebuilding (fc-cache would have nothing to do).
    const std::filesystem::path path = UserPath();
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return !AtomicFile::write(path, Text());
}

bool FontAlias::Remove() {
    std::error_code ec;
    std::filesystem::remove(UserPath(), ec);
    return !std::filesystem::exists(UserPath(), ec);
}

} // namespace qv::platform
