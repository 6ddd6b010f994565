#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/ProcessRunner.h"
#include "support/QtPrinters.h"
#include "support/SaveAsDriver.h"
#include "support/TemplateBuilder.h"
#include "view/ui/CTextView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QWhatsThis>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <fstream>

using namespace qv;
using namespace std::chrono_literals;
using qv::test::TempDir;
using qv::test::TemplateBuilder;

namespace {

class MainFrame : public qv::test::DocFixture {
protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(doc, messages, profile, [this] { return now; });
        host.forward = frame.get();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const std::string form = dir.write("sale.qvf", TemplateBuilder()
                                                           .declare("BUYER", "Who is buying?")
                                                           .declare("PRICE", "What is the price?")
                                                           .declare("TOTAL", "Total.")
                                                           .body("Sold to |BUYER| for \xF1"
                                                                 "DAA0110|PRICE| in all "
                                                                 "\xF1"
                                                                 "CAB0110[AA*2]|TOTAL|.\xAE")
                                                           .bytes())
                                     .string();
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form) + QStringLiteral("?Bill of Sale")));
    }
    template <typename W> W* find(const char* name) {
        W* w = frame->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button) {
        auto* b = find<QPushButton>(button);
        ASSERT_TRUE(b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString position() { return find<QLabel>("positionPane59142")->text(); }
    QLineEdit* field() { return find<QLineEdit>("value106"); }
    void idle() { QTest::qWait(5); }

    qv::test::TempHome home; // the system and cache folders the frame looks into
    std::chrono::milliseconds now{50000};
    std::unique_ptr<CMainFrame> frame;

    void TearDown() override {
        host.forward = nullptr;
        doc.SetModifiedFlag(false); // nothing left to ask about when the frame goes
        frame.reset();
    }
};

} // namespace

TEST_F(MainFrame, TitleAndFirstQuestion) {
    idle();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("New - Bill of Sale - Q-V Variable Entry"));
    EXPECT_EQ(find<QLabel>("prompt108")->text(), QStringLiteral("Who is buying?"));
    EXPECT_EQ(position(), QStringLiteral("1/3"));
    EXPECT_FALSE(find<QPushButton>("back104")->isEnabled());
    EXPECT_TRUE(field()->hasFocus());
}

TEST_F(MainFrame, WalkWithNextAndBack) {
    click("next107");
    click("next107");
    idle();
    EXPECT_EQ(position(), QStringLiteral("3/3"));
    EXPECT_EQ(find<QPushButton>("next107")->text(), QStringLiteral("&Now What?"));
    EXPECT_FALSE(field()->isEnabled()); // the total is computed
    EXPECT_FALSE(find<QCheckBox>("fillInLater1014")->isEnabled());
    EXPECT_FALSE(frame->action(CMainFrame::Paste)->isEnabled());
    click("next107");
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(position(), QStringLiteral("3/3"));
    click("back104");
    idle();
    EXPECT_EQ(position(), QStringLiteral("2/3"));
    EXPECT_EQ(find<QLabel>("prompt108")->text(), QStringLiteral("What is the price?"));
}

TEST_F(MainFrame, TypedAnswersAreStoredAtOnceAndDrawnAfterTwoQuietSeconds) {
    idle();
    const int passes = frame->view()->layoutPasses();
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    idle();
    EXPECT_EQ(answer(0), "Jane Roe");
    EXPECT_EQ(frame->view()->layoutPasses(), passes);
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("Bill of Sale*")));
    now += 2000ms;
    QTest::keyClick(field(), Qt::Key_End); // any event makes the program idle again
    idle();
    EXPECT_EQ(frame->view()->layoutPasses(), passes + 1);
    EXPECT_NE(doc.formLines[0].find("Jane"), std::string::npos);
}

TEST_F(MainFrame, SliderTakesEffectAtTheNextTick) {
    idle();
    find<QSlider>("position1007")->setValue(2);
    idle();
    EXPECT_EQ(position(), QStringLiteral("1/3"));
    QTest::qWait(2100);
    EXPECT_EQ(position(), QStringLiteral("3/3"));
}

TEST_F(MainFrame, FillInLaterAndClickingIntoTheForm) {
    idle();
    auto* box = find<QCheckBox>("fillInLater1014");
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    idle();
    EXPECT_EQ(answer(0), NBSP_TEXT);
    EXPECT_FALSE(box->isChecked());
    frame->view()->setFocus();
    QTest::mouseClick(frame->view()->viewport(), Qt::LeftButton);
    idle();
    EXPECT_TRUE(field()->hasFocus());
}

