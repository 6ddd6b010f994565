#pragma once

#include <QToolBar>

class QComboBox;

namespace qv {
class UserMessages;
}

namespace qv::editor {

/// The format bar: the font name box (faces, with their scripts where a face has more
/// than one) and the size box. A box's text is applied when it loses the focus or when
/// a choice closes its list; while the user types in a box it is not refreshed.
class FormatBar : public QToolBar {
    Q_OBJECT
public:
    FormatBar(UserMessages& messages, QWidget* parent = nullptr);

    QComboBox* fontBox() const { return font_; }
    QComboBox* sizeBox() const { return size_; }

    /// Shows the selection's face and size ("" when the selection mixes them).
    void refresh(const QString& face, const QString& size);

    /// The font list: face names, with " (script)" for each script when a face has more
    /// than one, sorted.
    static QStringList FontNames(const QList<QPair<QString, QStringList>>& familiesAndScripts);
    /// A family's name without the foundry the font database adds to tell families apart.
    static QString FaceName(const QString& family);

signals:
    void faceChosen(const QString& face);
    void sizeChosen(int points);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFace();
    void applySize();

    UserMessages& messages_;
    QComboBox* font_;
    QComboBox* size_;
    bool editingFont_ = false;
    bool editingSize_ = false;
};

} // namespace qv::editor
