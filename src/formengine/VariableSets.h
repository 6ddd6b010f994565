#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qv::platform {
class Profile;
}

namespace qv {

/// Three sets of the fourteen standard answers (name, company, address, ...), kept in the
/// settings under "VarSection %d" / "Var %d"; "Variable Sets" / "Default" names the set
/// applied to every newly loaded template. Values are held as Windows-1252 bytes, like
/// every answer, and stored as UTF-8.
class VariableSets {
public:
    static constexpr int kSets = 3;
    static constexpr int kEntries = 14;
    using Set = std::array<std::string, kEntries>;

    /// Index of a standard variable name (COMPANY counts as CORP), or -1.
    static int standardIndex(std::string_view name);
    static std::string_view standardName(int index);

    /// Reads all 42 values; a missing one reads empty.
    void LoadVariableSets(const platform::Profile& profile);
    /// Writes all 42 values, changed or not.
    bool SaveVariableSets(platform::Profile& profile) const;

    /// The "Default" set number; a value outside 0 to 2 reads as 0.
    static int defaultSet(const platform::Profile& profile);
    static bool setDefaultSet(platform::Profile& profile, int set);

    Set& operator[](int set) { return sets_[set]; }
    const Set& operator[](int set) const { return sets_[set]; }
    bool operator==(const VariableSets&) const = default;

private:
    std::array<Set, kSets> sets_;
};

} // namespace qv