TEST_F(MainFrame, EnterIsNextAnywhereInTheBarAndDisabledShortcutsTypeNothing) {
    const std::string form = dir.write("order.qvf", TemplateBuilder()
                                                        .declare("STATE", "Which state?")
                                                        .declare("PRICE", "What is the price?")
                                                        .declare("TOTAL", "Total.")
                                                        .declare("BUYER", "Who is buying?")
                                                        .body("Filed in |STATE| for \xF1"
                                                              "DAA0110|PRICE| in all \xF1"
                                                              "CAB0110[AA*2]|TOTAL| by |BUYER|.\xAE")
                                                        .bytes())
                                 .string();
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form)));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    idle();
    QWindow* window = frame->windowHandle();
    ASSERT_TRUE(field()->hasFocus());
    QTest::keyClicks(field(), QStringLiteral("Oregon"));
    idle();
    // Fill In Later is off for a real answer, Back on the first occurrence: their
    // shortcuts do nothing, and type nothing either.
    ASSERT_FALSE(find<QCheckBox>("fillInLater1014")->isEnabled());
    ASSERT_FALSE(find<QPushButton>("back104")->isEnabled());
    for (Qt::Key key : {Qt::Key_I, Qt::Key_B}) {
        QTest::keyClick(window, key, Qt::AltModifier);
        QTest::qWait(200); // a shortcut clicks its button after a short delay
        EXPECT_EQ(field()->text(), QStringLiteral("Oregon")) << char(key);
        EXPECT_EQ(answer(0), "Oregon");
        EXPECT_EQ(position(), QStringLiteral("1/4"));
    }

    const struct {
        const char* focus; // where the focus is when Enter is pressed; null: where it was left
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* from;
        const char* to;
    } presses[] = {
        {nullptr, Qt::Key_Return, Qt::NoModifier, "1/4", "2/4"},
        {nullptr, Qt::Key_Return, Qt::NoModifier, "2/4", "3/4"},
        {nullptr, Qt::Key_Return, Qt::NoModifier, "3/4", "4/4"}, // from the computed total
        {"back", Qt::Key_Enter, Qt::KeypadModifier, "3/4", "4/4"},
        {"position1007", Qt::Key_Return, Qt::NoModifier, "3/4", "4/4"},
        {"done101", Qt::Key_Enter, Qt::KeypadModifier, "3/4", "4/4"},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(std::string(p.focus ? p.focus : "") + " " + p.from);
        if (p.focus) {
            click("back104");
            idle();
            if (std::string(p.focus) != "back")
                find<QWidget>(p.focus)->setFocus();
        }
        ASSERT_EQ(position(), QString::fromLatin1(p.from));
        if (std::string(p.from) == "3/4") {
            ASSERT_FALSE(field()->isEnabled()) << "the total is computed";
        }
        QTest::keyClick(window, p.key, p.modifiers);
        idle();
        EXPECT_EQ(position(), QString::fromLatin1(p.to));
    }
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(answer(0), "Oregon");
    // Enabled, the same shortcuts work.
    field()->setFocus();
    ASSERT_TRUE(find<QCheckBox>("fillInLater1014")->isEnabled());
    QTest::keyClick(window, Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer(3) == NBSP_TEXT; }));
    QTest::keyClick(window, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() == QStringLiteral("3/4"); }));
}

TEST_F(MainFrame, SaveWorksheetAsAsksBeforeReplacingANameTypedWithoutExtension) {
    idle();
    const auto existing = dir.write("sale.qvw", "an earlier worksheet");
    QTest::keyClicks(field(), QStringLiteral("Jane"));
    {
        qv::test::SaveAsDriver driver(QString::fromStdString((dir / "sale").string()), QMessageBox::No);
        frame->action(CMainFrame::SaveWorksheetAs)->trigger();
        EXPECT_TRUE(driver.dialogShown());
        EXPECT_TRUE(driver.question().contains(QStringLiteral("sale.qvw"))) << driver.question().toStdString();
    }
    EXPECT_EQ(TempDir::read(existing), "an earlier worksheet");
    {
        qv::test::SaveAsDriver driver(QString::fromStdString((dir / "other").string()), QMessageBox::No);
        frame->action(CMainFrame::SaveWorksheetAs)->trigger();
        EXPECT_TRUE(driver.question().isEmpty());
    }
    EXPECT_EQ(doc.GetPathName(), (dir / "other.qvw").string());
    EXPECT_TRUE(std::filesystem::exists(dir / "other.qvw"));
}

