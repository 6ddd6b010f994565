// Arbitrary bytes as a settings file: no crash, no hang; what is read is written and read
// again as the same sections, keys and values, and writes the same bytes a second time. The
// part after a 0x00 byte gives a section, key and value (cut at 0x01 bytes) that is set,
// written and read back, every other value kept.
#include "FuzzInput.h"
#include "platform/AtomicFile.h"
#include "platform/IniProfile.h"

#include <cstdint>
#include <cstdlib>

using qv::platform::IniFile;

namespace {

// Same sections in the same order, and for the first few hundred sections and keys the
// same keys and values (each look-up walks the sections).
void same(const IniFile& a, const IniFile& b) {
    const auto sections = a.sectionNames();
    if (sections != b.sectionNames())
        std::abort();
    std::size_t looked = 0;
    for (const auto& s : sections) {
        const auto keys = a.keys(s);
        if (keys != b.keys(s))
            std::abort();
        for (const auto& k : keys)
            if (++looked < 512 && a.value(s, k) != b.value(s, k))
                std::abort();
        if (++looked >= 512)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = qv::fuzz::SplitInput(data, size, 2);
    const IniFile ini = IniFile::parse(parts[0]);
    const std::string written = ini.serialize();
    const IniFile back = IniFile::parse(written);
    same(ini, back);
    if (back.serialize() != written)
        std::abort();

    // A value set is read back after a write, and every other value stays.
    const auto change = qv::fuzz::SplitInput(reinterpret_cast<const std::uint8_t*>(parts[1].data()),
                                             parts[1].size(), 3, '\x01');
    IniFile changed = ini;
    changed.setValue(change[0], change[1], change[2]);
    const IniFile reread = IniFile::parse(changed.serialize());
    if (reread.value(change[0], change[1]) != std::string(change[2]))
        std::abort();
    same(changed, reread);

    // Read from a file on disk, as the programs read their settings.
    const std::filesystem::path file = qv::fuzz::ScratchFolder() / "QVLegal.ini";
    if (qv::platform::AtomicFile::write(file, parts[0], false))
        std::abort();
    same(qv::platform::IniProfile(file).load(), ini);
    return 0;
}
