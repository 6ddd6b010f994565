#pragma once

#include <QTextFormat>

/// What the reader leaves in the document for the writer alone, beside the shared
/// RtfKept properties: enough to write back what a file said in the words it said it.
namespace qv::editor::RtfOwn {

/// On a picture's image format: its group as read (QByteArray), written back as it was
/// while the picture keeps the size it was shown at (kPictureShownSize, QSizeF).
constexpr int kPictureGroup = QTextFormat::UserProperty + 21;
constexpr int kPictureShownSize = QTextFormat::UserProperty + 22;

/// On a block format: the leader of each tab stop (QList<int> of TabLeader), in the
/// order of tabPositions(); Qt draws no leaders.
constexpr int kTabLeaders = QTextFormat::UserProperty + 23;
enum TabLeader { NoLeader, Dots, Hyphens, Underline, ThickLine, Equals, MiddleDots };

/// On a block format: the paragraph starts a page by its own setting (\pagebb), not
/// after a page break character; and it keeps with the next one (\keepn) (bool).
constexpr int kPageBreakBefore = QTextFormat::UserProperty + 24;
constexpr int kKeepWithNext = QTextFormat::UserProperty + 25;

/// On a character format read with a font: the font's name again (QString). Qt hashes a
/// format's family list all alike, so that a file using thousands of fonts had every new
/// format compared with every other; the name alone gives each family a hash of its own.
constexpr int kFontName = QTextFormat::UserProperty + 26;

/// Document properties, set when the file's header is kept: its font and colour tables
/// as read (QByteArray), the font numbers by name (QVariantMap) and the colours by
/// number (QVariantList of QColor, an invalid one for "automatic"), and \deff.
inline constexpr const char* kFontTable = "qvRtfFontTable";
inline constexpr const char* kFontNumbers = "qvRtfFontNumbers";
inline constexpr const char* kColorTable = "qvRtfColorTable";
inline constexpr const char* kColors = "qvRtfColors";
inline constexpr const char* kDefaultFont = "qvRtfDefaultFont";
/// With the kept font table: the code page of each font whose \fcharset is not
/// Windows-1252, by name (QVariantMap of int). Its text is written as \uN, since a
/// Windows-1252 byte would read back as that code page's character.
inline constexpr const char* kFontCodePages = "qvRtfFontCodePages";

} // namespace qv::editor::RtfOwn