TEST_F(MainFrame, SaveAndReopenAWorksheet) {
    idle();
    // Typed and moved on at once, with no idle moment between: the answer still counts.
    QTest::keyClicks(field(), QStringLiteral("Jane"));
    click("next107");
    QTest::keyClicks(field(), QStringLiteral("12.5"));
    idle();
    const std::string path = (dir / "sale.qvw").string();
    frame->setFileChooser([&](bool) { return QString::fromStdString(path); });
    QTest::keySequence(frame.get(), QKeySequence(QStringLiteral("Ctrl+S")));
    idle();
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_FALSE(frame->windowTitle().contains(QStringLiteral("*")));

    doc.OnNewDocument();
    frame->action(CMainFrame::Open)->trigger();
    idle();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("sale.qvw - Q-V Variable Entry"));
    EXPECT_EQ(position(), QStringLiteral("2/3"));
    EXPECT_EQ(answer(0), "Jane");
    EXPECT_EQ(state.cellTable.get('A', 'A'), 12.5);
    EXPECT_EQ(field()->text(), QStringLiteral("12.5"));
}

TEST_F(MainFrame, Screenshot) {
    idle();
    QTest::keyClicks(field(), QStringLiteral("Jane Roe"));
    idle();
    now += 3000ms;
    QTest::keyClick(field(), Qt::Key_End);
    idle();
    const QString out = qEnvironmentVariable("QV_SCREENSHOT");
    if (!out.isEmpty())
        frame->grab().save(out);
    SUCCEED();
}

TEST_F(MainFrame, WalkingWithoutTypingLeavesNothingToSave) {
    std::string form =
        dir.write("u.qvf", TemplateBuilder::simple({"NAME", "X"}, "\xB5|NAME|\xB5 |X|")).string();
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form)));
    idle();
    click("next107");
    click("back104");
    idle();
    EXPECT_FALSE(frame->windowTitle().contains(QStringLiteral("*")));
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(MainFrame, ClosingWithUnsavedAnswersAsksFirst) {
    idle();
    EXPECT_TRUE(frame->close()); // nothing typed yet: no question
    EXPECT_TRUE(messages.entries().empty());
    frame->show();
    QTest::keyClicks(field(), QStringLiteral("Jane"));

    messages.setNextReply(MessageReply::Cancel);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text, "Save changes to this worksheet?");
    EXPECT_EQ(messages.entries()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(frame->isVisible());

    // Yes asks for a name, writes the worksheet and lets the window close.
    const std::string path = (dir / "kept.qvw").string();
    frame->setFileChooser([&](bool) { return QString::fromStdString(path); });
    messages.setNextReply(MessageReply::Yes);
    EXPECT_TRUE(frame->close());
    CTextDoc& d = doc;
    ASSERT_TRUE(d.OnOpenDocument(path));
    EXPECT_EQ(answer(0), "Jane");
}

TEST_F(MainFrame, OpeningAnotherFileAsksFirstAndNoGoesOn) {
    idle();
    QTest::keyClicks(field(), QStringLiteral("Jane"));
    const std::string other = dir.write("other.qvf", TemplateBuilder::simple({"X"}, "|X|")).string();
    frame->setFileChooser([&](bool) { return QString::fromStdString(other); });
    messages.setNextReply(MessageReply::No);
    frame->action(CMainFrame::Open)->trigger();
    idle();
    EXPECT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Template:other.qvf - Q-V Variable Entry"));
}

TEST_F(MainFrame, VariableSetsDialogAppliesTheShownSet) {
    std::string form =
        dir.write("std.qvf", TemplateBuilder::simple({"NAME", "CORP"}, "|NAME| of |CORP|")).string();
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form)));
    idle();
    frame->setModalHook([](QDialog& d) {
        auto* tabs = d.findChild<QTabBar*>(QStringLiteral("tabs1031"));
        auto* name = d.findChild<QLineEdit*>(QStringLiteral("edit1032"));
        tabs->setCurrentIndex(1);
        name->setText(QStringLiteral("Zo\u00eb Roe"));
        tabs->setCurrentIndex(2);
        tabs->setCurrentIndex(1);
        EXPECT_EQ(name->text(), QStringLiteral("Zo\u00eb Roe")); // kept across tab switches
        QTest::mouseClick(d.findChild<QCheckBox*>(QStringLiteral("apply1036")), Qt::LeftButton);
        QMetaObject::invokeMethod(
            &d, [&d] { d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); });
        QCoreApplication::processEvents();
    });
    ASSERT_TRUE(frame->action(CMainFrame::VariableSets)->isEnabled());
    frame->action(CMainFrame::VariableSets)->trigger();
    idle();
    EXPECT_EQ(answer(0), "Zo\xEB Roe");
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_EQ(field()->text(), QStringLiteral("Zo\u00eb Roe"));
    EXPECT_EQ(profile.GetProfileString("VarSection 1", "Var 0"), "Zo\u00eb Roe");
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("*")));
}

