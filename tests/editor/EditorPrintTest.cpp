// A print file printed from the editor must come out as the variable-entry program prints
// the form: the same lines, 10 characters to the inch, the same number of pages, whatever
// the printer's resolution.
#include "editor/CRichEditDoc.h"
#include "editor/ui/CMainFrame.h"
#include "platform/FontAlias.h"
#include "platform/UserLocale.h"
#include "support/DocFixture.h"
#include "support/ProcessRunner.h"
#include "support/TemplateBuilder.h"
#include "view/NumericFields.h"
#include "view/PrintFileWriter.h"
#include "view/ui/FormPrinter.h"

#include <QAction>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QRegularExpression>

using namespace qv;
using qv::test::ProcessRunner;
using qv::test::TemplateBuilder;

namespace {

struct Word {
    double xMin, yMin, xMax;
    QString text;
};
using Line = std::vector<Word>;

struct Printout {
    int pages = 0;
    std::vector<Line> lines; // in reading order, every page
};

Printout readPdf(const std::filesystem::path& pdf) {
    Printout p;
    const auto info = ProcessRunner::run("/usr/bin/pdfinfo", {pdf.string()});
    const auto at = info.out.find("Pages:");
    if (info.exitCode != 0 || at == std::string::npos)
        return p;
    p.pages = std::stoi(info.out.substr(at + 6));
    const auto box = ProcessRunner::run("/usr/bin/pdftotext", {"-bbox", pdf.string(), "-"});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>|<page )re"));
    double pageTop = 0;
    for (const auto& m : word.globalMatch(QString::fromStdString(box.out))) {
        if (m.captured(1).isEmpty()) { // a new page
            pageTop += 10000;
            continue;
        }
        const Word w{m.captured(1).toDouble(), pageTop + m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4)};
        if (p.lines.empty() || std::abs(p.lines.back().front().yMin - w.yMin) > 2)
            p.lines.emplace_back();
        p.lines.back().push_back(w);
    }
    return p;
}

QStringList texts(const Printout& p) {
    QStringList out;
    for (const Line& line : p.lines) {
        QStringList words;
        for (const Word& w : line)
            words << w.text;
        out << words.join(QLatin1Char(' '));
    }
    return out;
}

class EditorPrint : public qv::test::DocFixture {
protected:
    void SetUp() override {
        // A 65-character paragraph, then enough text to fill most of one page.
        std::string body = "Agreement made by |NAME| on the day below.\xAE"
                           "Alpha Bravo Delta Gamma Kappa Omega Sigma Theta Tango Hotel Lemon\xAE";
        for (int i = 1; i <= 7; ++i)
            body += "Clause " + std::to_string(i) +
                    " binds the parties to every term written here, in full and at once.\xAE";
        ASSERT_TRUE(loadTemplate(TemplateBuilder().declare("NAME", "Who?").body(body).bytes()));
        doc.StoreAnswer(0, "Jane Roe");
    }

    qv::test::TempHome home;
};

} // namespace

TEST_F(EditorPrint, APrintFilePrintsWithTheFormsLinesAndPagesAtAnyResolution) {
    if (!std::filesystem::exists("/usr/bin/pdftotext"))
        GTEST_SKIP() << "poppler-utils are installed by the test command";
    NumericFields numeric(doc, platform::UserLocale::current());
    const auto formPdf = dir / "form.pdf";
    ASSERT_TRUE(FormPrinter::PrintToPdf(formPdf.string(), doc, numeric, messages));
    const Printout form = readPdf(formPdf);
    ASSERT_EQ(form.pages, 1) << "the form fills one page";

    PrintFilePage page;
    page.margins = state.page.margins;
    page.orientation = state.page.orientation;
    const auto printFile = dir.write("form.qvp", PrintFileWriter::EditorRtf(doc, page));

    for (int dpi : {72, 300, 1200}) {
        SCOPED_TRACE("printer resolution " + std::to_string(dpi));
        editor::CMainFrame frame(profile, messages);
        ASSERT_TRUE(frame.OpenDocumentFile(QString::fromStdString(printFile.string())));
        const auto pdf = dir / ("editor" + std::to_string(dpi) + ".pdf");
        frame.printer().setOutputFormat(QPrinter::PdfFormat);
        frame.printer().setResolution(dpi);
        frame.printer().setOutputFileName(QString::fromStdString(pdf.string()));
        frame.setModalHook([](QDialog& d) { d.setResult(QDialog::Accepted); });
        frame.action(editor::CMainFrame::Print)->trigger();
        const Printout printed = readPdf(pdf);

        EXPECT_EQ(printed.pages, form.pages);
        EXPECT_EQ(texts(printed), texts(form));
        const auto full = std::find_if(printed.lines.begin(), printed.lines.end(),
                                       [](const Line& l) { return l.front().text == QStringLiteral("Alpha"); });
        ASSERT_NE(full, printed.lines.end());
        ASSERT_EQ(full->size(), 11u) << "the 65-character line stays whole";
        // 12-point Courier: 7.2 points a character, 10 to the inch.
        EXPECT_NEAR((full->back().xMax - full->front().xMin) / 65, 7.2, 0.03);
        EXPECT_NEAR(full->front().xMin, 72, 1.5) << "one-inch left margin";
    }
}

TEST_F(EditorPrint, WhatTheEditorKeepsButCannotShowPrintsAsItsPlaceholder) {
    if (!std::filesystem::exists("/usr/bin/pdftotext"))
        GTEST_SKIP() << "poppler-utils are installed by the test command";
    const auto rtf = dir.write("note.rtf", "{\\rtf1\\ansi Before{\\footnote A note.} after.\\par}");
    editor::CMainFrame frame(profile, messages);
    ASSERT_TRUE(frame.OpenDocumentFile(QString::fromStdString(rtf.string())));
    const auto pdf = dir / "note.pdf";
    frame.printer().setOutputFormat(QPrinter::PdfFormat);
    frame.printer().setOutputFileName(QString::fromStdString(pdf.string()));
    frame.setModalHook([](QDialog& d) { d.setResult(QDialog::Accepted); });
    frame.action(editor::CMainFrame::Print)->trigger();
    // The page shows what the screen shows: the footnote's box between the two words.
    EXPECT_EQ(texts(readPdf(pdf)), QStringList{QStringLiteral("Before Footnote after.")});
}

TEST(EditorFont, PrintFilesFixedPitchFaceIsACourierMetricOne) {
    int orientation = 1;
    const editor::CRichEditDoc document(orientation); // the editor as it starts
    QFont font(QString::fromLatin1(platform::FontAlias::kFaceName));
    font.setPointSize(12);
    const QFontInfo info(font);
    EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
    EXPECT_NEAR(QFontMetricsF(font).horizontalAdvance(QStringLiteral("0123456789")) / 10,
                QFontMetricsF(QFont(QStringLiteral("Liberation Mono"), 12)).horizontalAdvance(QLatin1Char('0')),
                0.01)
        << info.family().toStdString();
}
