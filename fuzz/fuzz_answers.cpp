// Arbitrary bytes as an answers file applied to a small form (text answers, a repeated
// variable, an input cell and a computed one): refused with a reason or applied, never a
// crash; what is applied leaves a document that still saves and reads back whole.
#include "FuzzSupport.h"
#include "tools/qvform/AnswersFile.h"

#include <cstdlib>
#include <sstream>

namespace {

const char kForm[] = "Form      Portrait\r\n"
                     "A form for the answers file\r\n"
                     ":NAME\r\nThe borrower's name.\r\n"
                     ":AMOUNT\r\nThe amount borrowed.\r\n"
                     ":TOTAL\r\n\r\n"
                     ":DATE\r\nThe date.\r\n"
                     "\x15\r\n"
                     "\xE4\xE8NOTE\xE8\xAEI, \xB5|NAME|\xB5, owe \xF1"
                     "DAA0311|AMOUNT|, twice \xF1"
                     "CAB0311[AA*2]|TOTAL|.\xAE|NAME| on |DATE|.\xAE\xC6"
                     "20\xAE\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::fuzz::FuzzDoc f;
    std::istringstream form(std::string(kForm, sizeof kForm - 1));
    if (!f.doc.OpenTemplate(form) || f.state.occCount != 5)
        std::abort(); // the form itself must load
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        qv::tools::AnswersFile::ApplyBytes(bytes, "answers.json", f.doc);
    } catch (const qv::tools::RefusedFile& refused) {
        if (std::string(refused.what()).empty())
            std::abort(); // a refusal always says why
    }
    qv::WorksheetData back;
    if (qv::WorksheetFile::decode(f.doc.worksheetBytes(), back) != qv::WorksheetFile::ReadError::None ||
        back.occCount != 5)
        std::abort();
    return 0;
}
