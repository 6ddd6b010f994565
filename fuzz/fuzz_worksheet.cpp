// Feeds arbitrary bytes to the worksheet reader; anything accepted must be usable, and
// written back and read again it is the same document: names, prompts, runs, answers,
// equations and cells.
#include "FuzzSupport.h"

#include <cstdlib>
#include <cstring>

namespace {

bool sameDocument(const qv::WorksheetData& a, const qv::WorksheetData& b) {
    // Cells compared as bytes: a NaN read from the file is the same NaN written back.
    for (int r = 0; r < qv::CellTable::kSize; ++r)
        for (int c = 0; c < qv::CellTable::kSize; ++c) {
            const double x = a.cells.at(r, c), y = b.cells.at(r, c);
            if (std::memcmp(&x, &y, sizeof(double)) != 0)
                return false;
        }
    return a.varNames == b.varNames && a.varPrompts == b.varPrompts && a.runTexts == b.runTexts &&
           a.occCount == b.occCount && a.currentOcc == b.currentOcc && a.occRuns == b.occRuns &&
           a.occVars == b.occVars && a.equations == b.equations && a.runFlags == b.runFlags &&
           a.runValues == b.runValues;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::FuzzDoc f;
    qv::ProgramState& state = f.state;
    qv::CTextDoc& doc = f.doc;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qv::WorksheetData read;
    const bool decoded = qv::WorksheetFile::decode(bytes, read) == qv::WorksheetFile::ReadError::None;
    if (!doc.LoadWorksheet(bytes)) {
        if (decoded) // the document refused what the file reader took
            std::abort();
        return 0;
    }
    // The round trip, before anything is changed.
    const std::string written = doc.worksheetBytes();
    qv::WorksheetData again;
    if (qv::WorksheetFile::decode(written, again) != qv::WorksheetFile::ReadError::None ||
        !sameDocument(read, again))
        std::abort();
    qv::fuzz::FuzzDoc g;
    if (!g.doc.LoadWorksheet(written) || g.doc.worksheetBytes() != written)
        std::abort();

    for (int k = 0; k < state.occCount; ++k) {
        (void)doc.IsInputCell(k);
        (void)doc.DisplayValue(k);
        (void)doc.ToggleFillInLater(k);
        doc.StoreAnswer(k, "");
    }
    qv::WorksheetData edited;
    if (qv::WorksheetFile::decode(doc.worksheetBytes(), edited) != qv::WorksheetFile::ReadError::None)
        std::abort();
    return 0;
}
