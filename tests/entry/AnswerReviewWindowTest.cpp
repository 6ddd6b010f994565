#include "entry/ui/AnswerReviewDock.h"
#include "entry/ui/AnswerReviewModel.h"
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "entry/ui/OptionsDialog.h"
#include "entry/ui/ReviewController.h"
#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"
#include "view/ui/CTextView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

// Occurrences: 0 BUYER, 1 PRICE (input cell), 2 TOTAL (computed), 3 BUYER again.
class ReviewWindow : public qv::test::DocFixture {
protected:
    void SetUp() override { open(); }
    void open() {
        frame = std::make_unique<CMainFrame>(doc, messages, profile, [this] { return now; });
        host.forward = frame.get();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const std::string form = dir.write("sale.qvf", TemplateBuilder()
                                                           .declare("BUYER", "Who is buying?")
                                                           .declare("PRICE", "What is the price?")
                                                           .declare("TOTAL", "Total.")
                                                           .body("Sold to |BUYER| for \xF1"
                                                                 "DAA0110|PRICE| in all \xF1"
                                                                 "CAB0110[AA*2]|TOTAL|. Signed, |BUYER|.\xAE")
                                                           .bytes())
                                     .string();
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form) + QStringLiteral("?Bill of Sale")));
        idle();
    }
    void TearDown() override {
        host.forward = nullptr;
        doc.SetModifiedFlag(false);
        frame.reset();
    }
    template <typename W> W* find(const char* name) {
        W* w = frame->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void idle() { QTest::qWait(5); }
    QLineEdit* field() { return find<QLineEdit>("value106"); }
    QString position() { return find<QLabel>("positionPane59142")->text(); }
    QTableView* table() { return find<QTableView>("answerReviewTable"); }
    void showReview() {
        QAction* a = frame->action(CMainFrame::ReviewAnswers);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
        idle();
        ASSERT_TRUE(frame->review().dock()->isVisible());
    }
    QString cell(int row, int column) { return table()->model()->index(row, column).data().toString(); }
    QStringList column(int c) {
        QStringList out;
        for (int r = 0; r < table()->model()->rowCount(); ++r)
            out << cell(r, c);
        return out;
    }
    void goTo(int k) {
        frame->interview().GoTo(k);
        frame->UpdatePass();
    }
    void next() {
        QTest::keyClick(field(), Qt::Key_Return);
        idle();
    }

    qv::test::TempHome home;
    std::chrono::milliseconds now{50000};
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(ReviewWindow, ListsEveryOccurrenceInOrderFollowsTypingAndFilters) {
    showReview();
    EXPECT_TRUE(table()->hasFocus());
    EXPECT_EQ(column(AnswerReviewModel::Number), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(AnswerReviewModel::Question),
              (QStringList{"Who is buying?", "What is the price?", "Total.", "Who is buying?"}));
    EXPECT_EQ(column(AnswerReviewModel::Calculated), (QStringList{"", "", "Yes", ""}));
    EXPECT_EQ(column(AnswerReviewModel::Page), (QStringList{"1", "1", "1", "1"}));
    EXPECT_EQ(cell(0, AnswerReviewModel::Answer), QStringLiteral("(Fill In Later)"));
    EXPECT_FALSE(table()->accessibleName().isEmpty());
    EXPECT_FALSE(table()->horizontalHeader()->accessibleName().isEmpty());

    // Typed in the interview bar, the answer shows in its row at once.
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    idle();
    EXPECT_EQ(cell(0, AnswerReviewModel::Answer), QStringLiteral("Jane Roe"));
    field()->clear();
    QTest::keyClicks(field(), QStringLiteral("\u00A0")); // Fill In Later unticked: left empty
    idle();
    EXPECT_EQ(cell(0, AnswerReviewModel::Answer), QStringLiteral("(blank)"));
    QTest::keyClick(field(), Qt::Key_Backspace);
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    idle();

    auto* only = find<QCheckBox>("unansweredOnly");
    only->click();
    idle();
    EXPECT_EQ(column(AnswerReviewModel::Number), (QStringList{"2", "4"}));
    // Answering a listed one takes it off the list.
    frame->review().StoreAnswer(1, "100");
    idle();
    EXPECT_EQ(column(AnswerReviewModel::Number), (QStringList{"4"}));
    only->click();
    EXPECT_EQ(table()->model()->rowCount(), 4);
    // The total follows the amount once the form is laid out again.
    EXPECT_EQ(cell(2, AnswerReviewModel::Answer).remove(QLatin1Char(',')).contains(QStringLiteral("200")),
              true)
        << cell(2, AnswerReviewModel::Answer).toStdString();
}

TEST_F(ReviewWindow, EnterAndDoubleClickJumpToTheOccurrence) {
    showReview();
    table()->setCurrentIndex(table()->model()->index(3, AnswerReviewModel::Question));
    const int passes = frame->view()->layoutPasses();
    QTest::keyClick(table(), Qt::Key_Return);
    idle();
    EXPECT_EQ(position(), QStringLiteral("4/4"));
    EXPECT_EQ(find<QLabel>("prompt108")->text(), QStringLiteral("Who is buying?"));
    EXPECT_GT(frame->view()->layoutPasses(), passes); // laid out with the new current line, in sight
    EXPECT_TRUE(field()->hasFocus());

    const QRect number = table()->visualRect(table()->model()->index(1, AnswerReviewModel::Number));
    // A double-click as the window system delivers it: press, release, double-click.
    QWidget* viewport = table()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, number.center());
    QMouseEvent twice(QEvent::MouseButtonDblClick, number.center(), viewport->mapToGlobal(number.center()),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &twice);
    idle();
    EXPECT_EQ(position(), QStringLiteral("2/4"));
    // The table follows the interview bar's walk.
    QTest::keyClick(field(), Qt::Key_Return);
    idle();
    EXPECT_EQ(frame->review().dock()->currentOccurrence(), 2);
}

