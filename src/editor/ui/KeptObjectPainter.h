#pragma once

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

namespace qv::editor {

/// Draws what the editor keeps but cannot show (a footnote, a header, a WMF picture, a
/// field without a result) as a small labelled box at its place in the text, the size
/// of the picture where it is one, so that the user sees it and can select, move or
/// delete it like a character.
class KeptObjectPainter : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    /// Registers a painter on `document`'s layout, owned by that layout.
    static void Install(QTextDocument& document);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

private:
    using QObject::QObject;
};

} // namespace qv::editor
