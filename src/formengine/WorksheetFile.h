#pragma once

#include "formengine/CellTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

/// Everything a worksheet holds: a complete snapshot of a filled-in form.
struct WorksheetData {
    std::int32_t version = 1024;
    std::vector<std::string> varNames;
    std::vector<std::string> varPrompts;
    std::vector<std::string> runTexts;
    std::int32_t occCount = 0;
    std::int32_t currentOcc = 0;
    std::vector<std::int32_t> occRuns;
    std::vector<std::int32_t> occVars;
    std::vector<std::string> equations;
    std::vector<std::uint32_t> runFlags;
    std::vector<std::int32_t> runValues;
    CellTable cells;
    // Only with page settings (versions below 1024).
    std::int32_t orientation = 1;
    std::array<std::int32_t, 4> margins{100, 100, 100, 100};

    bool hasPageSettings() const { return version < 1024; }
};

/// The same fields, borrowed from wherever they live, so that saving does not copy a
/// whole form first.
struct WorksheetRef {
    std::int32_t version;
    const std::vector<std::string>& varNames;
    const std::vector<std::string>& varPrompts;
    const std::vector<std::string>& runTexts;
    std::int32_t occCount;
    std::int32_t currentOcc;
    const std::vector<std::int32_t>& occRuns;
    const std::vector<std::int32_t>& occVars;
    const std::vector<std::string>& equations;
    const std::vector<std::uint32_t>& runFlags;
    const std::vector<std::int32_t>& runValues;
    const CellTable& cells;
    std::int32_t orientation;
    const std::array<std::int32_t, 4>& margins;

    static WorksheetRef of(const WorksheetData& d) {
        return {d.version, d.varNames,  d.varPrompts, d.runTexts,  d.occCount, d.currentOcc,  d.occRuns,
                d.occVars, d.equations, d.runFlags,   d.runValues, d.cells,    d.orientation, d.margins};
    }
};

/// The worksheet byte layout: little-endian 32-bit integers, length-prefixed strings
/// (1 byte below 255; 0xFF + 2 bytes below 65534; 0xFF 0xFF 0xFF + 4 bytes beyond),
/// counted lists, 676 doubles, then orientation and margins when the version is 1023.
class WorksheetFile {
public:
    static constexpr std::int32_t kVersionWithPage = 1023;
    static constexpr std::int32_t kVersionPlain = 1024;

    enum class ReadError {
        None,
        NotAWorksheet, // wrong magic, cut short, or lists that do not fit together
        NewerVersion,  // version 1025 or above
    };

    static std::string encode(const WorksheetRef& data);
    static std::string encode(const WorksheetData& data) { return encode(WorksheetRef::of(data)); }

    /// Decodes and checks a whole worksheet. On any error `out` is left untouched, so a
    /// caller never sees half a worksheet. Counts are checked against the bytes left
    /// before anything is allocated for them.
    static ReadError decode(std::string_view bytes, WorksheetData& out);

    /// The string length prefix alone (for checks of the byte layout).
    static std::string lengthPrefix(std::size_t length);
};

} // namespace qv
