#include "platform/MailService.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/ProcessStarter.h"

#include <chrono>
#include <cstdlib>
#include <system_error>

namespace qv::platform {
namespace {

void removeOldCopies(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto dayAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code timeEc;
        const auto written = it->last_write_time(timeEc);
        if (!timeEc && written < dayAgo) {
            std::error_code removeEc;
            std::filesystem::remove_all(it->path(), removeEc);
        }
    }
}

} // namespace

bool MailService::Available() {
    return ProcessStarter::FindOnPath("xdg-email").has_value();
}

bool MailService::SendAttachment(const std::filesystem::path& attachment) {
    const auto program = ProcessStarter::FindOnPath("xdg-email");
    return program && ProcessStarter::StartDetached(*program, {"--attach", attachment.string()});
}

bool MailService::SendDocument(const std::string& fileName, std::string_view bytes) {
    const std::filesystem::path mail = ConfigPaths::cacheFolder() / "mail";
    std::error_code ec;
    std::filesystem::create_directories(mail, ec);
    if (ec)
        return false;
    removeOldCopies(mail);
    std::string folder = (mail / "XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr)
        return false;
    const std::filesystem::path attachment = std::filesystem::path(folder) / fileName;
    if (AtomicFile::write(attachment, bytes))
        return false;
    return SendAttachment(attachment);
}

} // namespace qv::platform
