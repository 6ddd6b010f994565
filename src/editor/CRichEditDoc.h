#pragma once

#include <QString>
#include <QTextDocument>
#include <array>
#include <cstdint>

namespace qv::editor {

/// The print file editor's document: the rich text, the page margins (twips) that travel
/// with the file in a margin block after the RTF, and the paper size from the printer.
/// The orientation lives with the printer settings, as the program's printer owns it.
class CRichEditDoc {
public:
    static constexpr int kDefaultMargin = 1440;
    static constexpr int kLetterWidth = 12240;
    static constexpr int kLetterHeight = 15840;
    static constexpr int kMaxLineWidth = 1440 * 1000;

    explicit CRichEditDoc(int& orientation);

    QTextDocument& text() { return text_; }
    const QTextDocument& text() const { return text_; }

    /// Margins 1440, portrait, empty text, nothing to undo, not modified.
    void OnNewDocument();
    /// Reads the RTF and the margin block (1440 and portrait without one); false with
    /// `error` when the file cannot be read or is not RTF. A file read only in part opens
    /// with what could be read, and readProblem() says what stopped the reading.
    bool OnOpenDocument(const QString& path, QString& error);
    /// Why the file last opened was not read completely; empty when it was.
    const QString& readProblem() const { return readProblem_; }
    void clearReadProblem() { readProblem_.clear(); }
    /// Writes the RTF and one margin block after it, replacing the file whole.
    bool OnSaveDocument(const QString& path, QString& error);
    /// The bytes a save writes.
    QByteArray SavedBytes() const;

    /// Paper from the printer (portrait size, twips) turned for the orientation; returns
    /// the line width the text is laid out to: paper width - left - right margins, held
    /// within kMaxLineWidth either side of zero whatever margins a file gives.
    int LayoutUpdate(int paperWidth, int paperHeight);

    const std::array<int, 4>& margins() const { return margins_; } // left, top, right, bottom
    void setMargins(const std::array<int, 4>& m) { margins_ = m; }
    std::array<int, 2> paper() const { return paper_; }
    int lineWidth() const;

    /// Page setup's units: twips to thousandths of an inch and back (1000 -> 694 -> 999).
    /// Any margin a file gives converts without overflow.
    static int ToThousandths(int twips) { return static_cast<int>(std::int64_t(twips) * 100 / 144); }
    static int FromThousandths(int thousandths);

    /// The block appended after the RTF of every saved file.
    static QByteArray MarginBlock(const std::array<int, 4>& margins, int orientation);

private:
    int& orientation_;
    QTextDocument text_;
    std::array<int, 4> margins_{kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin};
    std::array<int, 2> paper_{kLetterWidth, kLetterHeight};
    QString readProblem_;
};

} // namespace qv::editor