TEST_F(ReviewWindow, AnswersEditInPlaceExceptComputedOnes) {
    showReview();
    QAbstractItemModel* m = table()->model();
    EXPECT_FALSE(m->flags(m->index(2, AnswerReviewModel::Answer)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(0, AnswerReviewModel::Question)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(1, AnswerReviewModel::Answer)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->setData(m->index(2, AnswerReviewModel::Answer), QStringLiteral("5")));
    EXPECT_FALSE(frame->windowTitle().contains(QLatin1Char('*')));

    // Typing into the answer cell opens it; Enter stores through the value field's path.
    const int passes = frame->view()->layoutPasses();
    table()->setCurrentIndex(m->index(0, AnswerReviewModel::Answer));
    QTest::keyClicks(table(), QStringLiteral("A"));
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, table());
    QTest::keyClicks(editor, QStringLiteral("nn Lee"));
    QTest::keyClick(editor, Qt::Key_Return);
    idle();
    EXPECT_EQ(answer(0), "Ann Lee");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("Bill of Sale*")));
    EXPECT_GT(frame->view()->layoutPasses(), passes);
    // The occurrence is the current one: the value field shows the new answer and the
    // next pass does not write the old text back.
    EXPECT_EQ(field()->text(), QStringLiteral("Ann Lee"));
    idle();
    EXPECT_EQ(answer(0), "Ann Lee");
    EXPECT_EQ(cell(0, AnswerReviewModel::Answer), QStringLiteral("Ann Lee"));

    // An editor closed without a change leaves the kind of blank as it was.
    EXPECT_FALSE(m->setData(m->index(3, AnswerReviewModel::Answer), QString()));
    EXPECT_EQ(answer(3), BLANK_TEXT);
}

TEST_F(ReviewWindow, UseThisAnswerForEveryBlankOccurrenceOfTheName) {
    showReview();
    auto* use = find<QPushButton>("useEverywhere");
    table()->setCurrentIndex(table()->model()->index(0, AnswerReviewModel::Question));
    EXPECT_FALSE(use->isEnabled()); // nothing answered yet
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    idle();
    EXPECT_TRUE(use->isEnabled());

    QStringList offered;
    frame->review().dock()->setContextMenuHook([&](QMenu& menu) {
        for (QAction* a : menu.actions())
            offered << a->text();
    });
    emit table()->customContextMenuRequested(QPoint(1, 1));
    EXPECT_TRUE(offered.contains(QStringLiteral("Use this answer for every blank occurrence of BUYER")))
        << offered.join(QLatin1Char('|')).toStdString();

    doc.SetModifiedFlag(false);
    use->click();
    idle();
    EXPECT_EQ(answer(3), "Jane Roe");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(cell(3, AnswerReviewModel::Answer), QStringLiteral("Jane Roe"));
    EXPECT_FALSE(use->isEnabled()); // no blank of the name is left
    // The amount and the total are other names: untouched.
    EXPECT_TRUE(frame->review().model().review().row(1).unanswered());
}

