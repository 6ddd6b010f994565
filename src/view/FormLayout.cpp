#include "view/FormLayout.h"

#include "formengine/CTextDoc.h"
#include "formengine/RunFlags.h"
#include "view/NumericFields.h"

#include <algorithm>

namespace qv {
namespace {

bool isBlankChar(char c) {
    return c == ' ' || static_cast<unsigned char>(c) == FormLayout::kNbsp;
}

int clampPad(std::int32_t v) {
    return std::clamp<std::int32_t>(v, 0, FormLayout::kMaxPad);
}

class Pass {
public:
    Pass(CTextDoc& doc, NumericFields& numeric, int cpl)
        : doc_(doc), s_(doc.state()), numeric_(numeric), cpl_(static_cast<std::size_t>(std::max(cpl, 1))) {}

    FormLayout::Result run() {
        doc_.formLines.clear();
        numeric_.PrePass();
        const std::size_t runs = doc_.runFlags.size();
        const int currentRun = (s_.currentOcc >= 0 && s_.currentOcc < s_.occCount &&
                                static_cast<std::size_t>(s_.currentOcc) < s_.occRuns.size())
                                   ? s_.occRuns[s_.currentOcc]
                                   : -1;
        result_.lineOfRun.assign(runs, -1);
        for (std::size_t i = 0; i < runs; ++i)
            visit(i, static_cast<int>(i) == currentRun);
        doc_.formLines.push_back(std::move(line_));
        return result_;
    }

private:
    const std::string& text(std::size_t i) const {
        static const std::string empty;
        return i < s_.runTexts.size() ? s_.runTexts[i] : empty;
    }

    void reducePad(std::size_t n) {
        if (pad_ > 0)
            pad_ -= static_cast<int>(std::min<std::size_t>(n, FormLayout::kMaxPad + 1));
    }

    void endLine() {
        doc_.formLines.push_back(std::move(line_));
        if (doubleSpacing_)
            doc_.formLines.emplace_back();
        line_.clear();
    }

    void wrap() {
        endLine();
        if (underline_)
            line_ += static_cast<char>(FormLayout::kUnderline);
    }

    void wrapIfLonger(std::size_t length) {
        if (FormLayout::PrintableLength(line_) + length > cpl_)
            wrap();
    }

    void visit(std::size_t i, bool current) {
        const std::uint32_t f = doc_.runFlags[i];
        const int v = doc_.runValues[i];
        const std::string& t = text(i);
        const bool nextExists = i + 1 < doc_.runFlags.size();

        const bool ul = (f & RUN_UNDERLINE) != 0;
        if (ul != underline_) {
            if (underline_ && pad_ > 0) {
                line_.append(static_cast<std::size_t>(pad_), static_cast<char>(FormLayout::kNbsp));
                pad_ = 0;
            }
            line_ += static_cast<char>(FormLayout::kUnderline);
            underline_ = !underline_;
        }

        if (f & RUN_DOUBLESPACE) {
            doubleSpacing_ = !doubleSpacing_;
        } else if (f & RUN_CENTER) {
            line_.assign(1, static_cast<char>(FormLayout::kCentre));
        } else if (f & RUN_BLANKLINE) {
            line_ += static_cast<char>(FormLayout::kUnderline);
            underline_ = true;
            pad_ = clampPad(v);
        } else if (f & RUN_PADFIELD) {
            if (nextExists)
                s_.runTexts[i + 1] = FormLayout::PadField(text(i + 1), v);
        } else if (f & RUN_PADUNDERLINE) {
            if (nextExists) {
                s_.runTexts[i + 1] = FormLayout::PadUnderline(text(i + 1), v, ' ');
                doc_.runFlags[i + 1] |= RUN_UNDERLINE;
            }
        } else if (f & RUN_PARAGRAPH) {
            endLine();
            underline_ = false;
            pad_ = 0;
        } else if (f & RUN_SPACE) {
            const bool underscore = !t.empty() && t[0] == '_';
            if (underscore && !underline_) {
                // Part of a blank drawn with underscores: one underlined stretch.
                if (i == 0 || text(i - 1) != "_")
                    line_ += static_cast<char>(FormLayout::kUnderline);
                line_ += ' ';
                if (!nextExists || text(i + 1) != "_")
                    line_ += static_cast<char>(FormLayout::kUnderline);
            } else {
                line_ += underscore ? std::string(" ") : t;
            }
            reducePad(t.size());
        } else if (f == RUN_EQUATION) {
            numeric_.ProcessEquation(static_cast<int>(i));
        } else if ((f & RUN_VARIABLE) && !t.empty()) {
            variable(i, t, current, ul);
        } else {
            wrapIfLonger(FormLayout::WordLength(doc_, i));
            line_ += t;
            reducePad(t.size());
        }
    }

