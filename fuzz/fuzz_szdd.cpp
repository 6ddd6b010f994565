// Arbitrary bytes as a file of the install disk, expanded as the setup expands it: no crash,
// no hang; an expanded file has the length its header states, a plain one is copied as it
// is, and a file that does not expand leaves nothing under its destination's name.
#include "FuzzInput.h"
#include "platform/AtomicFile.h"
#include "platform/LzExpand.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using qv::platform::LzExpand;

namespace {

constexpr std::uintmax_t kMaxBytes = 64u << 20;
constexpr unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

std::string contentOf(const std::filesystem::path& file) {
    std::string bytes;
    if (qv::platform::AtomicFile::read(file, bytes))
        std::abort();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path& folder = qv::fuzz::ScratchFolder();
    const std::filesystem::path source = folder / "QVLEGAL.EX_";
    const std::filesystem::path destination = folder / "QVLEGAL.EXE";
    std::error_code ec;
    std::filesystem::remove(destination, ec);
    if (qv::platform::AtomicFile::write(source, input, false))
        std::abort();
    const bool compressed = size >= 8 && std::memcmp(data, kSignature, 8) == 0;
    if (LzExpand::IsCompressed(source) != compressed || LzExpand::Open(source) != 0)
        std::abort();

    std::string bytes;
    const int read = LzExpand::ReadAll(source, bytes, kMaxBytes);
    if (read != 0 && !bytes.empty())
        std::abort();
    if (read == 0 && !compressed && bytes != input)
        std::abort();
    if (read == 0 && compressed) {
        // The length in the header: four bytes after the method and the missing character.
        if (size < 14)
            std::abort();
        std::uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= std::uint32_t(data[10 + i]) << (8 * i);
        if (bytes.size() != length)
            std::abort();
    }

    const int copied = LzExpand::Copy(source, destination);
    if ((copied == 0) != (read == 0))
        std::abort();
    if (copied == 0 && contentOf(destination) != bytes)
        std::abort();
    if (copied != 0 && std::filesystem::exists(destination, ec))
        std::abort();
    // Nothing left beside the destination: the source and, after a copy, the file made.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        (void)entry;
        ++files;
    }
    if (files != (copied == 0 ? 2u : 1u))
        std::abort();
    return 0;
}
