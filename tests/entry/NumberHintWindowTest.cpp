#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"
#include "view/NumberHint.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

class NumberHintWindow : public qv::test::DocFixture {
protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(doc, messages, profile,
                                             [] { return std::chrono::milliseconds(50000); });
        host.forward = frame.get();
        frame->setModalHook([](QDialog&) {}); // any offer a step brings up is declined
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const std::string form = dir.write("sale.qvf", TemplateBuilder()
                                                           .declare("BUYER", "Who is buying?")
                                                           .declare("PRICE", "What is the price?")
                                                           .body("Sold to |BUYER| for \xF1"
                                                                 "DAA0110|PRICE|.\xAE")
                                                           .bytes())
                                     .string();
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form) + QStringLiteral("?Bill of Sale")));
        pane = frame->statusBar()->findChild<QLabel*>(QStringLiteral("numberHintPane"));
        ASSERT_NE(pane, nullptr);
        plainBase = field()->palette().color(QPalette::Base);
    }
    void TearDown() override {
        host.forward = nullptr;
        doc.SetModifiedFlag(false);
        frame.reset();
    }
    QLineEdit* field() { return frame->interviewBar()->valueField(); }
    void type(const QString& text) {
        field()->selectAll();
        QTest::keyClick(field(), Qt::Key_Delete);
        QTest::keyClicks(field(), text);
    }
    // The hint as the user meets it: the pane's text, the tint, the field's descriptions.
    QString shown() {
        const QString text = pane->isHidden() ? QString() : pane->text();
        const bool tinted = field()->palette().color(QPalette::Base) != plainBase;
        EXPECT_EQ(tinted, !text.isEmpty()) << text.toStdString();
        EXPECT_EQ(field()->toolTip(), text);
        EXPECT_EQ(field()->accessibleDescription(), text);
        return text;
    }

    qv::test::TempHome home;
    std::unique_ptr<CMainFrame> frame;
    QLabel* pane = nullptr;
    QColor plainBase;
};

} // namespace

TEST_F(NumberHintWindow, InputFieldShowsWhatItsTextCountsAsUntilItReadsCleanly) {
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("next107")), Qt::LeftButton);
    ASSERT_EQ(doc.state().currentOcc, 1);
    EXPECT_EQ(shown(), QString());
    const struct {
        const char* typed;
        const char* hint;
    } cases[] = {
        {"abc", "No number can be read here, so this counts as 0."},
        {"1,2,3", "Commas out of place are skipped, so this counts as 123."},
        {"6,5", "Only a period is read as a decimal point: the comma is skipped, so this counts as 65."},
        {"1.2.3", "Only the first decimal point is read, so this counts as 1.2."},
        {"12 apples", "Letters are skipped, so this counts as 12."},
        {"$1,234.50", ""},
        {"(5)", "Brackets do not make an amount negative (type a minus sign in front), so this counts as 5."},
        {"-5", ""},
        {"-3.5", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        type(QString::fromLatin1(c.typed));
        EXPECT_EQ(shown(), QString::fromLatin1(c.hint));
        // The field holds what the reading gives, whatever the hint says.
        EXPECT_EQ(doc.state().cellTable.get('A', 'A'), InputFieldNumber(c.typed));
    }
    EXPECT_EQ(doc.state().cellTable.get('A', 'A'), -3.5);

    // Fixed by typing on: the hint goes as soon as the text reads cleanly.
    type(QStringLiteral("1,2"));
    EXPECT_NE(shown(), QString());
    QTest::keyClicks(field(), QStringLiteral("34"));
    EXPECT_EQ(shown(), QString());
}

TEST_F(NumberHintWindow, OnlyInputFieldsGetHintsAndMovingOnClearsThem) {
    type(QStringLiteral("abc"));
    EXPECT_EQ(shown(), QString()) << "a plain answer is text, not a number";
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("next107")), Qt::LeftButton);
    type(QStringLiteral("1.2.3"));
    EXPECT_NE(shown(), QString());
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("back104")), Qt::LeftButton);
    EXPECT_EQ(shown(), QString());
    // Back on the field, it shows the number it holds, which reads cleanly.
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("next107")), Qt::LeftButton);
    EXPECT_EQ(shown(), QString());
}
