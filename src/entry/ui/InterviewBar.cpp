#include "entry/ui/InterviewBar.h"

#include "entry/ui/PictureButton.h"
#include "platform/CodePage.h"
#include "shared/ui/PaintedIcons.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace qv {
namespace {

QString fromCp1252(const std::string& s) {
    return QString::fromStdString(CodePage::toUtf8(s));
}

template <typename W> W* named(W* w, const char* name, const QString& statusTip, const QString& accessible) {
    w->setObjectName(QString::fromLatin1(name));
    if (!statusTip.isEmpty())
        w->setStatusTip(statusTip);
    w->setAccessibleName(accessible);
    return w;
}

} // namespace

InterviewBar::InterviewBar(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Q-V Variable Entry"));
    picture_ = named(new PictureButton(PaintedIcons::icon(PaintedIcons::FormPicture), this), "picture1013",
                     {}, tr("Form picture"));
    prompt_ = named(new QLabel(QStringLiteral("(Nothing is loaded)"), this), "prompt108", {}, tr("Question"));
    prompt_->setWordWrap(true);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt_->setMinimumHeight(prompt_->fontMetrics().lineSpacing() * 2);
    value_ = named(new QLineEdit(this), "value106", QStringLiteral("Variable Contents"), tr("Answer"));
    value_->setMaxLength(1024);
    prompt_->setBuddy(value_);

    auto* group = new QGroupBox(this);
    fillInLater_ = named(new QCheckBox(QStringLiteral("Fill &In Later"), group), "fillInLater1014",
                         QStringLiteral("You can press Alt-I for a shortcut to this"), tr("Fill In Later"));
    fillInLater_->setToolTip(QStringLiteral("Check to leave a blank to fill in later"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(6, 2, 6, 2);
    groupLayout->addWidget(fillInLater_);

    back_ = named(new QPushButton(QStringLiteral("< &Back"), this), "back104",
                  QStringLiteral("Previous Variable"), tr("Back"));
    position_ = named(new QSlider(Qt::Horizontal, this), "position1007",
                      QStringLiteral("Postion of this variable"), tr("Position of this variable"));
    position_->setRange(0, 0);
    position_->setPageStep(1);
    next_ = named(new QPushButton(QStringLiteral("&Next >"), this), "next107",
                  QStringLiteral("Next Variable"), tr("Next"));
    next_->setDefault(true);
    next_->setAutoDefault(true);
    done_ = named(new QPushButton(QStringLiteral("&Done"), this), "done101", {}, tr("Done"));
    cancel_ = named(new QPushButton(QStringLiteral("Cancel"), this), "cancel57665", {}, tr("Cancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(prompt_, 0, 1, 1, 4);
    grid->addWidget(group, 0, 5, 1, 2);
    grid->addWidget(value_, 1, 1, 1, 6);
    grid->addWidget(back_, 2, 1);
    grid->addWidget(position_, 2, 2, 1, 2);
    grid->addWidget(next_, 2, 4);
    grid->addWidget(done_, 2, 5);
    grid->addWidget(cancel_, 2, 6);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);

    setTabOrder(value_, fillInLater_);
    setTabOrder(fillInLater_, back_);
    setTabOrder(back_, position_);
    setTabOrder(position_, next_);
    setTabOrder(next_, done_);
    setTabOrder(done_, cancel_);

    connect(back_, &QPushButton::clicked, this, &InterviewBar::backClicked);
    connect(next_, &QPushButton::clicked, this, &InterviewBar::nextClicked);
    connect(done_, &QPushButton::clicked, this, &InterviewBar::doneClicked);
    connect(cancel_, &QPushButton::clicked, this, &InterviewBar::cancelClicked);
    connect(fillInLater_, &QCheckBox::clicked, this, &InterviewBar::fillInLaterClicked);
    connect(value_, &QLineEdit::textEdited, this, &InterviewBar::changed);
    value_->installEventFilter(this);
    connect(position_, &QSlider::valueChanged, this, &InterviewBar::changed);
}

void InterviewBar::show(const InterviewView& v) {
    back_->setEnabled(v.backEnabled);
    next_->setEnabled(v.nextEnabled);
    next_->setText(QString::fromStdString(v.nextText));
    done_->setEnabled(v.doneEnabled);
    fillInLater_->setEnabled(v.fillInLater.enabled);
    fillInLater_->setChecked(v.fillInLater.checked);
    if (v.prompt) {
        prompt_->setText(fromCp1252(*v.prompt).trimmed());
        const QSignalBlocker block(position_);
        position_->setRange(0, v.sliderMaximum);
        position_->setValue(v.sliderPosition);
    }
    value_->setEnabled(v.valueEnabled);
    if (v.valueText) {
        value_->setText(fromCp1252(*v.valueText));
        value_->selectAll();
    }
    if (v.focusValue) {
        // A computed occurrence takes no answer: Next, the bar's default, has the focus.
        if (value_->isEnabled())
            value_->setFocus(Qt::OtherFocusReason);
        else if (next_->isEnabled())
            next_->setFocus(Qt::OtherFocusReason);
    }
}

void InterviewBar::keyPressEvent(QKeyEvent* event) {
    // The value field, the slider, the check box and the buttons other than Next pass
    // Enter on to the bar; Space still presses the button that has the focus.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (next_->isEnabled())
            emit nextClicked();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool InterviewBar::eventFilter(QObject* watched, QEvent* event) {
    // An enabled control's shortcut is taken before the key reaches the value field; a
    // disabled one's would be typed as a letter.
    if (watched == value_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        for (const QAbstractButton* b : {static_cast<QAbstractButton*>(fillInLater_),
                                         static_cast<QAbstractButton*>(back_), static_cast<QAbstractButton*>(next_),
                                         static_cast<QAbstractButton*>(done_)})
            if (!QKeySequence::mnemonic(b->text()).isEmpty() && QKeySequence::mnemonic(b->text()) == pressed)
                return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::string InterviewBar::fieldText() const {
    return CodePage::fromUtf8(value_->text().left(1024).toStdString());
}

void InterviewBar::setFieldText(const std::string& windows1252) {
    // Selected, so that what the user types next replaces the placeholder.
    value_->setText(fromCp1252(windows1252));
    value_->selectAll();
    value_->setFocus(Qt::OtherFocusReason);
}

int InterviewBar::sliderPosition() const {
    return position_->value();
}

} // namespace qv
