#include "tools/qvform/ArchiveCommands.h"

#include "formengine/StderrMessages.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/LzExpand.h"
#include "setup/FormsArchive.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CommandLine.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace qv::tools {
namespace {

// The setup reads the whole expanded archive into memory; the same bound keeps a hostile
// file from exhausting it.
constexpr std::uintmax_t kMaxArchive = 64u << 20;

void printJson(std::ostream& out, const nlohmann::json& j) {
    out << j.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
}

/// Shows the setup's messages for a refused file, one after the other, and ends the command.
[[noreturn]] void refuse(std::initializer_list<std::string> texts) {
    StderrMessages messages;
    for (const auto& text : texts)
        messages.show(text, MessageIcon::None);
    throw RefusedFile("");
}

std::string damaged(const std::filesystem::path& archive) {
    return "The forms archive " + archive.filename().string() + " on the disk is damaged.  Setup was halted";
}

/// The records of ARCHIVE, all of them or none: a damaged archive is refused before
/// anything is written.
std::vector<setup::FormsArchive::Record> readArchive(const std::string& archive) {
    std::string bytes;
    const int code = platform::LzExpand::ReadAll(archive, bytes, kMaxArchive);
    if (code == platform::LzExpand::kBadInHandle)
        refuse({archive + " could not be found.  Setup was halted", "ErrorCode " + std::to_string(code)});
    if (code != 0)
        refuse({damaged(archive)});
    std::vector<setup::FormsArchive::Record> records;
    if (setup::FormsArchive::Read(bytes, records) != setup::FormsArchive::Status::Ok)
        refuse({damaged(archive)});
    return records;
}

} // namespace

int ArchiveCommands::archive(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {"extract"}, {"list"});
    const bool list = cl.flag("list");
    const auto extract = cl.value("extract");
    if (cl.positional().size() != 1 || list == extract.has_value())
        throw UsageError("archive takes ARCHIVE and either --list or --extract DIR");
    const auto records = readArchive(cl.positional()[0]);
    if (list) {
        nlohmann::json j = nlohmann::json::array();
        for (const auto& r : records)
            j.push_back({{"name", CodePage::latin1ToUtf8(r.name)}, {"length", r.data.size()}});
        printJson(out, {{"records", j}});
        return 0;
    }
    const std::filesystem::path dir(*extract);
    std::error_code ec;
    std::filesystem::create_directory(dir, ec); // an existing folder is fine
    nlohmann::json written = nlohmann::json::array();
    for (const auto& r : records) {
        const auto path = dir / (r.name + ".QVF");
        if (platform::AtomicFile::write(path, r.data, false))
            refuse(
                {"Data could not be written to your hard drive.  This may be because of a damaged fisk or a "
                 "full hard drive.  Setup was halted"});
        written.push_back(path.string());
    }
    printJson(out, {{"written", written}});
    return 0;
}

int ArchiveCommands::expand(const std::vector<std::string>& words, std::ostream& out) {
    CommandLine cl(words, {});
    if (cl.positional().size() != 2)
        throw UsageError("expand takes SOURCE and DEST");
    const std::string& source = cl.positional()[0];
    const std::string& destination = cl.positional()[1];
    if (platform::LzExpand::Open(source) != 0)
        refuse({source + " could not be found.  Setup was halted"});
    if (platform::LzExpand::Copy(source, destination) != 0)
        refuse({"I could not copy " + source +
                ".  The disk may be damaged your hard drive may be full.  Setup was halted"});
    printJson(out, {{"written", nlohmann::json::array({destination})}});
    return 0;
}

} // namespace qv::tools
