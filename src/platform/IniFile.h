#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

/// An INI-style text: "[Section]" lines and "Key=Value" lines, kept in file order.
/// Section and key names match without regard to ASCII case, as on the original platform.
///
/// Any text survives a write and a read unchanged: a name or value that the plain form
/// would lose (blanks at either end, a leading quote, control characters, bytes that are
/// not UTF-8, "=" or a comment mark in a key, "]" in a section name) is written in
/// double quotes with C-style escapes.
class IniFile {
public:
    static IniFile parse(std::string_view text);
    std::string serialize() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    bool removeValue(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);
    /// Adds an empty section unless it exists.
    void addSection(std::string_view section);
    bool hasSection(std::string_view section) const { return findSection(section) != nullptr; }

    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keys(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Section> sections_;
};

} // namespace qv::platform