TEST_F(MainFrame, PagePropertiesWidenTheLinesAndTurnThePage) {
    idle();
    const int before = frame->view()->page().CharsPerLine();
    EXPECT_EQ(before, 65); // Letter, one-inch margins, 10 characters per inch
    frame->setModalHook([](QDialog& d) {
        d.findChild<QDoubleSpinBox*>(QStringLiteral("left1155"))->setValue(0.5);
        d.findChild<QDoubleSpinBox*>(QStringLiteral("right1157"))->setValue(0.5);
        d.accept();
    });
    frame->action(CMainFrame::PageSetup)->trigger();
    idle();
    EXPECT_EQ(state.page.margins, (std::array<int, 4>{50, 100, 50, 100}));
    EXPECT_EQ(frame->view()->page().CharsPerLine(), before + 10);

    frame->setModalHook([](QDialog& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("landscape1057")), Qt::LeftButton);
        d.accept();
    });
    frame->action(CMainFrame::PageSetup)->trigger();
    EXPECT_EQ(state.page.orientation, 2);
    EXPECT_EQ(frame->view()->page().CharsPerLine(), 100); // 11 inches less one of margins

    // Cancel changes nothing.
    frame->setModalHook([](QDialog& d) {
        d.findChild<QDoubleSpinBox*>(QStringLiteral("top1156"))->setValue(3);
        d.reject();
    });
    frame->action(CMainFrame::PageSetup)->trigger();
    EXPECT_EQ(state.page.margins[1], 100);
}

TEST_F(MainFrame, PrintGoesThroughThePrintDialog) {
    idle();
    const auto pdf = dir / "printed.pdf";
    frame->printer().setOutputFileName(QString::fromStdString(pdf.string()));
    // Accepted as the user would, without the dialog re-reading its own settings.
    frame->setModalHook([](QDialog& d) { d.setResult(QDialog::Accepted); });
    frame->action(CMainFrame::Print)->trigger();
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 500u);
}

namespace {

int pdfPages(const std::filesystem::path& pdf) {
    const auto info = qv::test::ProcessRunner::run("/usr/bin/pdfinfo", {pdf.string()});
    const auto at = info.out.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.out.substr(at + 6));
}

// The page number printed under each page of the PDF, in order.
std::vector<std::string> pdfPageNumbers(const std::filesystem::path& pdf) {
    std::vector<std::string> numbers;
    for (int p = 1, n = pdfPages(pdf); p <= n; ++p) {
        const auto text = qv::test::ProcessRunner::run(
            "/usr/bin/pdftotext", {"-f", std::to_string(p), "-l", std::to_string(p), pdf.string(), "-"});
        const auto at = text.out.find("- ");
        numbers.push_back(
            at == std::string::npos ? "" : text.out.substr(at, text.out.find(" -", at + 2) + 2 - at));
    }
    return numbers;
}

} // namespace

TEST_F(MainFrame, PrintTakesThePagesAndCopiesChosenInThePrintDialog) {
    std::string words;
    for (int i = 0; i < 900; ++i)
        words += "word ";
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(
        dir.write("long.qvf", TemplateBuilder::simple({"NAME"}, words + "|NAME|.")).string())));
    idle();
    frame->view()->page().SetMargins(100, 100, 100, 100);
    const struct {
        bool range;
        int from, to, copies;
        bool collate;
        std::vector<std::string> printed;
    } cases[] = {
        {true, 2, 2, 1, false, {"- 2 -"}},
        {true, 2, 3, 2, true, {"- 2 -", "- 3 -", "- 2 -", "- 3 -"}},
        {true, 1, 2, 2, false, {"- 1 -", "- 1 -", "- 2 -", "- 2 -"}},
        {false, 0, 0, 1, false, {"- 1 -", "- 2 -", "- 3 -"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        const auto pdf = dir / ("range" + std::to_string(n++) + ".pdf");
        frame->printer().setOutputFileName(QString::fromStdString(pdf.string()));
        int minPage = 0, maxPage = 0;
        // The dialog runs for real, so that it fills itself from the printer and gives its
        // choices back on OK.
        frame->setModalHook([&](QDialog& d) {
            auto& print = dynamic_cast<QPrintDialog&>(d);
            minPage = print.minPage();
            maxPage = print.maxPage();
            QMetaObject::invokeMethod(
                &d,
                [&] {
                    if (c.range) {
                        QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("printRange")),
                                          Qt::LeftButton);
                        d.findChild<QSpinBox*>(QStringLiteral("from"))->setValue(c.from);
                        d.findChild<QSpinBox*>(QStringLiteral("to"))->setValue(c.to);
                    }
                    d.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(c.copies);
                    d.findChild<QCheckBox*>(QStringLiteral("collate"))->setChecked(c.collate);
                    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                },
                Qt::QueuedConnection);
            d.exec();
        });
        frame->action(CMainFrame::Print)->trigger();
        EXPECT_EQ(minPage, 1);
        EXPECT_EQ(maxPage, 3) << "the form's pages";
        EXPECT_EQ(pdfPageNumbers(pdf), c.printed);
    }
}