TEST_F(ReviewWindow, RepeatedNameOffersTheEarlierAnswer) {
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    next();
    next();
    next();
    ASSERT_EQ(position(), QStringLiteral("4/4"));
    EXPECT_EQ(field()->text(), QStringLiteral("Jane Roe"));
    EXPECT_EQ(field()->selectedText(), QStringLiteral("Jane Roe"));
    EXPECT_EQ(answer(3), BLANK_TEXT); // offered, not yet stored
    next();                           // Enter takes it
    EXPECT_EQ(answer(3), "Jane Roe");

    // Typing replaces the offer.
    doc.StoreAnswer(3, "");
    goTo(3);
    EXPECT_EQ(field()->selectedText(), QStringLiteral("Jane Roe"));
    QTest::keyClicks(field(), QStringLiteral("Bob"));
    idle();
    EXPECT_EQ(answer(3), "Bob");

    // Delete clears it, and Next then leaves the blank.
    doc.StoreAnswer(3, "");
    goTo(3);
    QTest::keyClick(field(), Qt::Key_Delete);
    idle();
    EXPECT_TRUE(field()->text().isEmpty());
    next();
    EXPECT_EQ(answer(3), BLANK_TEXT);
}

TEST_F(ReviewWindow, OptionsTurnTheOfferOffAndTheSettingIsKept) {
    EXPECT_EQ(profile.GetProfileInt("Settings", "OfferEarlierAnswers", -1), -1); // on until changed
    QAction* options = frame->action(CMainFrame::Options);
    ASSERT_TRUE(options->isEnabled());
    frame->setModalHook([](QDialog& d) {
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("offerEarlierAnswers"));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isChecked());
        box->click();
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    options->trigger();
    EXPECT_EQ(profile.GetProfileInt("Settings", "OfferEarlierAnswers", -1), 0);

    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    next();
    next();
    next();
    EXPECT_TRUE(field()->text().isEmpty()); // the original behaviour
    next();
    EXPECT_EQ(answer(3), BLANK_TEXT);

    // A new window reads the setting; Cancel changes nothing.
    doc.SetModifiedFlag(false);
    frame.reset();
    open();
    EXPECT_FALSE(frame->interview().offerEarlierAnswers());
    frame->setModalHook([](QDialog& d) {
        d.findChild<QCheckBox*>(QStringLiteral("offerEarlierAnswers"))->click();
        d.reject();
    });
    frame->action(CMainFrame::Options)->trigger();
    EXPECT_FALSE(frame->interview().offerEarlierAnswers());
    EXPECT_EQ(profile.GetProfileInt("Settings", "OfferEarlierAnswers", -1), 0);
}

TEST_F(ReviewWindow, TheLastQuestionOffersTheReviewOnce) {
    QToolBar* offer = frame->review().offerBar();
    next();
    EXPECT_FALSE(offer->isVisible());
    next();
    next();
    ASSERT_EQ(position(), QStringLiteral("4/4"));
    EXPECT_TRUE(offer->isVisible());
    EXPECT_EQ(find<QLabel>("reviewOfferText")->text(),
              QStringLiteral("Review all answers before you finish?"));
    EXPECT_TRUE(field()->hasFocus()); // the offer does not take the keyboard
    find<QPushButton>("reviewOfferYes")->click();
    idle();
    EXPECT_FALSE(offer->isVisible());
    EXPECT_TRUE(frame->review().dock()->isVisible());
    EXPECT_TRUE(frame->action(CMainFrame::ReviewAnswers)->isChecked());

    // Once per document: back and to the end again asks nothing.
    frame->action(CMainFrame::ReviewAnswers)->trigger();
    idle();
    EXPECT_FALSE(frame->review().dock()->isVisible());
    goTo(0);
    goTo(3);
    EXPECT_FALSE(offer->isVisible());
}

