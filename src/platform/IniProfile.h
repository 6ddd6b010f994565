#pragma once

#include "platform/IniFile.h"
#include "platform/Profile.h"

#include <filesystem>

namespace qv::platform {

/// Settings kept in one INI file. Every read looks at the file afresh and every write
/// replaces it whole (atomically), so two programs sharing a file always see each
/// other's latest values, as with the original platform's initialisation files.
class IniProfile : public Profile {
public:
    explicit IniProfile(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue = {}) const override;
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

    bool removeEntry(std::string_view section, std::string_view entry);
    bool removeSection(std::string_view section);

    IniFile load() const;
    bool store(const IniFile& ini);

private:
    std::filesystem::path file_;
};

} // namespace qv::platform
