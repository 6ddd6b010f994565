#include "formengine/TemplateReader.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <streambuf>
#include <vector>

namespace qv {
namespace {

constexpr char kSeparator = 0x15;

bool startsWith(const std::string& line, char c) {
    return !line.empty() && line.front() == c;
}

bool isLandscape(const std::string& line) {
    if (line.size() < 19)
        return false;
    static const char kWord[] = "landscape";
    for (int i = 0; i < 9; ++i) {
        char c = line[10 + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != kWord[i])
            return false;
    }
    return true;
}

// Reads the stream in blocks, so that lines are found with memchr rather than byte by
// byte, and hands the rest of the block to the body.
class BlockInput {
public:
    explicit BlockInput(std::istream& in) : buf_(in.rdbuf()), block_(kBlock) {}

    // One line: at most kMaxLineRead characters, CR LF read as LF, a lone CR at the
    // end dropped. False at the end of the input with nothing read.
    bool readLine(std::string& line) {
        line.clear();
        while (line.size() < TemplateReader::kMaxLineRead) {
            if (pos_ == size_ && !fill())
                break;
            const std::size_t room = std::min(size_ - pos_, TemplateReader::kMaxLineRead - line.size());
            const char* start = block_.data() + pos_;
            const void* nl = std::memchr(start, '\n', room);
            const std::size_t take = nl ? static_cast<const char*>(nl) - start + 1 : room;
            line.append(start, take);
            pos_ += take;
            if (nl)
                break;
        }
        if (line.empty())
            return false;
        if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n')
            line.erase(line.size() - 2, 1);
        else if (line.back() == '\r')
            line.pop_back();
        return true;
    }

    // Up to `max` bytes from the current position.
    void readRest(std::string& out, std::size_t max) {
        const std::size_t buffered = std::min(size_ - pos_, max);
        out.assign(block_.data() + pos_, buffered);
        pos_ += buffered;
        if (out.size() < max && buf_) {
            const std::size_t have = out.size();
            out.resize(max);
            const std::streamsize got =
                buf_->sgetn(out.data() + have, static_cast<std::streamsize>(max - have));
            out.resize(have + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
        }
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;

    bool fill() {
        if (!buf_)
            return false;
        const std::streamsize got = buf_->sgetn(block_.data(), static_cast<std::streamsize>(block_.size()));
        pos_ = 0;
        size_ = got > 0 ? static_cast<std::size_t>(got) : 0;
        return size_ > 0;
    }

    std::streambuf* buf_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
};

} // namespace

TemplateReader::Result TemplateReader::read(std::istream& stream, TemplateContents& out) {
    BlockInput in(stream);
    std::string line;
    if (!in.readLine(line) || line.compare(0, 4, "Form") != 0)
        return Result::NotAForm;
    out = {};
    out.landscape = isLandscape(line);

    // Free lines up to the first declaration.
    do {
        if (!in.readLine(line))
            return Result::NotAForm;
    } while (!startsWith(line, ':'));

    while (!startsWith(line, kSeparator)) {
        // The name line loses its last character (the line end) and its colon.
        std::string name = line.substr(0, line.size() - 1);
        out.names.push_back(name.empty() ? name : name.substr(1));
        std::string prompt;
        for (;;) {
            if (!in.readLine(line))
                return Result::NotAForm;
            if (startsWith(line, kSeparator) || startsWith(line, ':'))
                break;
            prompt += line;
        }
        out.prompts.push_back(std::move(prompt));
    }

    in.readRest(out.body, kMaxBody);
    if (std::size_t nul = out.body.find('\0'); nul != std::string::npos)
        out.body.resize(nul);
    return Result::Ok;
}

} // namespace qv