TEST_F(ReviewWindow, AmountsThatReadAsAnotherNumberCarryTheFieldsHint) {
    // The list shows what is stored: an amount's text is kept whenever its number changes.
    showReview();
    goTo(1);
    const QModelIndex price = table()->model()->index(1, AnswerReviewModel::Answer);
    const struct {
        const char* typed;
        bool hint;
    } cases[] = {{"6,5", true}, {"1,2,3", true}, {"$1,234.56", false}, {"65", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        field()->clear();
        QTest::keyClicks(field(), QString::fromLatin1(c.typed));
        idle();
        EXPECT_EQ(cell(1, AnswerReviewModel::Answer), QString::fromLatin1(c.typed));
        EXPECT_EQ(!price.data(Qt::ToolTipRole).toString().isEmpty(), c.hint);
        EXPECT_EQ(price.data(Qt::BackgroundRole).isValid(), c.hint);
    }
    // Plain answers are words, not amounts: no hint.
    EXPECT_FALSE(table()->model()->index(0, AnswerReviewModel::Answer).data(Qt::ToolTipRole).isValid());

    // Typed into the list itself, the amount is hinted as in the bar while it is edited.
    table()->setCurrentIndex(price);
    table()->edit(price);
    auto* editor = table()->findChild<QLineEdit*>(QStringLiteral("answerEditor"));
    ASSERT_NE(editor, nullptr);
    const QColor plain = editor->palette().color(QPalette::Base);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1,2,3"));
    EXPECT_EQ(editor->toolTip(), QStringLiteral("Commas out of place are skipped, so this counts as 123."));
    EXPECT_NE(editor->palette().color(QPalette::Base), plain);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("123"));
    EXPECT_TRUE(editor->toolTip().isEmpty());
    EXPECT_EQ(editor->palette().color(QPalette::Base), plain);
}

TEST_F(ReviewWindow, KeyboardAloneGoesBetweenTheBarAndTheList) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClicks(field(), QStringLiteral("Jane"));
    idle();
    QTest::keyClick(field(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    idle();
    ASSERT_TRUE(frame->review().dock()->isVisible());
    EXPECT_TRUE(table()->hasFocus());
    // The list keeps the focus through the program's idle passes.
    QTest::keyClick(table(), Qt::Key_Down);
    idle();
    EXPECT_TRUE(table()->hasFocus());
    EXPECT_EQ(frame->review().dock()->currentOccurrence(), 1);
    QTest::keyClick(table(), Qt::Key_Escape);
    idle();
    EXPECT_TRUE(field()->hasFocus());
    QTest::keyClick(field(), Qt::Key_F6);
    idle();
    EXPECT_TRUE(table()->hasFocus());
    QTest::keyClick(table(), Qt::Key_F6, Qt::ShiftModifier);
    idle();
    EXPECT_TRUE(field()->hasFocus());
    // Back in the bar, typing replaces the answer rather than adding to it.
    EXPECT_EQ(field()->selectedText(), QStringLiteral("Jane"));
    QTest::keyClicks(field(), QStringLiteral("Ann"));
    EXPECT_EQ(field()->text(), QStringLiteral("Ann"));
    QTest::keyClick(field(), Qt::Key_F6);
    idle();
    QTest::keyClick(table(), Qt::Key_Escape);
    idle();
    EXPECT_EQ(field()->selectedText(), QStringLiteral("Ann"));
    // The list's button has a key of its own that leaves Back its Alt+B.
    goTo(2);
    QTest::keyClick(field(), Qt::Key_B, Qt::AltModifier);
    for (int i = 0; i < 100 && position() != QStringLiteral("2/4"); ++i)
        QTest::qWait(10); // a mnemonic presses its button after a short animation
    EXPECT_EQ(position(), QStringLiteral("2/4"));
}

TEST_F(ReviewWindow, PagesAreThoseOfTheLaidOutForm) {
    std::string body = "First |A|.\xAE";
    for (int part = 0; part < 2; ++part) {
        for (int i = 0; i < 80; ++i)
            body += "A line of the agreement.\xAE";
        body += part == 0 ? "Then |B|.\xAE" : "Last |C|.\xAE";
    }
    const std::string form = dir.write("long.qvf", TemplateBuilder::simple({"A", "B", "C"}, body)).string();
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form)));
    showReview();
    const int perPage = frame->view()->pagination().GetLinesPerPage();
    ASSERT_GT(perPage, 1);
    const int a = cell(0, AnswerReviewModel::Page).toInt();
    const int b = cell(1, AnswerReviewModel::Page).toInt();
    const int c = cell(2, AnswerReviewModel::Page).toInt();
    EXPECT_EQ(a, 1);
    EXPECT_GT(b, a);
    EXPECT_GT(c, b);
    EXPECT_EQ(c, frame->view()->pagination().GetPageCount());
}
