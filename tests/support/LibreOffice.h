#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

/// LibreOffice as the tests' independent reader of RTF: many files converted in one start
/// (each start costs seconds), its text output and the parts of the ODT packages it writes.
class LibreOffice {
public:
    /// The soffice program, or empty when LibreOffice is not installed.
    static std::string program();

    /// Converts `files` into `outDir` with `filter` ("odt", "txt:Text (encoded):UTF8") in one
    /// start, with a private profile under `scratch`; empty on success, else what went wrong.
    static std::string convert(const std::vector<std::filesystem::path>& files, const std::string& filter,
                               const std::filesystem::path& outDir, const std::filesystem::path& scratch);

    /// A text export without its byte-order mark and carriage returns.
    static std::string text(const std::filesystem::path& txt);

    /// One XML part of an ODT package ("content.xml", "styles.xml"), read with unzip.
    static std::string part(const std::filesystem::path& odt, const std::string& name);
};

} // namespace qv::test