TEST_F(MainFrame, PagePropertiesWorkOnACopyOfThePrinterUntilOk) {
    idle();
    ASSERT_EQ(frame->printer().pageLayout().pageSize().id(), QPageSize::Letter);
    // "Printer..." sets up the printer without printing; its paper comes back into the
    // dialog's Size list, and only OK gives it to the program's printer.
    bool pageSetupShown = false;
    QString sizeAfterPrinter;
    const auto choosePaperUnderPrinter = [&](bool ok) {
        return [&, ok](QDialog& d) {
            if (d.objectName() != QStringLiteral("pageProperties1546")) {
                pageSetupShown = qobject_cast<QPageSetupDialog*>(&d) != nullptr;
                QMetaObject::invokeMethod(
                    &d,
                    [&d] {
                        auto* paper = d.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
                        const int legal =
                            paper ? paper->findText(QStringLiteral("Legal"), Qt::MatchStartsWith) : -1;
                        EXPECT_GE(legal, 0);
                        if (legal >= 0)
                            paper->setCurrentIndex(legal);
                        d.accept();
                    },
                    Qt::QueuedConnection);
                d.exec();
                return;
            }
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("printer1026")), Qt::LeftButton);
            sizeAfterPrinter = d.findChild<QComboBox*>(QStringLiteral("size1137"))->currentText();
            if (ok)
                d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            else
                d.reject();
        };
    };
    frame->setModalHook(choosePaperUnderPrinter(false));
    frame->action(CMainFrame::PageSetup)->trigger();
    EXPECT_TRUE(pageSetupShown) << "a page setup dialog, not a print dialog";
    EXPECT_TRUE(sizeAfterPrinter.startsWith(QStringLiteral("Legal"))) << sizeAfterPrinter.toStdString();
    EXPECT_EQ(frame->printer().pageLayout().pageSize().id(), QPageSize::Letter) << "Cancel changes nothing";

    frame->setModalHook(choosePaperUnderPrinter(true));
    frame->action(CMainFrame::PageSetup)->trigger();
    EXPECT_EQ(frame->printer().pageLayout().pageSize().id(), QPageSize::Legal);
    EXPECT_EQ(frame->view()->page().GetPhysicalPageSize()[1], 1400);
}

TEST_F(MainFrame, PagePropertiesRefuseMarginsLargerThanThePaper) {
    idle();
    const struct {
        const char* box;
        double inches;
        bool landscape;
    } cases[] = {{"left1155", 7.5, false}, {"bottom1158", 10.0, false}, {"bottom1158", 7.5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        messages.clear();
        bool stillOpen = false;
        frame->setModalHook([&](QDialog& d) {
            if (c.landscape)
                QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("landscape1057")), Qt::LeftButton);
            d.findChild<QDoubleSpinBox*>(QString::fromLatin1(c.box))->setValue(c.inches);
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            stillOpen = d.result() != QDialog::Accepted;
            d.reject();
        });
        frame->action(CMainFrame::PageSetup)->trigger();
        EXPECT_TRUE(stillOpen);
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_NE(messages.entries()[0].text.find("margins are larger than the paper"), std::string::npos);
        EXPECT_EQ(state.page.margins, (std::array<int, 4>{100, 100, 100, 100}));
    }
}

