// Feeds arbitrary bytes to the template loader and checks the model it builds.
#include "FuzzSupport.h"
#include "formengine/RunFlags.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::FuzzDoc f;
    qv::ProgramState& state = f.state;
    qv::CTextDoc& doc = f.doc;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (!doc.OpenTemplate(in))
        return 0;
    const std::size_t runs = state.runTexts.size();
    if (doc.runFlags.size() != runs || doc.runValues.size() != runs || runs < 2)
        std::abort();
    if (state.occRuns.size() != std::size_t(state.occCount) ||
        state.occVars.size() != std::size_t(state.occCount))
        std::abort();
    for (int k = 0; k < state.occCount; ++k) {
        if (state.occRuns[k] < 1 || std::size_t(state.occRuns[k]) >= runs ||
            std::size_t(state.occVars[k]) >= state.varNames.size())
            std::abort();
        (void)doc.DisplayValue(k);
        (void)doc.FillInLaterState(k);
        doc.StoreAnswer(k, "12.5");
    }
    // Whatever loaded must survive a worksheet round trip.
    qv::WorksheetData back;
    if (qv::WorksheetFile::decode(doc.worksheetBytes(), back) != qv::WorksheetFile::ReadError::None)
        std::abort();
    return 0;
}
