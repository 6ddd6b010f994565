#include "setup/FormsArchive.h"

#include <cctype>
#include <cstdint>

namespace qv::setup {
namespace {

bool plainName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (!(std::isalnum(c) || c == '_' || c == '-'))
            return false;
    return true;
}

std::uint32_t little(std::string_view b) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[3])) << 24;
}

} // namespace

FormsArchive::Status FormsArchive::Read(std::string_view bytes, std::vector<Record>& records) {
    records.clear();
    std::size_t at = 0;
    while (at + 8 <= bytes.size()) {
        const std::string_view field = bytes.substr(at, 4);
        const std::string name(field.substr(0, field.find('\0')));
        const std::uint32_t length = little(bytes.substr(at + 4, 4));
        at += 8;
        if (name == "!!!!")
            return Status::Ok;
        if (!plainName(name) || length > kMaxRecord || bytes.size() - at < length)
            return Status::Damaged;
        records.push_back({name, std::string(bytes.substr(at, length))});
        at += length;
    }
    return Status::Damaged; // no end marker
}

std::string FormsArchive::Write(const std::vector<Record>& records) {
    std::string out;
    const auto header = [&out](const std::string& name, std::uint32_t length) {
        std::string field = name.substr(0, 4);
        field.resize(4, '\0');
        out += field;
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(length >> (8 * i) & 0xFF);
    };
    for (const auto& r : records) {
        header(r.name, static_cast<std::uint32_t>(r.data.size()));
        out += r.data;
    }
    header("!!!!", 0);
    return out;
}

} // namespace qv::setup
