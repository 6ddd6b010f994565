#include "catalogue/CatalogueData.h"

#include "platform/CaseBlindPath.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace qv::catalogue {
namespace {

constexpr std::size_t kPerRead = 254; // characters per read, the line end included
// The data files are a few kilobytes. A line costs a string of its own however short, so
// a file far larger would cost tens of times its size: it is refused as unreadable.
constexpr std::uintmax_t kMaxFile = 1u << 20;

/// The bytes of a data file; false when it is missing, unreadable or far larger than
/// any catalogue.
bool readFile(const std::filesystem::path& file, std::string& bytes) {
    std::error_code ec;
    if (file.empty() || std::filesystem::file_size(file, ec) > kMaxFile || ec)
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return true;
}

/// A data file read as text: CR LF reads as LF; each read returns at most 254
/// characters and stops after a line feed; nothing when the file has ended.
class TextReader {
public:
    explicit TextReader(std::string_view raw) {
        text_.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i)
            if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n'))
                text_ += raw[i];
    }
    std::optional<std::string> read() {
        if (at_ >= text_.size())
            return std::nullopt;
        std::size_t end = text_.find('\n', at_);
        end = end == std::string::npos ? text_.size() : end + 1;
        end = std::min(end, at_ + kPerRead);
        std::string line = text_.substr(at_, end - at_);
        at_ = end;
        return line;
    }

private:
    std::string text_;
    std::size_t at_ = 0;
};

void removeLineFeed(std::string& s) {
    if (!s.empty() && s.back() == '\n')
        s.pop_back();
}

} // namespace

std::filesystem::path CatalogueData::FindFile(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path found = platform::CaseBlindPath::Resolve(folder / name);
    std::error_code ec;
    return std::filesystem::is_regular_file(found, ec) ? found : std::filesystem::path();
}

std::string CatalogueData::CodeOf(const std::string& item) {
    return item.size() > 4 ? item.substr(4, 4) : std::string();
}

std::string CatalogueData::TitleOf(const std::string& item) {
    return item.size() > 12 ? item.substr(12) : std::string();
}

bool CatalogueData::Load(const std::filesystem::path& folder, std::string& message) {
    categories_ = {};
    keywords_.clear();
    std::string list, descriptions, keywords;
    if (!readFile(FindFile(folder, kListFile), list)) {
        message = "I'm sorry, but there was an error opening the categories list file";
        return false;
    }
    if (!readFile(FindFile(folder, kDescriptionFile), descriptions)) {
        message = "I'm sorry, but there was an error opening the categories description file";
        return false;
    }
    readLists(list, descriptions);
    if (!readFile(FindFile(folder, kKeywordFile), keywords)) {
        message = "Couldn't open the keyword search data file";
        return false;
    }
    readKeywords(keywords);
    return true;
}

void CatalogueData::Parse(std::string_view list, std::string_view descriptions, std::string_view keywords) {
    categories_ = {};
    keywords_.clear();
    readLists(list, descriptions);
    readKeywords(keywords);
}

void CatalogueData::readLists(std::string_view listBytes, std::string_view descriptionBytes) {
    TextReader list(listBytes), descriptions(descriptionBytes);
    // The two files advance in step. A file that ends before ":END" ends the reading.
    int category = -1;
    std::string line;
    while (line != ":END") {
        auto next = list.read();
        if (!next)
            break;
        line = *next;
        if (!line.empty() && line[0] == ':') {
            removeLineFeed(line);
            ++category;
            if (line != ":END") {
                // The line after a header is only compared with ":END", line feed and all.
                auto ignored = list.read();
                if (!ignored)
                    break;
                line = *ignored;
            }
            continue;
        }
        removeLineFeed(line);
        std::string item = line.substr(0, std::min<std::size_t>(8, line.size()));
        if (line.size() > 8)
            item += "   " + line.substr(8);
        std::string description = descriptions.read().value_or(std::string());
        if (!description.empty())
            description.pop_back();
        description = description.size() > 4 ? description.substr(4) : std::string();
        // Items before the first header or after the eleventh have no category to go in.
        if (category >= 0 && category < kCategories) {
            categories_[category].items.push_back(item);
            categories_[category].descriptions.push_back(description);
        }
    }
}

void CatalogueData::readKeywords(std::string_view bytes) {
    TextReader keywords(bytes);
    for (auto k = keywords.read(); k && *k != "END\n"; k = keywords.read()) {
        std::string keyword = *k;
        removeLineFeed(keyword);
        keywords_.push_back(keyword);
    }
}

} // namespace qv::catalogue
