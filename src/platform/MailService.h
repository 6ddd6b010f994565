#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::platform {

/// The desktop's mail service: a new message with a file attached, through xdg-email.
class MailService {
public:
    /// True when a mail service can be reached.
    static bool Available();
    /// Opens the user's mail program with `attachment`; false when it could not start.
    static bool SendAttachment(const std::filesystem::path& attachment);
    /// Attaches `bytes` as a file called `fileName`. The copy lives in a folder of its own
    /// in the user's cache, since the mail program may read it long after we return;
    /// copies older than a day are removed on the next send.
    static bool SendDocument(const std::string& fileName, std::string_view bytes);
};

} // namespace qv::platform
