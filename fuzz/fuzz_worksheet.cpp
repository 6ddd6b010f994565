// Feeds arbitrary bytes to the worksheet reader; anything accepted must be usable and
// must write back to the same bytes' meaning.
#include "FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::FuzzDoc f;
    qv::ProgramState& state = f.state;
    qv::CTextDoc& doc = f.doc;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!doc.LoadWorksheet(bytes))
        return 0;
    for (int k = 0; k < state.occCount; ++k) {
        (void)doc.IsInputCell(k);
        (void)doc.DisplayValue(k);
        (void)doc.ToggleFillInLater(k);
        doc.StoreAnswer(k, "");
    }
    qv::WorksheetData again;
    if (qv::WorksheetFile::decode(doc.worksheetBytes(), again) != qv::WorksheetFile::ReadError::None)
        std::abort();
    return 0;
}
