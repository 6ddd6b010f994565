#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv::setup {

/// The forms archive: records of a four-character name, a little-endian 32-bit length
/// and that many bytes of a form template, ended by a record named "!!!!" of length 0.
class FormsArchive {
public:
    static constexpr std::size_t kMaxRecord = 30000;

    struct Record {
        std::string name; // up to four characters
        std::string data;
    };
    enum class Status { Ok, Damaged };

    /// The records before the end marker. A name that could leave the forms folder or is
    /// no plain file name, a record over 30000 bytes, one cut short, or a missing end
    /// marker make the archive damaged.
    static Status Read(std::string_view bytes, std::vector<Record>& records);
    /// The archive bytes for records (the build's disk maker uses it).
    static std::string Write(const std::vector<Record>& records);
};

} // namespace qv::setup
