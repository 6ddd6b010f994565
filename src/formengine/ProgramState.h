#pragma once

#include "formengine/CellTable.h"
#include "formengine/VariableSets.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

/// The printer settings and page margins a form carries. Margins are in hundredths of an
/// inch (left, top, right, bottom); orientation is 1 portrait, 2 landscape.
struct PageSetup {
    bool hasPrinterSettings = true;
    int orientation = 1;
    std::array<int, 4> margins{100, 100, 100, 100};

    bool operator==(const PageSetup&) const = default;
};

/// The program-wide state of the variable-entry program: one loaded form at a time, its
/// run texts, variables, equations and occurrences, the interview flags, the numeric
/// cells and the variable sets. Every part of the program gets it by reference.
class ProgramState {
public:
    // Run texts, parallel to the document's runFlags and runValues.
    std::vector<std::string> runTexts;
    std::vector<std::string> varNames;
    std::vector<std::string> varPrompts;
    std::vector<std::string> equations;
    std::vector<std::int32_t> occRuns;
    std::vector<std::int32_t> occVars;
    int occCount = 0;
    int currentOcc = 0;

    bool promptDirty = false;
    bool valueDirty = false;
    bool focusRequest = false;

    CellTable cellTable;
    VariableSets variableSets;
    PageSetup page;

    bool startedEmpty = false;
    bool handOffPassed = false;
};

} // namespace qv
