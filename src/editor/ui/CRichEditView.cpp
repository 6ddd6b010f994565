#include "editor/ui/CRichEditView.h"

#include "formengine/UserMessages.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

namespace qv::editor {

CRichEditView::CRichEditView(UserMessages& messages, QWidget* parent)
    : QTextEdit(parent), messages_(messages) {
    setObjectName(QStringLiteral("richEditView"));
    setAccessibleName(tr("Print file"));
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setViewportMargins(12, 8, 0, 0); // a little paper around the text
    QTextCharFormat courier;
    courier.setFontFamilies({QStringLiteral("Courier")});
    mergeCurrentCharFormat(courier);
}

void CRichEditView::setLineWidth(int twips) {
    // Twips to the screen's pixels, with two pixels to spare: a line that fills the page
    // exactly, as print files' lines do, must not break early for a rounding.
    setLineWrapColumnOrWidth(std::max(1, twips * logicalDpiX() / 1440 + 2));
}

void CRichEditView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu130"));
    emit contextMenuWanted(menu);
    if (contextMenuHook_)
        contextMenuHook_(menu);
    else
        menu.exec(event->globalPos());
}

void CRichEditView::dropEvent(QDropEvent* event) {
    messages_.show("Dropped", MessageIcon::None);
    event->ignore();
}

bool CRichEditView::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText() || source->hasHtml() || source->hasImage();
}

} // namespace qv::editor
