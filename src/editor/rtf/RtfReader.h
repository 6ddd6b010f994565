#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace qv::editor {

/// Reads RTF into a QTextDocument: text with its character and paragraph formatting,
/// fonts, colours, tab stops, links and field results, pictures (PNG and JPEG), line and
/// page breaks. What the document cannot show is kept as RtfKept says: the file's own
/// groups in its header, the others (footnotes, bookmarks, metafile pictures, unknown
/// destinations) as objects at their place. Text after the final brace (a print file's
/// margin block) is not read. Hostile input loads what it can: nesting, parameters and
/// picture data are bounded.
class RtfReader {
public:
    /// False when the text is not RTF at all; `error` then says why. Otherwise true, with
    /// `error` saying, a line each, what could not be read (a control word too long, the
    /// file cut short...); the document then holds all that could.
    static bool Read(const QByteArray& rtf, QTextDocument& document, QString* error = nullptr);
};

} // namespace qv::editor
