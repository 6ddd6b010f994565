// Arbitrary expressions against a table of arbitrary cells: no crash, no read outside the
// table, at most one message per evaluation.
#include "FuzzSupport.h"
#include "formengine/CellTable.h"
#include "view/EquationEvaluator.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::CellTable cells;
    for (int i = 0; i < 26 * 26 && i < static_cast<int>(size); ++i)
        cells.at(i / 26, i % 26) = static_cast<double>(data[i]) - 100.0;
    qv::fuzz::QuietMessages messages;
    qv::EquationEvaluator evaluator(cells, messages);
    evaluator.EvaluateEquation(std::string_view(reinterpret_cast<const char*>(data), size));
    if (messages.count > 1)
        std::abort();
    return 0;
}
