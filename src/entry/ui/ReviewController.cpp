#include "entry/ui/ReviewController.h"

#include "entry/Interview.h"
#include "entry/ui/AnswerReviewDock.h"
#include "entry/ui/AnswerReviewModel.h"
#include "entry/ui/OptionsDialog.h"
#include "formengine/CTextDoc.h"
#include "platform/Profile.h"
#include "platform/UserLocale.h"
#include "view/ui/CTextView.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QToolBar>

namespace qv {

ReviewController::ReviewController(Frame frame, CTextDoc& doc, Interview& interview, CTextView& view,
                                   platform::Profile& profile)
    : QObject(frame.window), frame_(std::move(frame)), doc_(doc), interview_(interview), view_(view),
      profile_(profile) {
    QMainWindow* window = frame_.window;
    model_ = new AnswerReviewModel(
        doc_, [this](int k, const std::string& text) { StoreAnswer(k, text); }, this);
    model_->setNumberLocale(platform::UserLocale::current());
    dock_ = new AnswerReviewDock(*model_, window);
    window->addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    connect(dock_, &AnswerReviewDock::jumpRequested, this, &ReviewController::JumpTo);
    connect(dock_, &AnswerReviewDock::useEverywhereRequested, this, &ReviewController::UseEverywhere);
    connect(dock_, &AnswerReviewDock::leaveRequested, this, [this] { frame_.backToAnswer(); });
    // F6 and Shift+F6 go between the interview bar and the open list, so the keyboard
    // alone reaches both.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}) {
        auto* shortcut = new QShortcut(key, window);
        connect(shortcut, &QShortcut::activated, this, &ReviewController::SwitchPane);
    }
    connect(frame_.reviewAction, &QAction::triggered, this, &ReviewController::ShowReview);
    connect(dock_, &QDockWidget::visibilityChanged, this,
            [this] { frame_.reviewAction->setChecked(dock_->isVisibleTo(frame_.window)); });
    connect(frame_.optionsAction, &QAction::triggered, this, &ReviewController::RunOptions);

    // The offer on the last question: a strip that asks once and never holds the user up.
    offerBar_ = new QToolBar(tr("Review Offer"), window);
    offerBar_->setObjectName(QStringLiteral("reviewOfferBar"));
    offerBar_->setMovable(false);
    offerBar_->toggleViewAction()->setVisible(false);
    auto* strip = new QWidget(offerBar_);
    auto* question = new QLabel(tr("Review all answers before you finish?"), strip);
    question->setObjectName(QStringLiteral("reviewOfferText"));
    auto* yes = new QPushButton(tr("Review Answers"), strip);
    yes->setObjectName(QStringLiteral("reviewOfferYes"));
    yes->setAccessibleName(tr("Review all answers"));
    auto* no = new QPushButton(tr("Not Now"), strip);
    no->setObjectName(QStringLiteral("reviewOfferNo"));
    no->setAccessibleName(tr("Do not review the answers now"));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(question);
    row->addStretch();
    row->addWidget(yes);
    row->addWidget(no);
    offerBar_->addWidget(strip);
    window->addToolBar(Qt::BottomToolBarArea, offerBar_);
    offerBar_->hide();
    connect(yes, &QPushButton::clicked, this, [this] {
        offerBar_->hide();
        ShowReview(true);
    });
    connect(no, &QPushButton::clicked, offerBar_, &QWidget::hide);

    interview_.setOfferEarlierAnswers(profile_.GetProfileInt(kSection, kOfferEarlierAnswers, 1) != 0);
}

ReviewController::~ReviewController() = default;

bool ReviewController::owns(const QWidget* focus) const {
    return focus && (dock_->isAncestorOf(focus) || offerBar_->isAncestorOf(focus));
}

