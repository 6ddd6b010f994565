#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace qv::editor {

/// Reads RTF into a QTextDocument: text with its character and paragraph formatting,
/// fonts, colours, pictures (PNG and JPEG), line and page breaks. Unknown and
/// ignorable destinations are skipped; text after the final brace (a print file's
/// margin block) is not read. Hostile input loads what it can: nesting, parameters
/// and picture data are bounded.
class RtfReader {
public:
    /// False when the text is not RTF at all; `error` then says why. Otherwise true,
    /// with `error` set when the reading stopped early on a fault.
    static bool Read(const QByteArray& rtf, QTextDocument& document, QString* error = nullptr);
};

} // namespace qv::editor