TEST_F(MainFrame, ContextMenuOfTheForm) {
    idle();
    QStringList items;
    frame->setContextMenuHook([&](QMenu& menu) {
        for (QAction* a : menu.actions())
            if (!a->isSeparator())
                items << a->text().section(QLatin1Char('\t'), 0, 0);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    QCoreApplication::sendEvent(frame->view()->viewport(), &event);
    EXPECT_EQ(items, (QStringList{QStringLiteral("&Undo"), QStringLiteral("&Save Worksheet"),
                                  QStringLiteral("&Print..."), QStringLiteral("Print Pre&view"),
                                  QStringLiteral("V&ariable Sets..."), QStringLiteral("P&roperties")}));
}

namespace {

QStringList menuTexts(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("|") : a->text().section(QLatin1Char('\t'), 0, 0));
    return items;
}

QMenu* topMenu(QMainWindow& window, const QString& title) {
    for (QAction* a : window.menuBar()->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

} // namespace

TEST_F(MainFrame, ToolbarHasItsSixteenSlotsEachWithAPicture) {
    auto* tb = find<QToolBar>("mainToolbar");
    QStringList items;
    for (QAction* a : tb->actions()) {
        items << (a->isSeparator() ? QStringLiteral("|") : a->iconText());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->iconText().toStdString();
            EXPECT_FALSE(a->icon().pixmap(QSize(32, 32)).toImage().isNull());
        }
    }
    EXPECT_EQ(items, (QStringList{"Open", "Save", "|", "Print", "Print Preview", "|", "Cut", "Copy", "Paste",
                                  "Delete", "|", "Undo", "|", "Calculator", "|", "Help Contents", "|",
                                  "Review Answers"}));
    EXPECT_EQ(tb->windowTitle(), QStringLiteral("Main Toolbar"));
}

TEST_F(MainFrame, ToolsMenuKeepsOneWayToTheRegionalSettings) {
    EXPECT_EQ(menuTexts(topMenu(*frame, QStringLiteral("&Tools"))),
              (QStringList{"&International Settings", "|", "&Windows Calculator...", "V&ariable Sets...",
                           "&Print File Options...", "|", "&Options..."}));

    // Where the system folder holds the regional applet, its submenu stays instead.
    const auto system = home.home() / ".local/share/Q-V Davov Software/system";
    std::filesystem::create_directories(system);
    { std::ofstream(system / "INTL.CPL") << "applet"; }
    frame.reset();
    CMainFrame other(doc, messages, profile, [this] { return now; });
    QMenu* tools = topMenu(other, QStringLiteral("&Tools"));
    EXPECT_EQ(menuTexts(tools), (QStringList{"&Regional Settings", "|", "&Windows Calculator...",
                                             "V&ariable Sets...", "&Print File Options...", "|", "&Options..."}));
    EXPECT_EQ(menuTexts(tools->actions()[0]->menu()),
              (QStringList{"&Number Settings...", "&Currency Settings..."}));
}

TEST_F(MainFrame, StatusBarHasTheLockKeyPanesAfterThePosition) {
    const QStringList names{"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(frame->lockPane(i), nullptr);
        EXPECT_EQ(frame->lockPane(i)->accessibleName(), names[i]);
        EXPECT_TRUE(frame->lockPane(i)->isVisible());
        // Only a lock that is on names itself.
        const QString text = frame->lockPane(i)->text();
        EXPECT_TRUE(text.isEmpty() || text == QStringList({"CAP", "NUM", "SCRL"})[i]);
    }
    EXPECT_LT(frame->positionPane()->x(), frame->lockPane(0)->x());
}

TEST_F(MainFrame, SendMailAttachesTheWorksheetOrIsOffWithoutAMailProgram) {
    // Frames made here decide on the mail service from their own PATH; one frame at a
    // time works on the document.
    frame.reset();
    TempDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()));
    {
        CMainFrame without(doc, messages, profile, [this] { return now; });
        without.UpdatePass();
        EXPECT_FALSE(without.action(CMainFrame::SendMail)->isEnabled());
    }
    const auto log = bin / "mail.log";
    const auto tool =
        bin.write("xdg-email", "#!/bin/sh\n/bin/cp \"$2\" \"" + log.string() + ".tmp\" && echo \"$2\" > \"" +
                                   log.string() + ".name\" && /bin/mv \"" + log.string() + ".tmp\" \"" +
                                   log.string() + "\"\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    CMainFrame mailing(doc, messages, profile, [this] { return now; });
    host.forward = &mailing;
    mailing.show();
    QTest::keyClicks(mailing.interviewBar()->valueField(), QStringLiteral("Jane"));
    ASSERT_TRUE(mailing.action(CMainFrame::SendMail)->isEnabled());
    mailing.action(CMainFrame::SendMail)->trigger();
    for (int i = 0; i < 200 && !std::filesystem::exists(log); ++i)
        QTest::qWait(10);
    qputenv("PATH", oldPath);
    const std::string attached = TempDir::read(log);
    EXPECT_TRUE(attached == doc.worksheetBytes()) << "the attachment is the worksheet";
    EXPECT_NE(attached.find("Jane"), std::string::npos);
    EXPECT_NE(TempDir::read(log.string() + ".name").find("/Untitled.QVW\n"), std::string::npos);
    EXPECT_TRUE(doc.IsModified()) << "a mailed copy is no saved worksheet";
    EXPECT_TRUE(messages.entries().empty());
    host.forward = nullptr;
    doc.SetModifiedFlag(false);
}

TEST_F(MainFrame, AboutBoxNamesTheProgram) {
    QString caption, text;
    frame->setModalHook([&](QDialog& d) {
        caption = d.windowTitle();
        text = static_cast<QMessageBox&>(d).text();
        d.accept();
    });
    frame->action(CMainFrame::About)->trigger();
    EXPECT_EQ(caption, QStringLiteral("About Q-V Davov Software..."));
    EXPECT_TRUE(text.contains(QStringLiteral("Q-V Variable Entry")));
}

TEST_F(MainFrame, SettingsChangesLayTheFormOutAgain) {
    const int before = frame->view()->layoutPasses();
    QEvent locale(QEvent::LocaleChange);
    QCoreApplication::sendEvent(frame->view(), &locale);
    EXPECT_EQ(frame->view()->layoutPasses(), before + 1);
}

TEST_F(MainFrame, KeyboardAloneWalksTheForm) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    idle();
    // Mnemonics press their button after a short animation.
    const auto waitFor = [](const std::function<bool()>& done) {
        for (int i = 0; i < 100 && !done(); ++i)
            QTest::qWait(10);
        return done();
    };
    QLineEdit* value = field();
    ASSERT_TRUE(value->hasFocus());

    // Tab leaves the field for the bar's controls in their order.
    QStringList order;
    QWidget* w = value;
    for (int i = 0; i < 5; ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisible());
        order << w->objectName();
    }
    EXPECT_EQ(order, (QStringList{"fillInLater1014", "position1007", "next107", "done101", "cancel57665"}));

    auto* later = find<QCheckBox>("fillInLater1014");
    ASSERT_TRUE(later->isChecked());
    QTest::keyClick(value, Qt::Key_I, Qt::AltModifier); // Fill &In Later
    EXPECT_TRUE(waitFor([&] { return !later->isChecked(); }));
    EXPECT_EQ(answer(0), NBSP_TEXT);
    EXPECT_TRUE(waitFor([&] { return value->hasFocus(); }));

    QTest::keyClicks(value, QStringLiteral("Jane Roe"));
    QTest::keyClick(value, Qt::Key_Return); // Next is the default button
    idle();
    EXPECT_EQ(position(), QStringLiteral("2/3"));
    EXPECT_TRUE(value->hasFocus());
    QTest::keyClick(value, Qt::Key_B, Qt::AltModifier); // < &Back
    EXPECT_TRUE(waitFor([&] { return position() == QStringLiteral("1/3"); }));
    idle();
    EXPECT_EQ(value->text(), QStringLiteral("Jane Roe"));
    EXPECT_TRUE(value->hasFocus());
    QTest::keyClick(value, Qt::Key_N, Qt::AltModifier); // &Next >
    EXPECT_TRUE(waitFor([&] { return position() == QStringLiteral("2/3"); }));
    // Ctrl+S reaches Save Worksheet from the field.
    const auto saved = dir / "keyboard.qvw";
    frame->setFileChooser([&](bool) { return QString::fromStdString(saved.string()); });
    QTest::keyClick(value, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::exists(saved));
}

