#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CTextDoc;
class NumericFields;

/// The layout pass: turns the document's runs into `formLines`, fixed-width lines with
/// one-byte markers (0xE6 underline, 0xE8 centred, 0xA1 the current variable, 0xC8 other
/// variables, 0xA0 a no-break space), evaluating numeric fields in run order on the way.
class FormLayout {
public:
    static constexpr unsigned char kUnderline = 0xE6;
    static constexpr unsigned char kBold = 0xE1;
    static constexpr unsigned char kCentre = 0xE8;
    static constexpr unsigned char kCurrent = 0xA1;
    static constexpr unsigned char kVariable = 0xC8;
    static constexpr unsigned char kNbsp = 0xA0;
    /// Widths from a file are two digits; a worksheet could claim more, so pads stop here.
    static constexpr int kMaxPad = 1024;

    struct Result {
        int currentLine = 0;            // the line where the current variable ends
        bool currentUnderlined = false; // whether the current variable's run is underlined
        std::vector<int> lineOfRun;     // per run, the line where a variable's answer ends; -1 elsewhere
    };

    /// Runs one pass with `charsPerLine` characters per line and stores the lines in the
    /// document. Pad fields pad the text of the run they apply to, as the print files do.
    static Result Layout(CTextDoc& doc, NumericFields& numeric, int charsPerLine);

    /// Counts the bytes below 0x80 and the no-break spaces: what takes room on a line.
    static std::size_t PrintableLength(std::string_view line);

    /// The length of the word starting at run `i`: its text and that of the runs after it
    /// up to the next space run or empty run, so a word made of several runs stays together.
    static std::size_t WordLength(const CTextDoc& doc, std::size_t i);

    /// A piece of a variable's answer: a word, or a stretch of blanks (spaces and no-break
    /// spaces). A word's measure, used for wrapping, includes the text of the next run when
    /// the word ends the answer and no space run follows, so it stays with its punctuation.
    struct Chunk {
        std::string_view text;
        bool blank = false;
        std::size_t measure = 0;
    };
    static std::vector<Chunk> VariableChunks(const CTextDoc& doc, std::size_t run, std::string_view answer);

    /// Pads a run's text for a fixed-width field: cut to `width` and filled with blanks.
    static std::string PadField(std::string_view text, int width);
    /// Pads a run's text for a padded underlined field, centring it with `pad` characters
    /// (behind at an even length, in front at an odd one).
    static std::string PadUnderline(std::string_view text, int width, char pad);
};

} // namespace qv
