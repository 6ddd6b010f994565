#pragma once

#include <filesystem>

namespace qv::platform {

/// The suite's file types with the desktop: MIME types for forms (.qvf), worksheets
/// (.qvw) and print files (.qvp) in the user's shared-mime-info database, launchers for
/// the programs that open them, and those programs as the types' default applications.
class DesktopAssociations {
public:
    static constexpr const char* kFormType = "application/x-qvdavov-form";
    static constexpr const char* kWorksheetType = "application/x-qvdavov-worksheet";
    static constexpr const char* kPrintFileType = "application/x-qvdavov-print-file";
    static constexpr const char* kLegalLauncher = "q-v-davov-software-qvlegal.desktop";
    static constexpr const char* kEditLauncher = "q-v-davov-software-qvedit.desktop";

    /// `programFolder` holds QVLEGAL.EXE and QVEDIT.EXE. True when the defaults' section
    /// of the user's list had to be added.
    static bool Register(const std::filesystem::path& programFolder);
    /// `dropSection`: the defaults' section was added by Register and goes when empty.
    static void Unregister(bool dropSection);

    static std::filesystem::path MimePackage();
};

} // namespace qv::platform
