#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

// Occurrences: 0 NAME, 1 NAME (underlined), 2 PRICE input cell AB, 3 TOTAL computed,
// 4 ODD ("D" with a bad cell name, so computed), 5 NOTE.
class Answers : public qv::test::DocFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadTemplate(TemplateBuilder::simple({"NAME", "PRICE", "TOTAL", "ODD", "NOTE"},
                                                         "|NAME| \xB5|NAME|\xB5 \xF1"
                                                         "DAB0010|PRICE| \xF1"
                                                         "CAC=AB*2|TOTAL| \xF1"
                                                         "Dab|ODD| |NOTE|")));
        ASSERT_EQ(state.occCount, 6);
    }
};

} // namespace

TEST_F(Answers, CalculatedOccurrencesAreToldApart) {
    EXPECT_FALSE(doc.IsCalculated(0));
    EXPECT_TRUE(doc.IsCalculated(2));
    EXPECT_TRUE(doc.IsInputCell(2));
    EXPECT_TRUE(doc.IsCalculated(3));
    EXPECT_FALSE(doc.IsInputCell(3));
    EXPECT_TRUE(doc.IsCalculated(4));
    EXPECT_FALSE(doc.IsInputCell(4));
    EXPECT_FALSE(doc.IsCalculated(-1));
    EXPECT_FALSE(doc.IsCalculated(6));
}

TEST_F(Answers, AnsweringOneOccurrenceLeavesTheOtherBlank) {
    EXPECT_TRUE(doc.StoreAnswer(0, "John Smith"));
    EXPECT_EQ(answer(0), "John Smith");
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_EQ(doc.DisplayValue(0), "John Smith");
    EXPECT_EQ(doc.DisplayValue(1), "");
    EXPECT_FALSE(doc.StoreAnswer(0, "John Smith"));
    // An answer differing only by surrounding blanks is stored as typed.
    EXPECT_TRUE(doc.StoreAnswer(0, "John Smith "));
    EXPECT_EQ(answer(0), "John Smith ");
    EXPECT_EQ(doc.DisplayValue(0), "John Smith");
}

TEST_F(Answers, ClearingAnAnswerGivesTheBlankOfItsPlace) {
    doc.StoreAnswer(0, "x");
    doc.StoreAnswer(1, "y");
    EXPECT_TRUE(doc.StoreAnswer(0, ""));
    EXPECT_EQ(answer(0), BLANK_TEXT);
    EXPECT_TRUE(doc.StoreAnswer(1, ""));
    EXPECT_EQ(answer(1), NBSP_TEXT);
}

TEST_F(Answers, InputCellKeepsTheTypedTextAndStoresTheNumber) {
    EXPECT_TRUE(doc.StoreAnswer(2, "$1,250.50"));
    EXPECT_EQ(state.cellTable.get('A', 'B'), 1250.5);
    EXPECT_EQ(answer(2), "$1,250.50");
    EXPECT_FALSE(doc.StoreAnswer(2, "1250.5"));
    EXPECT_EQ(answer(2), "$1,250.50");
    EXPECT_EQ(doc.DisplayValue(2), "1250.5");
    EXPECT_TRUE(doc.StoreAnswer(2, "-3"));
    EXPECT_EQ(state.cellTable.get('A', 'B'), -3.0);
    EXPECT_TRUE(doc.StoreAnswer(2, "abc"));
    EXPECT_EQ(state.cellTable.get('A', 'B'), 0.0);
}

TEST_F(Answers, InputCellShowsTwentySignificantDigits) {
    state.cellTable.set('A', 'B', 0.1);
    EXPECT_EQ(doc.DisplayValue(2), "0.10000000000000000555");
    state.cellTable.set('A', 'B', 0);
    EXPECT_EQ(doc.DisplayValue(2), "0");
}

TEST_F(Answers, InputCellNumbersIgnoreTheUserLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE locale not generated";
    doc.StoreAnswer(2, "2.5");
    EXPECT_EQ(state.cellTable.get('A', 'B'), 2.5);
    EXPECT_EQ(doc.DisplayValue(2), "2.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(Answers, ComputedOccurrencesIgnoreTheValueField) {
    const std::string before = answer(3);
    EXPECT_EQ(doc.DisplayValue(3), "[This variable is automatically calculated for you]");
    EXPECT_EQ(doc.DisplayValue(4), "[This variable is automatically calculated for you]");
    EXPECT_FALSE(doc.StoreAnswer(3, "99"));
    EXPECT_FALSE(doc.StoreAnswer(3, ""));
    EXPECT_FALSE(doc.StoreAnswer(4, "5"));
    EXPECT_EQ(answer(3), before);
    EXPECT_EQ(state.cellTable.get('A', 'C'), 0.0);
}

TEST_F(Answers, AnswersAreCutAt1024Characters) {
    EXPECT_TRUE(doc.StoreAnswer(5, std::string(2000, 'x')));
    EXPECT_EQ(answer(5).size(), 1024u);
}

TEST_F(Answers, FillInLater) {
    // A blank: checked; unchecking gives the no-break space, checking again the blank.
    EXPECT_EQ(doc.FillInLaterState(0), (FillInLater{true, true}));
    std::string field = doc.ToggleFillInLater(0);
    EXPECT_EQ(field, NBSP_TEXT);
    EXPECT_TRUE(state.focusRequest);
    doc.StoreAnswer(0, field);
    EXPECT_EQ(doc.FillInLaterState(0), (FillInLater{true, false}));
    field = doc.ToggleFillInLater(0);
    EXPECT_EQ(field, "");
    doc.StoreAnswer(0, field);
    EXPECT_EQ(answer(0), BLANK_TEXT);

    // Inside underlined text the empty field stays a no-break space.
    EXPECT_EQ(doc.FillInLaterState(1), (FillInLater{true, true}));
    doc.StoreAnswer(1, doc.ToggleFillInLater(1));
    doc.StoreAnswer(1, doc.ToggleFillInLater(1));
    EXPECT_EQ(answer(1), NBSP_TEXT);

    // A real answer or a calculated occurrence: disabled.
    doc.StoreAnswer(5, "answered");
    EXPECT_EQ(doc.FillInLaterState(5), FillInLater{});
    EXPECT_EQ(doc.FillInLaterState(2), FillInLater{});
    EXPECT_EQ(doc.FillInLaterState(99), FillInLater{});
}

TEST_F(Answers, VariableSetOverwritesStandardAnswers) {
    doc.StoreAnswer(0, "typed by the user");
    state.variableSets[2][0] = "From Set Three";
    const int redraws = host.redraws;
    doc.ApplyVariableSet(2, true);
    EXPECT_EQ(answer(0), "From Set Three");
    EXPECT_EQ(answer(1), "From Set Three");
    EXPECT_EQ(host.redraws, redraws + 1);
    doc.ApplyVariableSet(1, false);
    EXPECT_EQ(answer(0), BLANK_TEXT);
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_EQ(answer(5), BLANK_TEXT);
}
