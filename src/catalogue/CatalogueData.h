#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv::catalogue {

/// What the catalogue knows about the forms: eleven categories of item strings with
/// their descriptions, and the keyword lines, read once from the three data files
/// beside the program (Windows-1252 text).
class CatalogueData {
public:
    static constexpr int kCategories = 11;
    static constexpr const char* kListFile = "Tolvad.Dat";
    static constexpr const char* kDescriptionFile = "Tolvad2.Dat";
    static constexpr const char* kKeywordFile = "Tolvad3.Dat";

    struct Category {
        std::vector<std::string> items;        // "....CODE   Title"
        std::vector<std::string> descriptions; // parallel to items
    };

    /// Reads the three files from `folder`; false with the message of the first file
    /// that could not be opened. File names match without regard to case.
    bool Load(const std::filesystem::path& folder, std::string& message);
    /// The three files' bytes as Load reads them.
    void Parse(std::string_view list, std::string_view descriptions, std::string_view keywords);

    const std::array<Category, kCategories>& categories() const { return categories_; }
    const std::vector<std::string>& keywordLines() const { return keywords_; }

    /// Characters 5 to 8 of an item string: the form code.
    static std::string CodeOf(const std::string& item);
    /// The item string from character 13 on: the form's title.
    static std::string TitleOf(const std::string& item);
    /// A data file of `folder` by name, matched without regard to case.
    static std::filesystem::path FindFile(const std::filesystem::path& folder, const std::string& name);

private:
    void readLists(std::string_view list, std::string_view descriptions);
    void readKeywords(std::string_view keywords);

    std::array<Category, kCategories> categories_;
    std::vector<std::string> keywords_;
};

} // namespace qv::catalogue
