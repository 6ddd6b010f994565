#include "view/PrintFileWriter.h"

#include "formengine/CTextDoc.h"
#include "formengine/RunFlags.h"
#include "platform/AtomicFile.h"
#include "view/FormLayout.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr const char* kHeader =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\fnil\\fcharset2 Symbol;}"
    "{\\f2\\fswiss\\fprq2 System;}{\\f3\\fnil Times New Roman;}{\\f4\\fmodern\\fprq1 Courier 10 Pitch;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;}\\margl1440\\margr1440\r\n"
    "\\pard\\deflang1033\\plain\\f4\\fs24 \r\n";
constexpr const char* kPlain = "\\plain\\f4\\fs24 ";
constexpr char kNbsp = '\xA0';

class Writer {
public:
    Writer(CTextDoc& doc, bool editor, int cpl)
        : doc_(doc), s_(doc.state()), editor_(editor), cpl_(static_cast<std::size_t>(cpl > 0 ? cpl : 65)) {}

    std::string run() {
        out_ = kHeader;
        for (std::size_t i = 0; i < doc_.runFlags.size(); ++i)
            visit(i);
        if (editor_) {
            out_ += p_;
            out_ += "\r\n}";
        } else {
            out_ += "\\par ";
            out_ += p_;
            out_ += "\r\n}";
        }
        return std::move(out_);
    }

private:
    const std::string& text(std::size_t i) const {
        static const std::string empty;
        return i < s_.runTexts.size() ? s_.runTexts[i] : empty;
    }

    void plainFormat(bool underline) {
        p_ += "\\plain\\f4\\fs24";
        if (underline)
            p_ += "\\ul";
        p_ += ' ';
    }

    void reducePad(std::size_t n) {
        if (pad_ > 0)
            pad_ -= static_cast<int>(std::min<std::size_t>(n, FormLayout::kMaxPad + 1));
    }

    void writeParagraph() {
        out_ += p_;
        out_ += "\r\n";
        p_ = "\\pard ";
    }

    void breakLine() {
        p_ += doubleSpacing_ ? "\\par \\par " : "\\par ";
        writeParagraph();
    }

    void breakIfLonger(std::size_t length) {
        if (PrintFileWriter::VisibleLength(p_) + length > cpl_)
            breakLine();
    }

    void visit(std::size_t i) {
        const std::uint32_t f = doc_.runFlags[i];
        const int v = doc_.runValues[i];
        const bool nextExists = i + 1 < doc_.runFlags.size();
        const bool ul = (f & RUN_UNDERLINE) != 0;
        if (ul != underline_) {
            if (underline_ && pad_ > 0) {
                p_.append(static_cast<std::size_t>(pad_), kNbsp);
                pad_ = 0;
            }
            underline_ = !underline_;
            plainFormat(underline_);
        }

        const std::string& t = text(i);
        if (f & RUN_DOUBLESPACE) {
            doubleSpacing_ = !doubleSpacing_;
        } else if (f & RUN_CENTER) {
            p_ = "\\qc ";
        } else if (f & RUN_BLANKLINE) {
            underline_ = true;
            plainFormat(true);
            pad_ = std::clamp(v, 0, FormLayout::kMaxPad);
        } else if (f & RUN_PADFIELD) {
            if (nextExists)
                s_.runTexts[i + 1] = FormLayout::PadField(text(i + 1), v);
        } else if (f & RUN_PADUNDERLINE) {
            if (nextExists) {
                s_.runTexts[i + 1] = FormLayout::PadUnderline(text(i + 1), v, editor_ ? kNbsp : ' ');
                doc_.runFlags[i + 1] |= RUN_UNDERLINE;
            }
        } else if (f & RUN_PARAGRAPH) {
            paragraph();
        } else if (f & RUN_SPACE) {
            const bool underscore = !t.empty() && t[0] == '_';
            if (underscore && !underline_) {
                if (i == 0 || text(i - 1) != "_")
                    p_ += "\\ul ";
                p_ += kNbsp;
                if (!nextExists || text(i + 1) != "_")
                    p_ += kPlain;
            } else {
                p_ += underscore ? std::string(" ") : PrintFileWriter::Escape(t);
            }
            reducePad(t.size());
        } else if (f == RUN_EQUATION) {
            // The layout pass formatted its field and never breaks a line here; measuring the
            // field ahead of its own padding would break the line before the blanks the
            // printed page keeps at its end, and the editor would show other lines.
        } else if (!editor_) {
            p_ += PrintFileWriter::Escape(t);
            reducePad(t.size());
        } else if ((f & RUN_VARIABLE) && !t.empty()) {
            variable(i, t);
        } else {
            breakIfLonger(FormLayout::WordLength(doc_, i));
            p_ += PrintFileWriter::Escape(t);
            reducePad(t.size());
        }
    }

