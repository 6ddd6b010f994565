#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QMap>
#include <QString>

class QTextDocument;

namespace qv::editor {

/// The part of a file's header the editor does not show, gathered as the reader meets
/// it and left in the document for the writer (RtfKept::kDocumentGroups and the
/// RtfOwn header properties): document-level groups and settings in their order, and
/// the font and colour tables they refer to by number.
class RtfKeptHeader {
public:
    void addGroup(const QByteArray& group);
    /// A document or section setting; settings in a row are kept as one entry.
    void addWord(const QByteArray& word, bool hasParam, int param);
    void setFontTable(const QByteArray& table) { fontTable_ = table; }
    void setColorTable(const QByteArray& table) { colorTable_ = table; }

    /// Leaves what was kept in `document`, and nothing of an earlier file. A file with no
    /// group of its own kept (a print file, or one the editor wrote from one) keeps
    /// nothing: its header is the writer's own, as it always was.
    /// `codePages`: the code page of each font in `fontNumbers` that is not Windows-1252.
    void store(QTextDocument& document, const QMap<QString, int>& fontNumbers, const QMap<QString, int>& codePages,
               const QList<QColor>& colors, int defaultFont) const;

private:
    QList<QByteArray> entries_;
    bool lastIsWords_ = false;
    bool anyGroup_ = false;
    QByteArray fontTable_, colorTable_;
};

} // namespace qv::editor
