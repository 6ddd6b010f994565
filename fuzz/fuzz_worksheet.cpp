// Feeds arbitrary bytes to the worksheet reader; anything accepted must be usable and
// must write back to the same bytes' meaning.
#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"

#include <cstdlib>

namespace {
class Quiet : public qv::UserMessages {
public:
    qv::MessageReply show(const std::string&, qv::MessageIcon, qv::MessageButtons, const std::string&) override {
        return qv::MessageReply::Ok;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qv::platform::IniProfile profile("/nonexistent/qvfuzz/QVLegal.ini");
    static qv::FixedClock clock({1997, 4, 2});
    static Quiet messages;
    static qv::DocumentHost host;
    qv::ProgramState state;
    qv::CTextDoc doc(state, {messages, profile, clock, host});
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
    if (qv::WorksheetFile::decode(doc.worksheetBytes(), again) !=
        qv::WorksheetFile::ReadError::None)
        std::abort();
    return 0;
}
