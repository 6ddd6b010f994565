#include "view/EquationEvaluator.h"
#include "formengine/CellTable.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
class Equations : public ::testing::Test {
protected:
    double eval(const char* e) { return evaluator.EvaluateEquation(e); }
    CellTable cells;
    qv::test::MessageRecorder messages;
    EquationEvaluator evaluator{cells, messages};
};
} // namespace

TEST_F(Equations, LeftToRightWithoutPrecedence) {
    EXPECT_EQ(eval("2+3*4"), 20);
    EXPECT_EQ(eval("(2+3)*4"), 20);
    EXPECT_EQ(eval("2*(3+4)"), 14);
    EXPECT_EQ(eval("2+(3*4)"), 14);
    EXPECT_EQ(eval("((1+2))"), 3);
    EXPECT_EQ(eval("-5"), -5);
    EXPECT_EQ(eval("*5"), 0);
    EXPECT_EQ(eval("1.2.3"), 1.2);
    EXPECT_EQ(eval("10-2-3"), 5);
    EXPECT_EQ(eval(""), 0);
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(Equations, DivisionByZeroGivesZero) {
    cells.set('A', 'B', 7);
    EXPECT_EQ(eval("10/0"), 0);
    EXPECT_EQ(eval("AB/0+5"), 5);
    EXPECT_EQ(eval("AB/(1-1)"), 0);
}

TEST_F(Equations, CellsAndTheStickyOperator) {
    cells.set('A', 'B', 1);
    cells.set('A', 'C', 10);
    cells.set('A', 'D', 100);
    EXPECT_EQ(eval("AB+ACAD"), 111);
    EXPECT_EQ(eval("ABAC"), 10);
    EXPECT_EQ(eval("1.5*AB+1.25"), 2.75);
    EXPECT_EQ(eval("AC*2"), 20);
}

TEST_F(Equations, Sums) {
    for (int r = 0; r < 26; ++r)
        for (int c = 0; c < 26; ++c)
            cells.at(r, c) = 1;
    cells.set('C', 'B', 5); // row C, column B
    EXPECT_EQ(eval("##"), 680);
    EXPECT_EQ(eval("#B"), 30);
    EXPECT_EQ(eval("C#"), 30);
    EXPECT_EQ(eval("B#"), 26);
}

TEST_F(Equations, NamesThatAddressNoCellReadZero) {
    cells.set('A', 'A', 3);
    EXPECT_EQ(eval("A"), 0);    // cut off at the end
    EXPECT_EQ(eval("AA+A"), 3); // cut off after an operator
    EXPECT_EQ(eval("#"), 0);
    EXPECT_EQ(eval("(AA"), 3); // an open group ends with the expression
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(Equations, BadCharacterIsReportedOnceWithItsPosition) {
    cells.set('A', 'B', 1);
    EXPECT_EQ(eval("AB + AC"), 0);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text, "Bad equation: [AB + AC].  Error on char 2.");
    EXPECT_EQ(messages.entries()[0].icon, MessageIcon::Stop);

    messages.clear();
    EXPECT_EQ(eval("(1+x)+(2+y)"), 0);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Bad equation: [1+x].  Error on char 2."});

    messages.clear();
    EXPECT_EQ(eval("2)"), 0);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Bad equation: [2)].  Error on char 1."});
    // The next evaluation starts afresh.
    EXPECT_EQ(eval("2+2"), 4);
}
