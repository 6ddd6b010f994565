// Arbitrary bytes as a print file for the margin block reader: no crash, no hang; a file
// without a block reads as one-inch margins, portrait; the first block of a file is the one
// that counts, and a block written with any values reads back as those values.
#include "view/MarginBlockReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using qv::MarginBlockReader;
using qv::PrintFileMargins;

namespace {

// The block as the print files carry it: left, right, top, bottom, orientation.
std::string block(const PrintFileMargins& m) {
    return "{\r\n\\mymargl" + std::to_string(m.left) + "\r\n\\mymargr" + std::to_string(m.right) +
           "\r\n\\mymargt" + std::to_string(m.top) + "\r\n\\mymargb" + std::to_string(m.bottom) + "\r\n\\orient" +
           std::to_string(m.orientation) + "\r\n};";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const PrintFileMargins read = MarginBlockReader::Read(input);
    if (!read.found && !(read == PrintFileMargins{}))
        std::abort();

    // Whatever was read, written as a block after an RTF document, reads back the same.
    PrintFileMargins written = read;
    written.found = true;
    if (!(MarginBlockReader::Read("{\\rtf1 x}" + block(written)) == written))
        std::abort();

    // A block after the input counts only when the input has none (a block of the input
    // cut short takes its later values from the lines after it, by position).
    const PrintFileMargins other{720, 1080, 360, -5, 2, true};
    const PrintFileMargins appended = MarginBlockReader::Read(input + block(other));
    if (read.found ? !appended.found || appended.left != read.left : !(appended == other))
        std::abort();
    return 0;
}
