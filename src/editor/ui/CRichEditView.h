#pragma once

#include <QTextEdit>
#include <functional>

class QMenu;

namespace qv {
class UserMessages;
}

namespace qv::editor {

/// The print file editor's view: the rich text, laid out to the page's line width,
/// typed in Courier. Drops onto it are refused.
class CRichEditView : public QTextEdit {
    Q_OBJECT
public:
    CRichEditView(UserMessages& messages, QWidget* parent = nullptr);

    /// Lays the text out to `twips` of line width (the page between its margins).
    void setLineWidth(int twips);
    /// Runs instead of showing the context menu.
    void setContextMenuHook(std::function<void(QMenu&)> hook) { contextMenuHook_ = std::move(hook); }

signals:
    void contextMenuWanted(QMenu& menu);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    UserMessages& messages_;
    std::function<void(QMenu&)> contextMenuHook_;
};

} // namespace qv::editor
