#include "tools/qvform/AnswersFile.h"

#include "formengine/CTextDoc.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <vector>

namespace qv::tools {
namespace {

constexpr std::uintmax_t kMaxAnswersBytes = 64u << 20;

bool isOccurrenceNumber(const std::string& key) {
    return !key.empty() && key.size() <= 9 && key.find_first_not_of("0123456789") == std::string::npos;
}

std::string notPairs(const std::string& path) {
    return "the answers file " + path + " is not a JSON array of [key, value] pairs";
}

/// Reads an answers file already known to be JSON: the top level must be an array, each
/// element an array of two strings, handed on in order as it closes.
class PairReader : public nlohmann::json::json_sax_t {
public:
    using Apply = std::function<void(std::size_t, const std::string&, const std::string&)>;
    PairReader(const std::string& path, Apply apply) : path_(path), apply_(std::move(apply)) {}

    bool null() override { return other(); }
    bool boolean(bool) override { return other(); }
    bool number_integer(number_integer_t) override { return other(); }
    bool number_unsigned(number_unsigned_t) override { return other(); }
    bool number_float(number_float_t, const string_t&) override { return other(); }
    bool binary(binary_t&) override { return other(); }
    bool start_object(std::size_t) override { return other(); }
    bool key(string_t&) override { return other(); }
    bool end_object() override { return other(); }
    bool string(string_t& text) override {
        if (depth_ != 2 || count_ >= 2)
            return other();
        (count_++ == 0 ? key_ : value_) = std::move(text);
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ >= 2)
            return other();
        if (depth_++ == 1) {
            ++pair_;
            count_ = 0;
        }
        return true;
    }
    bool end_array() override {
        if (depth_-- == 2) {
            if (count_ != 2)
                badPair();
            apply_(pair_, key_, value_);
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        throw RefusedFile(notPairs(path_));
    }

private:
    /// Anything but an array of pairs of strings.
    bool other() {
        if (depth_ == 0)
            throw RefusedFile(notPairs(path_));
        if (depth_ == 1)
            ++pair_;
        badPair();
        return false;
    }
    [[noreturn]] void badPair() {
        throw RefusedFile("answer " + std::to_string(pair_) + " of " + path_ +
                          " is not a [key, value] pair of strings");
    }

    const std::string& path_;
    Apply apply_;
    int depth_ = 0;
    std::size_t pair_ = 0; // the number of the pair being read, from 1
    int count_ = 0;        // its strings so far
    std::string key_, value_;
};

} // namespace

void AnswersFile::Apply(const std::string& path, CTextDoc& doc) {
    std::string bytes;
    if (auto ec = platform::AtomicFile::read(path, bytes, kMaxAnswersBytes))
        throw RefusedFile("cannot read the answers file " + path + ": " + ec.message());
    ApplyBytes(bytes, path, doc);
}

void AnswersFile::ApplyBytes(const std::string& bytes, const std::string& path, CTextDoc& doc) {
    // Checked whole first, then read pair by pair: no tree of the file is built, so a
    // deeply nested or long file takes memory in proportion to its longest text only.
    if (!nlohmann::json::accept(bytes))
        throw RefusedFile(notPairs(path));
    const ProgramState& s = doc.state();
    // Each name's occurrences, found once: a long file of answers by name takes time in
    // proportion to its answers, not to its answers times the form's occurrences.
    std::unordered_map<std::string, std::vector<int>> occurrencesOf;
    for (int k = 0; k < s.occCount; ++k)
        occurrencesOf[s.varNames[s.occVars[k]]].push_back(k);
    PairReader reader(path, [&](std::size_t n, const std::string& key, const std::string& utf8Value) {
        const std::string where = "answer " + std::to_string(n) + " of " + path;
        const std::string value = CodePage::fromUtf8(utf8Value);
        if (isOccurrenceNumber(key)) {
            const long k = std::stol(key);
            if (k >= s.occCount)
                throw RefusedFile(where + ": the form has no occurrence " + key + " (it has " +
                                  std::to_string(s.occCount) + ")");
            doc.StoreAnswer(static_cast<int>(k), value);
            return;
        }
        const auto found = occurrencesOf.find(CodePage::fromUtf8(key));
        if (found == occurrencesOf.end())
            throw RefusedFile(where + ": the form has no variable named " + key);
        for (const int k : found->second)
            doc.StoreAnswer(k, value);
    });
    nlohmann::json::sax_parse(bytes, &reader);
}

} // namespace qv::tools
