#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qv {

class CTextDoc;
class UserMessages;

/// The page a print file carries in its margin block.
struct PrintFilePage {
    std::array<int, 4> margins{100, 100, 100, 100}; // left, top, right, bottom, hundredths of an inch
    int orientation = 1;                            // 1 portrait, 2 landscape
    int charsPerLine = 65;                          // the editor variant breaks lines as printed
};

/// Turns the document's runs into a print file (RTF, CR LF line ends). The editor variant
/// breaks lines as the printed page does and appends the margin block; the word-processor
/// variant writes one paragraph per form paragraph and leaves line breaking to the reader.
/// Like the layout pass, both pad the runs that pad fields apply to.
class PrintFileWriter {
public:
    static std::string EditorRtf(CTextDoc& doc, const PrintFilePage& page);
    static std::string WordProcessorRtf(CTextDoc& doc);

    /// "{", the four margins in twips, the orientation and "};", lines ended CR LF.
    static std::string MarginBlock(const std::array<int, 4>& margins, int orientation);
    /// Hundredths of an inch to twips, the remainder dropped.
    static int Twips(int hundredths);

    /// Run text as RTF: "\", "{" and "}" are escaped so that readers see them as text.
    static std::string Escape(std::string_view text);
    /// The length of RTF text not counting control words ("\" up to and including the
    /// next space); an escaped character counts as one.
    static std::size_t VisibleLength(std::string_view rtf);

    /// Writes the bytes to `path` whole or not at all; a failure is reported and false.
    static bool Save(const std::string& path, const std::string& bytes, UserMessages& messages);
};

} // namespace qv
