#pragma once

#include <QByteArray>

class QTextDocument;

namespace qv::editor {

/// Writes a QTextDocument as RTF (Windows-1252, characters outside it as \uN?): fonts,
/// colours, bold, italic, underline, strike-out, sizes, alignment, indents and spacing,
/// line and page breaks, tabs and tab stops, links and fields, pictures, and what the
/// reader kept (RtfKept): the file's own header groups and each kept object's group.
class RtfWriter {
public:
    static QByteArray Write(const QTextDocument& document);
};

} // namespace qv::editor