TEST_F(MainFrame, EveryControlOfTheBarHasAnAccessibleName) {
    for (QWidget* w : frame->interviewBar()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
}

TEST_F(MainFrame, TitlesShowFileNamesAndCatalogueTitlesAsWritten) {
    const std::string form =
        dir.write("S\xC3\xB8ren.qvf", TemplateBuilder::simple({"NAME"}, "Lease to |NAME|.")).string();
    const struct {
        QString suffix;
        QString title;
    } cases[] = {
        {QString(), QStringLiteral("Template:S\u00f8ren.qvf - Q-V Variable Entry")},
        {QStringLiteral("?Lease for S\u00f8ren"),
         QStringLiteral("New - Lease for S\u00f8ren - Q-V Variable Entry")},
        {QStringLiteral("?Umowa \u0141\u00f3d\u017a"),
         QStringLiteral("New - Umowa \u0141\u00f3d\u017a - Q-V Variable Entry")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form) + c.suffix));
        idle();
        EXPECT_EQ(frame->windowTitle(), c.title);
    }
    const std::string worksheet = (dir / "S\xC3\xB8ren.qvw").string();
    frame->setFileChooser([&](bool) { return QString::fromStdString(worksheet); });
    QTest::keyClicks(field(), QStringLiteral("Jane"));
    frame->action(CMainFrame::SaveWorksheet)->trigger();
    QTest::keyClicks(field(), QStringLiteral(" Roe"));
    idle();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("S\u00f8ren.qvw* - Q-V Variable Entry"));
    messages.setNextReply(MessageReply::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Save changes to S\xC3\xB8ren.qvw?"});
}