void ReviewController::AfterUpdatePass() {
    const int current = doc_.state().currentOcc;
    const int count = doc_.state().occCount;
    if (view_.layoutPasses() != seenLayoutPasses_) {
        // Pages and computed values move with each layout pass.
        seenLayoutPasses_ = view_.layoutPasses();
        model_->setPages(view_.lineOfRun(), view_.pagination().GetLinesPerPage());
    } else if (current >= 0 && current < count) {
        model_->refreshRow(current);
    }
    if (current != seenCurrent_) {
        seenCurrent_ = current;
        if (current >= 0 && current < count)
            dock_->selectOccurrence(current);
        // Arriving at the last question offers the review, once per document.
        if (!offered_ && count >= 2 && current == count - 1) {
            offered_ = true;
            if (!dock_->isVisibleTo(frame_.window))
                offerBar_->show();
        }
    }
}

void ReviewController::DocumentLoaded() {
    model_->reset();
    offered_ = false;
    seenCurrent_ = -1;
    seenLayoutPasses_ = -1;
    offerBar_->hide();
}

void ReviewController::StoreAnswer(int k, const std::string& text) {
    frame_.updatePass(); // the value field's text first, so neither edit is lost
    ProgramState& s = doc_.state();
    if (k < 0 || k >= s.occCount)
        return;
    if (doc_.StoreAnswer(k, text)) {
        doc_.SetModifiedFlag(true);
        frame_.updateAllViews();
    }
    // The value field shows the current occurrence's answer: read it back, or the next
    // pass would store the field's old text over the new answer.
    if (k == s.currentOcc)
        s.valueDirty = true;
    frame_.updatePass();
}

void ReviewController::UseEverywhere(int k) {
    frame_.updatePass();
    ProgramState& s = doc_.state();
    if (k < 0 || k >= model_->review().rowCount())
        return;
    const ReviewRow& from = model_->review().row(k);
    if (from.state != AnswerState::Answered || from.inputCell)
        return;
    const std::string text = from.answer;
    bool changed = false;
    for (int j : model_->review().BlankOccurrencesOfSameName(k)) {
        changed = doc_.StoreAnswer(j, text) || changed;
        if (j == s.currentOcc)
            s.valueDirty = true;
    }
    if (changed) {
        doc_.SetModifiedFlag(true);
        frame_.updateAllViews();
    }
    frame_.updatePass();
}

void ReviewController::JumpTo(int k) {
    frame_.updatePass();
    interview_.GoTo(k);
    frame_.updatePass();
}

void ReviewController::ShowReview(bool on) {
    frame_.updatePass();
    offerBar_->hide();
    dock_->setVisible(on);
    frame_.reviewAction->setChecked(on);
    if (on) {
        // About half the window for the list, the first time it opens beside the form.
        if (!sized_ && !dock_->isFloating()) {
            sized_ = true;
            frame_.window->resizeDocks(
                {dock_}, {std::max(dock_->minimumSizeHint().width(), frame_.window->width() * 9 / 20)},
                Qt::Horizontal);
        }
        dock_->raise();
        dock_->selectOccurrence(doc_.state().currentOcc);
        dock_->table()->setFocus(Qt::ShortcutFocusReason);
    }
}

void ReviewController::SwitchPane() {
    if (!dock_->isVisibleTo(frame_.window))
        return;
    if (dock_->isAncestorOf(QApplication::focusWidget())) {
        frame_.backToAnswer();
    } else {
        dock_->table()->setFocus(Qt::ShortcutFocusReason);
    }
}

void ReviewController::RunOptions() {
    frame_.updatePass();
    OptionsDialog dialog(frame_.window);
    dialog.setOfferEarlierAnswers(interview_.offerEarlierAnswers());
    if (frame_.runModal(dialog) != QDialog::Accepted)
        return;
    interview_.setOfferEarlierAnswers(dialog.offerEarlierAnswers());
    profile_.WriteProfileInt(kSection, kOfferEarlierAnswers, dialog.offerEarlierAnswers() ? 1 : 0);
}

} // namespace qv
