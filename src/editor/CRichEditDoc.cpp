#include "editor/CRichEditDoc.h"

#include "editor/rtf/RtfKept.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "platform/AtomicFile.h"
#include "platform/FontAlias.h"
#include "view/MarginBlockReader.h"

#include <algorithm>
#include <limits>

namespace qv::editor {
namespace {

constexpr std::uintmax_t kMaxFile = 256u << 20;

QFont newTextFont() {
    QFont f(QStringLiteral("Courier"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(12);
    return f;
}

} // namespace

CRichEditDoc::CRichEditDoc(int& orientation) : orientation_(orientation) {
    // Print files name Courier ("Courier 10 Pitch" in the suite's own); the Courier-metric
    // face keeps their lines 10 characters to the inch, on screen and on paper.
    static const bool substituted = [] {
        for (const char* face : {"Courier", "Courier New", platform::FontAlias::kFaceName})
            QFont::insertSubstitution(QString::fromLatin1(face),
                                      QString::fromLatin1(platform::FontAlias::kSubstitute));
        return true;
    }();
    (void)substituted;
    text_.setDefaultFont(newTextFont());
    text_.setDocumentMargin(0);
    // Fractional advances: 12-point Courier is 10 characters to the inch on screen too, so
    // the lines break where the printed page breaks them.
    text_.setUseDesignMetrics(true);
}

void CRichEditDoc::OnNewDocument() {
    margins_ = {kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin};
    orientation_ = 1;
    readProblem_.clear();
    text_.clear();
    // The last file's stylesheet, headers and settings are not the new document's.
    text_.setProperty(RtfKept::kDocumentGroups, QVariant());
    text_.clearUndoRedoStacks();
    text_.setModified(false);
}

bool CRichEditDoc::OnOpenDocument(const QString& path, QString& error) {
    std::string bytes;
    if (auto ec = platform::AtomicFile::read(path.toStdString(), bytes, kMaxFile)) {
        error = QStringLiteral("Failed to open document.");
        return false;
    }
    const QByteArray data = QByteArray::fromStdString(bytes);
    if (!data.startsWith("{\\rtf")) {
        error = QStringLiteral("Failed to open document.");
        return false;
    }
    QString problem;
    RtfReader::Read(data, text_, &problem);
    readProblem_ = problem;
    const PrintFileMargins m = MarginBlockReader::Read(bytes);
    margins_ = {m.left, m.top, m.right, m.bottom};
    orientation_ = m.found ? (m.orientation == 2 ? 2 : 1) : 1;
    text_.clearUndoRedoStacks();
    text_.setModified(false);
    error.clear();
    return true;
}

QByteArray CRichEditDoc::MarginBlock(const std::array<int, 4>& m, int orientation) {
    return QStringLiteral("{\r\n\\mymargl%1\r\n\\mymargr%2\r\n\\mymargt%3\r\n\\mymargb%4\r\n\\orient%5\r\n};")
        .arg(m[0])
        .arg(m[2])
        .arg(m[1])
        .arg(m[3])
        .arg(orientation)
        .toLatin1();
}

QByteArray CRichEditDoc::SavedBytes() const {
    return RtfWriter::Write(text_) + MarginBlock(margins_, orientation_);
}

bool CRichEditDoc::OnSaveDocument(const QString& path, QString& error) {
    const QByteArray bytes = SavedBytes();
    if (auto ec = platform::AtomicFile::write(path.toStdString(),
                                              std::string_view(bytes.constData(), bytes.size()))) {
        error = QStringLiteral("Failed to save document.");
        return false;
    }
    text_.setModified(false);
    return true;
}

int CRichEditDoc::lineWidth() const {
    const std::int64_t width = std::int64_t(paper_[0]) - margins_[0] - margins_[2];
    return static_cast<int>(std::clamp<std::int64_t>(width, -kMaxLineWidth, kMaxLineWidth));
}

int CRichEditDoc::FromThousandths(int thousandths) {
    const std::int64_t twips = std::int64_t(thousandths) * 144 / 100;
    return static_cast<int>(std::clamp<std::int64_t>(twips, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

int CRichEditDoc::LayoutUpdate(int paperWidth, int paperHeight) {
    if (paperWidth <= 0 || paperHeight <= 0) {
        paperWidth = kLetterWidth;
        paperHeight = kLetterHeight;
    }
    if (orientation_ == 2)
        std::swap(paperWidth, paperHeight);
    paper_ = {paperWidth, paperHeight};
    return lineWidth();
}

} // namespace qv::editor
