#include "view/CPageBreaker.h"
#include "view/CPageMargins.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
PrinterGeometry letterWithBorder() {
    PrinterGeometry p;
    p.unprintable = {25, 25, 25, 25};
    p.printableWidth = 800;
    p.printableHeight = 1050;
    p.lineHeight = 20;
    return p;
}
} // namespace

TEST(PageGeometry, TextAreaIsThePageInsetByTheMargins) {
    PageSetup setup;
    int measured = 0;
    CPageMargins page(setup, [&] {
        ++measured;
        return letterWithBorder();
    });
    TextArea a = page.GetTextArea();
    EXPECT_EQ(a.left, 75);
    EXPECT_EQ(a.top, -75);
    EXPECT_EQ(a.right, 725);
    EXPECT_EQ(a.bottom, -975);
    EXPECT_EQ(a.width(), 650);
    EXPECT_EQ(page.CharsPerLine(), 65);
    page.GetTextArea();
    EXPECT_EQ(measured, 1); // measured once until invalidated

    // Half-inch side margins widen the text area by an inch: ten more characters.
    page.SetMargins(50, 100, 50, 100);
    EXPECT_EQ(setup.margins, (std::array<int, 4>{50, 100, 50, 100}));
    EXPECT_EQ(page.GetTextArea().width(), 750);
    EXPECT_EQ(page.CharsPerLine(), 75);
    EXPECT_EQ(measured, 2);
}

TEST(PageGeometry, NoPrinterMeans65Characters) {
    PageSetup setup;
    CPageMargins page(setup, [] {
        PrinterGeometry p;
        p.hasPrinter = false;
        return p;
    });
    EXPECT_EQ(page.CharsPerLine(), 65);
}

TEST(PageGeometry, LinesPerPageAndPageCount) {
    PageSetup setup;
    CPageMargins page(setup, letterWithBorder);
    CPageBreaker breaker(page);
    EXPECT_FALSE(breaker.IsLastLineOfPage(44)); // not measured yet
    breaker.Recompute(45);
    EXPECT_EQ(breaker.GetLinesPerPage(), 45); // 11 inches less two, in 0.2-inch lines
    EXPECT_EQ(breaker.GetPageCount(), 1);
    EXPECT_TRUE(breaker.IsLastLineOfPage(44));
    EXPECT_FALSE(breaker.IsLastLineOfPage(45));
    breaker.Recompute(46);
    EXPECT_EQ(breaker.GetPageCount(), 2);
    breaker.Recompute(0);
    EXPECT_EQ(breaker.GetPageCount(), 0);
    breaker.Invalidate();
    EXPECT_FALSE(breaker.IsLastLineOfPage(44));

    // Margins taller than the paper still give a page of one line rather than failing.
    page.SetMargins(100, 800, 100, 800);
    breaker.Recompute(3);
    EXPECT_EQ(breaker.GetLinesPerPage(), 25);
    page.SetMargins(100, 550, 100, 550);
    breaker.Recompute(3);
    EXPECT_EQ(breaker.GetLinesPerPage(), 1);
    EXPECT_EQ(breaker.GetPageCount(), 3);
}
