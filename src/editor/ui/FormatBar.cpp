#include "editor/ui/FormatBar.h"

#include "formengine/UserMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QRegularExpression>

namespace qv::editor {
namespace {

QString faceOf(const QString& entry) {
    const qsizetype paren = entry.lastIndexOf(QStringLiteral(" ("));
    return paren < 0 ? entry : entry.left(paren);
}

/// The C library's atoi.
int leadingInteger(const QString& text) {
    const QByteArray s = text.toLatin1();
    return std::atoi(s.constData());
}

} // namespace

QString FormatBar::FaceName(const QString& family) {
    // The font database tells same-named families of different foundries apart as
    // "Name [foundry]"; the user knows them, and a font is chosen, by the name alone.
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return QString(family).remove(foundry);
}

QStringList FormatBar::FontNames(const QList<QPair<QString, QStringList>>& familiesAndScripts) {
    QStringList entries;
    for (const auto& [family, scripts] : familiesAndScripts)
        for (const QString& script : scripts)
            if (const QString face = FaceName(family);
                script != QStringLiteral("Mac") && !entries.contains(face)) {
                const QString entry = face + QStringLiteral(" (") + script + QLatin1Char(')');
                if (!entries.contains(entry))
                    entries << entry;
            }
    entries.sort(Qt::CaseInsensitive);
    // A face listed once goes by its bare name; one in several scripts keeps them.
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString face = faceOf(entries[i]);
        const bool sameAsNext = i + 1 < entries.size() && faceOf(entries[i + 1]) == face;
        const bool sameAsPrevious = i > 0 && faceOf(entries[i - 1]) == face;
        if (!sameAsNext && !sameAsPrevious)
            entries[i] = face;
    }
    return entries;
}

FormatBar::FormatBar(UserMessages& messages, QWidget* parent)
    : QToolBar(QStringLiteral("Format Bar"), parent), messages_(messages) {
    setObjectName(QStringLiteral("formatBar131"));
    font_ = new QComboBox(this);
    font_->setObjectName(QStringLiteral("fontName1000"));
    font_->setEditable(true);
    font_->setInsertPolicy(QComboBox::NoInsert);
    font_->setMinimumContentsLength(20);
    font_->setAccessibleName(tr("Font"));
    QList<QPair<QString, QStringList>> families;
    for (const QString& family : QFontDatabase::families()) {
        QStringList scripts;
        for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(family))
            if (ws != QFontDatabase::Any)
                scripts << QFontDatabase::writingSystemName(ws);
        if (scripts.isEmpty())
            scripts << QStringLiteral("Western");
        families.append({family, scripts});
    }
    font_->addItems(FontNames(families));
    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("fontSize1001"));
    size_->setEditable(true);
    size_->setInsertPolicy(QComboBox::NoInsert);
    size_->setAccessibleName(tr("Size"));
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 24, 36, 54, 72})
        size_->addItem(QString::number(s));
    addWidget(font_);
    addWidget(size_);
    // The box or its text field may hold the focus, depending on the style.
    for (QWidget* w : {static_cast<QWidget*>(font_), static_cast<QWidget*>(font_->lineEdit()),
                       static_cast<QWidget*>(size_), static_cast<QWidget*>(size_->lineEdit())})
        w->installEventFilter(this);
    connect(font_, &QComboBox::activated, this, [this] {
        applyFace();
        font_->lineEdit()->setFocus();
    });
    connect(size_, &QComboBox::activated, this, [this] {
        applySize();
        size_->lineEdit()->setFocus();
    });
}

bool FormatBar::eventFilter(QObject* watched, QEvent* event) {
    const bool isFont = watched == font_ || watched == font_->lineEdit();
    if (event->type() == QEvent::FocusIn) {
        (isFont ? editingFont_ : editingSize_) = true;
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving the box for its own text field is no leaving.
        QWidget* box = isFont ? static_cast<QWidget*>(font_) : static_cast<QWidget*>(size_);
        QWidget* next = QApplication::focusWidget();
        if (!(next && (next == box || box->isAncestorOf(next))) && (isFont ? editingFont_ : editingSize_))
            isFont ? applyFace() : applySize();
    }
    return QToolBar::eventFilter(watched, event);
}

void FormatBar::applyFace() {
    const QString text = font_->currentText();
    editingFont_ = false;
    if (!text.isEmpty())
        emit faceChosen(text.left(31));
}

void FormatBar::applySize() {
    const QString text = size_->currentText();
    editingSize_ = false;
    if (text.isEmpty())
        return;
    const int n = leadingInteger(text);
    if (n < 1)
        return; // no such size: nothing changes, and the box shows the selection's again
    if (n < 128)
        emit sizeChosen(n);
    else
        messages_.show("I'm sorry, but you must specify a smaller font size", MessageIcon::Exclamation);
}

void FormatBar::refresh(const QString& face, const QString& size) {
    if (!editingFont_ && font_->currentText() != face)
        font_->setEditText(face);
    if (!editingSize_ && size_->currentText() != size)
        size_->setEditText(size);
}

} // namespace qv::editor
