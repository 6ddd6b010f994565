// Fuzzed templates through the whole output path: load, answers, layout pass and both
// print-file writers, which must always close their RTF group.
#include "FuzzSupport.h"
#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/PrintFileWriter.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int cpl = 1 + data[0] % 100;
    qv::fuzz::FuzzDoc f;
    qv::ProgramState& state = f.state;
    qv::CTextDoc& doc = f.doc;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    if (!doc.OpenTemplate(in))
        return 0;
    for (int k = 0; k < state.occCount; k += 2)
        doc.StoreAnswer(k, k % 4 ? "-12.5 {x}" : "");
    state.currentOcc = state.occCount ? data[0] % state.occCount : 0;
    qv::NumericFields numeric(doc, qv::LocaleFormat{});
    qv::FormLayout::Layout(doc, numeric, cpl);
    qv::FormLayout::Layout(doc, numeric, cpl);
    qv::PrintFilePage page;
    page.charsPerLine = cpl;
    const std::string editor = qv::PrintFileWriter::EditorRtf(doc, page);
    const std::string wp = qv::PrintFileWriter::WordProcessorRtf(doc);
    if (wp.empty() || wp.back() != '}' || editor.find("\r\n};") == std::string::npos)
        std::abort();
    return 0;
}