    void variable(std::size_t i, const std::string& t, bool current, bool ul) {
        const char marker = static_cast<char>(current ? FormLayout::kCurrent : FormLayout::kVariable);
        for (const FormLayout::Chunk& c : FormLayout::VariableChunks(doc_, i, t)) {
            const std::string_view chunk = c.text;
            if (!c.blank)
                wrapIfLonger(c.measure);
            // Set at every chunk: an answer that wraps reports the line of its end, which the
            // view then scrolls into sight with the lines below it.
            result_.lineOfRun[i] = static_cast<int>(doc_.formLines.size());
            if (current) {
                result_.currentLine = static_cast<int>(doc_.formLines.size());
                result_.currentUnderlined = ul;
            }
            line_ += marker;
            line_ += chunk;
            line_ += marker;
            reducePad(chunk.size());
        }
    }

    CTextDoc& doc_;
    ProgramState& s_;
    NumericFields& numeric_;
    std::size_t cpl_;
    std::string line_;
    bool underline_ = false;
    bool doubleSpacing_ = true;
    int pad_ = 0;
    FormLayout::Result result_;
};

} // namespace

std::size_t FormLayout::PrintableLength(std::string_view line) {
    std::size_t n = 0;
    for (unsigned char c : line)
        n += (c < 0x80 || c == kNbsp) ? 1 : 0;
    return n;
}

std::vector<FormLayout::Chunk> FormLayout::VariableChunks(const CTextDoc& doc, std::size_t run,
                                                          std::string_view answer) {
    const auto& texts = doc.state().runTexts;
    const bool nextIsSpace = run + 1 < doc.runFlags.size() && (doc.runFlags[run + 1] & RUN_SPACE);
    const std::size_t nextLength = run + 1 < texts.size() ? texts[run + 1].size() : 0;
    std::vector<Chunk> chunks;
    for (std::size_t pos = 0; pos < answer.size();) {
        const bool blank = isBlankChar(answer[pos]);
        std::size_t end = pos;
        while (end < answer.size() && isBlankChar(answer[end]) == blank)
            ++end;
        Chunk c{answer.substr(pos, end - pos), blank, end - pos};
        if (!blank && end == answer.size() && !nextIsSpace)
            c.measure += nextLength;
        chunks.push_back(c);
        pos = end;
    }
    return chunks;
}

std::size_t FormLayout::WordLength(const CTextDoc& doc, std::size_t i) {
    const auto& texts = doc.state().runTexts;
    const std::size_t runs = std::min(texts.size(), doc.runFlags.size());
    if (i >= runs)
        return 0;
    std::size_t n = texts[i].size();
    for (std::size_t k = i + 1; k < runs && !(doc.runFlags[k] & RUN_SPACE) && !texts[k].empty(); ++k)
        n += texts[k].size();
    return n;
}

std::string FormLayout::PadField(std::string_view text, int width) {
    const std::size_t w = static_cast<std::size_t>(clampPad(width));
    std::string out(text.substr(0, w));
    out.resize(w, ' ');
    return out;
}

std::string FormLayout::PadUnderline(std::string_view text, int width, char pad) {
    const std::size_t w = static_cast<std::size_t>(clampPad(width));
    std::string out(text);
    while (out.size() < w) {
        if (out.size() % 2 == 1)
            out.insert(out.begin(), pad);
        else
            out += pad;
    }
    return out;
}

FormLayout::Result FormLayout::Layout(CTextDoc& doc, NumericFields& numeric, int charsPerLine) {
    return Pass(doc, numeric, charsPerLine).run();
}

} // namespace qv