    void paragraph() {
        if (editor_) {
            underline_ = false;
            p_ += doubleSpacing_ ? "\\par \\par " : "\\par ";
        } else {
            out_ += doubleSpacing_ ? "\\sl480\\slmult1 " : "\\sl ";
            if (!firstParagraph_)
                out_ += "\\par ";
            firstParagraph_ = false;
        }
        writeParagraph();
        pad_ = 0;
    }

    void variable(std::size_t i, std::string t) {
        if (underline_ && t == BLANK_TEXT)
            t.assign(BLANK_TEXT.size(), kNbsp);
        for (const FormLayout::Chunk& c : FormLayout::VariableChunks(doc_, i, t)) {
            const std::string_view chunk = c.text;
            if (!c.blank)
                breakIfLonger(c.measure);
            p_ += PrintFileWriter::Escape(chunk);
            reducePad(chunk.size());
        }
    }

    CTextDoc& doc_;
    ProgramState& s_;
    const bool editor_;
    const std::size_t cpl_;
    std::string out_;
    std::string p_;
    bool underline_ = false;
    bool doubleSpacing_ = true;
    bool firstParagraph_ = true;
    int pad_ = 0;
};

} // namespace

std::string PrintFileWriter::Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out;
}

std::size_t PrintFileWriter::VisibleLength(std::string_view rtf) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') {
            ++n;
        } else if (i + 1 < rtf.size() && (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}')) {
            ++n;
            ++i;
        } else {
            const std::size_t space = rtf.find(' ', i);
            if (space == std::string_view::npos)
                break;
            i = space;
        }
    }
    return n;
}

int PrintFileWriter::Twips(int hundredths) {
    return hundredths > 0 ? hundredths * 1440 / 100 : 0;
}

std::string PrintFileWriter::MarginBlock(const std::array<int, 4>& m, int orientation) {
    // Left, right, top, bottom: the order every reader of print files expects.
    return "{\r\n\\mymargl" + std::to_string(Twips(m[0])) + "\r\n\\mymargr" + std::to_string(Twips(m[2])) +
           "\r\n\\mymargt" + std::to_string(Twips(m[1])) + "\r\n\\mymargb" + std::to_string(Twips(m[3])) +
           "\r\n\\orient" + std::to_string(orientation == 2 ? 2 : 1) + "\r\n};";
}

std::string PrintFileWriter::EditorRtf(CTextDoc& doc, const PrintFilePage& page) {
    std::string rtf = Writer(doc, true, page.charsPerLine).run();
    doc.formLines.clear(); // the next layout pass builds them again
    return rtf + MarginBlock(page.margins, page.orientation);
}

std::string PrintFileWriter::WordProcessorRtf(CTextDoc& doc) {
    return Writer(doc, false, 65).run();
}

bool PrintFileWriter::Save(const std::string& path, const std::string& bytes, UserMessages& messages) {
    const std::error_code ec = platform::AtomicFile::write(path, bytes);
    if (!ec)
        return true;
    messages.show("The print file " + path + " could not be written: " + ec.message() + ".",
                  MessageIcon::Stop);
    return false;
}

} // namespace qv
