#pragma once

#include <filesystem>

namespace qv::platform {

/// Questions the programs once asked about drive letters.
class Drives {
public:
    /// True when `folder` lies on a read-only mount or an optical disc's file system
    /// (iso9660, udf): what a CD-ROM drive was.
    static bool IsCdRom(const std::filesystem::path& folder);
    /// True when the file system holding `folder` takes names of 255 characters; false
    /// for a folder that cannot be asked.
    static bool AllowsLongNames(const std::filesystem::path& folder);
    /// The folder standing in for "C:\".
    static std::filesystem::path RootFolder();
};

} // namespace qv::platform
