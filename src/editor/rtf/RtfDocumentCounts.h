#pragma once

class QTextDocument;

namespace qv::editor {

/// What a document read from RTF holds, counted from the QTextDocument the editor shows:
/// the figures `qvform rtf` reports and the round-trip tests compare.
struct RtfDocumentCounts {
    int paragraphs = 0; // every block, those in table cells included
    int tables = 0;     // QTextTable frames, nested ones included
    int cells = 0;      // their cells, a merged cell once
    int listItems = 0;  // blocks in a QTextList
    int pictures = 0;   // image characters
    int fields = 0;     // runs carrying a field instruction, plus the links
    int links = 0;      // anchor runs with an href
    int kept = 0;       // kept-group objects in the text plus the document-level groups

    static RtfDocumentCounts Count(const QTextDocument& document);
    bool operator==(const RtfDocumentCounts&) const = default;
};

} // namespace qv::editor
