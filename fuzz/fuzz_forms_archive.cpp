// Arbitrary bytes as the forms archive, read as they are and as the setup reads the disk's
// file (expanded first when it is SZDD-compressed): no crash, no hang; records within their
// limits; what was read writes back as an archive that reads as the same records.
#include "FuzzInput.h"
#include "platform/AtomicFile.h"
#include "platform/LzExpand.h"
#include "setup/FormsArchive.h"

#include <cstdint>
#include <cstdlib>

using qv::setup::FormsArchive;

namespace {

void check(std::string_view bytes) {
    std::vector<FormsArchive::Record> records;
    const FormsArchive::Status status = FormsArchive::Read(bytes, records);
    std::size_t total = 0;
    for (const auto& r : records) {
        if (r.name.empty() || r.name.size() > 4 || r.data.size() > FormsArchive::kMaxRecord ||
            r.name.find_first_of("/\\.") != std::string::npos)
            std::abort();
        total += 8 + r.data.size();
    }
    if (total > bytes.size())
        std::abort();
    if (status != FormsArchive::Status::Ok)
        return;
    std::vector<FormsArchive::Record> again;
    if (FormsArchive::Read(FormsArchive::Write(records), again) != FormsArchive::Status::Ok ||
        again.size() != records.size())
        std::abort();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (again[i].name != records[i].name || again[i].data != records[i].data)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);

    const std::filesystem::path disk = qv::fuzz::ScratchFolder() / "FORMS.WA_";
    if (qv::platform::AtomicFile::write(disk, input, false))
        std::abort();
    std::string bytes;
    if (qv::platform::LzExpand::ReadAll(disk, bytes, 64u << 20) == 0)
        check(bytes);
    return 0;
}
