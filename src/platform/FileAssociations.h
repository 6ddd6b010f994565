#pragma once

#include <filesystem>
#include <string>

namespace qv::platform {

/// The desktop's file associations (its MIME database, through xdg-mime and xdg-open).
class FileAssociations {
public:
    /// The program registered for the file's type, or "" when there is none.
    static std::string FindAssociatedProgram(const std::filesystem::path& file);
    /// Opens the file with its program; a code of 32 or less when it cannot.
    static int OpenWithShell(const std::filesystem::path& file);

    /// The file's MIME type as the desktop sees it, or "".
    static std::string MimeTypeOf(const std::filesystem::path& file);
    /// The desktop entry file registered for `mimeType`, or "".
    static std::filesystem::path DefaultDesktopEntry(const std::string& mimeType);
};

} // namespace qv::platform