TEST_F(MainFrame, ARecentFileThatNoLongerOpensLeavesTheList) {
    const auto gone = dir.write("gone.qvf", TemplateBuilder::simple({"X"}, "|X|"));
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(gone.string())));
    std::filesystem::remove(gone);
    QAction* first = frame->findChild<QAction*>(QStringLiteral("cmd57616"));
    ASSERT_EQ(first->data().toString(), QString::fromStdString(gone.string()));
    first->trigger();
    idle();
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), (dir / "sale.qvf").string());
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2"), "");
    EXPECT_EQ(first->data().toString().toStdString(), (dir / "sale.qvf").string());
    EXPECT_FALSE(frame->findChild<QAction*>(QStringLiteral("cmd57617"))->isVisible());
}

TEST_F(MainFrame, ViewTicksFollowTheBarsHoweverTheyAreHidden) {
    idle();
    // The toolbar area's own menu, as the user finds it.
    const auto fromToolbarAreaMenu = [this](QWidget* bar) {
        const std::unique_ptr<QMenu> menu(frame->createPopupMenu());
        for (QAction* a : menu->actions())
            if (a->text() == bar->windowTitle())
                a->trigger();
    };
    const auto directly = [](QWidget* bar) { bar->hide(); };
    const struct {
        QWidget* bar;
        FrameCommand tick;
        std::function<void(QWidget*)> hide;
    } bars[] = {{find<QWidget>("mainToolbar"), CMainFrame::ViewToolbar, fromToolbarAreaMenu},
                {find<QWidget>("interviewBar103"), CMainFrame::ViewVariableEntry, directly},
                {frame->statusBar(), CMainFrame::ViewStatusBar, directly}};
    for (const auto& b : bars) {
        SCOPED_TRACE(b.bar->objectName().toStdString());
        b.hide(b.bar);
        idle();
        EXPECT_FALSE(b.bar->isVisible());
        EXPECT_FALSE(frame->action(b.tick)->isChecked());
        frame->action(b.tick)->trigger(); // and the View menu brings it back
        idle();
        EXPECT_TRUE(b.bar->isVisible());
        EXPECT_TRUE(frame->action(b.tick)->isChecked());
    }
}

TEST_F(MainFrame, ShiftF1TellsWhatTheNextControlClickedDoesInsteadOfDoingIt) {
    idle();
    bool asked = false;
    frame->setFileChooser([&](bool) {
        asked = true;
        return QString();
    });
    auto* toolbar = find<QToolBar>("mainToolbar");
    QWidget* open = toolbar->widgetForAction(frame->action(CMainFrame::Open));
    ASSERT_NE(open, nullptr);
    QTest::keyClick(field(), Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qstrcmp(w->metaObject()->className(), "QWhatsThat") == 0)
            shown = w;
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(open->whatsThis(), QStringLiteral("Opens a previously saved sheet"));
    QWhatsThis::hideText();
}

TEST_F(MainFrame, VariableSetsWithoutAFormLeaveNothingToSave) {
    doc.OnNewDocument();
    frame->UpdatePass();
    frame->setModalHook([](QDialog& d) {
        QTest::mouseClick(d.findChild<QCheckBox*>(QStringLiteral("apply1036")), Qt::LeftButton);
        QMetaObject::invokeMethod(
            &d, [&d] { d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); });
        QCoreApplication::processEvents();
    });
    frame->action(CMainFrame::VariableSets)->trigger();
    idle();
    EXPECT_FALSE(frame->windowTitle().contains(QStringLiteral("*")));
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(messages.entries().empty());
}
