#include "entry/AnswerReview.h"
#include "entry/Interview.h"
#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

// Occurrences: 0 NAME, 1 NAME (underlined), 2 PRICE (input cell), 3 TOTAL (computed),
// 4 NAME, 5 CITY.
class Review : public qv::test::DocFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadTemplate(TemplateBuilder()
                                     .declare("NAME", "Who is buying?")
                                     .declare("PRICE", "What is the price?")
                                     .declare("TOTAL", "Total.")
                                     .declare("CITY", "Where?")
                                     .body("|NAME| agrees; \xB5|NAME|\xB5 pays \xF1"
                                           "DAA0110|PRICE| in all \xF1"
                                           "CAB0110[AA*2]|TOTAL|. Witness |NAME| at |CITY|.")
                                     .bytes()));
        review.Rebuild();
    }
    AnswerReview review{doc};
};

std::vector<AnswerState> states(const AnswerReview& r) {
    std::vector<AnswerState> out;
    for (int k = 0; k < r.rowCount(); ++k)
        out.push_back(r.row(k).state);
    return out;
}

} // namespace

TEST_F(Review, RowsFollowTheFormWithEachKindOfAnswer) {
    ASSERT_EQ(review.rowCount(), 6);
    EXPECT_EQ(review.row(0).prompt, "Who is buying?");
    EXPECT_EQ(review.row(3).prompt, "Total.");
    EXPECT_EQ(review.nameOf(4), "NAME");
    // A fresh form: blank lines to fill in later, the input cell open to typing and the
    // total worked out.
    EXPECT_EQ(states(review),
              (std::vector{AnswerState::FillInLater, AnswerState::FillInLater, AnswerState::FillInLater,
                           AnswerState::Computed, AnswerState::FillInLater, AnswerState::FillInLater}));
    EXPECT_TRUE(review.row(2).inputCell);
    EXPECT_FALSE(review.row(3).inputCell);
    EXPECT_TRUE(review.row(1).unanswered());
    EXPECT_FALSE(review.row(3).unanswered());

    ASSERT_TRUE(doc.StoreAnswer(0, "  Jane Roe "));
    ASSERT_TRUE(doc.StoreAnswer(1, "")); // underlined: left empty, no line of its own
    ASSERT_TRUE(doc.StoreAnswer(2, "$1,250.50"));
    review.Rebuild();
    EXPECT_EQ(review.row(1).state, AnswerState::Blank);
    EXPECT_EQ(review.row(0).state, AnswerState::Answered);
    EXPECT_EQ(review.row(0).answer, "Jane Roe");
    EXPECT_EQ(review.row(2).state, AnswerState::Answered);
    EXPECT_EQ(review.row(2).answer, "$1,250.50");
    EXPECT_TRUE(review.row(1).answer.empty());

    EXPECT_EQ(AnswerReview::FirstLine("  Who signs?\r\nThe buyer or an agent."), "Who signs?");
    EXPECT_EQ(AnswerReview::FirstLine("\n"), "");
}

TEST_F(Review, OneChangedAnswerIsOneChangedRow) {
    EXPECT_TRUE(review.Refresh().empty());
    ASSERT_TRUE(doc.StoreAnswer(4, "Jane Roe"));
    EXPECT_FALSE(review.RefreshRow(3));
    EXPECT_TRUE(review.RefreshRow(4));
    EXPECT_FALSE(review.RefreshRow(4)); // already read
    EXPECT_EQ(review.row(4).answer, "Jane Roe");

    ASSERT_TRUE(doc.StoreAnswer(0, "A"));
    ASSERT_TRUE(doc.StoreAnswer(5, "Reno"));
    EXPECT_EQ(review.Refresh(), (std::vector{0, 5}));
    EXPECT_FALSE(review.RefreshRow(-1));
    EXPECT_FALSE(review.RefreshRow(99));

    // Another form: every row is new.
    ASSERT_TRUE(loadTemplate(TemplateBuilder::simple({"A", "B"}, "|A| and |B|.")));
    EXPECT_EQ(review.Refresh(), (std::vector{0, 1}));
    EXPECT_EQ(review.rowCount(), 2);
    EXPECT_EQ(review.nameOf(1), "B");
}

TEST_F(Review, PagesComeFromTheLinesOfTheLayout) {
    std::vector<int> lines(doc.runFlags.size(), -1);
    const auto run = [&](int k) { return static_cast<std::size_t>(state.occRuns[k]); };
    lines[run(0)] = 0;
    lines[run(1)] = 49;  // last line of page 1 at 50 lines a page
    lines[run(2)] = 50;  // first of page 2
    lines[run(4)] = 120; // the computed total (3) was not placed: it takes the line before it
    lines[run(5)] = 150;
    review.SetPages(lines, 50);
    EXPECT_EQ(review.Refresh().size(), 6u);
    std::vector<int> pages;
    for (int k = 0; k < review.rowCount(); ++k)
        pages.push_back(review.row(k).page);
    EXPECT_EQ(pages, (std::vector{1, 1, 2, 2, 3, 4}));
    review.SetPages(lines, 0); // no page height yet: all on one page, no division by zero
    review.Refresh();
    EXPECT_EQ(review.row(5).page, 151);
}

TEST_F(Review, EarlierAnswersOfTheSameName) {
    EXPECT_FALSE(EarlierAnswer(doc, 4)); // nothing answered yet
    ASSERT_TRUE(doc.StoreAnswer(0, "Jane Roe"));
    EXPECT_EQ(EarlierAnswer(doc, 1), "Jane Roe");
    EXPECT_EQ(EarlierAnswer(doc, 4), "Jane Roe");
    // The nearest earlier real answer wins; a blank in between is skipped.
    ASSERT_TRUE(doc.StoreAnswer(1, "J. Roe"));
    EXPECT_EQ(EarlierAnswer(doc, 4), "J. Roe");
    ASSERT_TRUE(doc.StoreAnswer(1, ""));
    EXPECT_EQ(EarlierAnswer(doc, 4), "Jane Roe");
    // Not offered: the first occurrence, an answered one, another name, calculated ones,
    // occurrences out of range.
    EXPECT_FALSE(EarlierAnswer(doc, 0));
    ASSERT_TRUE(doc.StoreAnswer(4, "Someone Else"));
    EXPECT_FALSE(EarlierAnswer(doc, 4));
    EXPECT_FALSE(EarlierAnswer(doc, 5));
    EXPECT_FALSE(EarlierAnswer(doc, 2));
    EXPECT_FALSE(EarlierAnswer(doc, 3));
    EXPECT_FALSE(EarlierAnswer(doc, -1));
    EXPECT_FALSE(EarlierAnswer(doc, 6));

    ASSERT_TRUE(doc.StoreAnswer(4, ""));
    review.Rebuild();
    EXPECT_EQ(review.BlankOccurrencesOfSameName(0), (std::vector{1, 4}));
    EXPECT_TRUE(review.BlankOccurrencesOfSameName(5).empty());
    EXPECT_TRUE(review.BlankOccurrencesOfSameName(3).empty());
}

namespace {

class Offer : public Review {
protected:
    InterviewView pass(std::optional<std::string> field = {}) {
        if (field)
            fieldText = *field;
        view = interview.UpdatePass(fieldText, false);
        if (view.valueText)
            fieldText = *view.valueText;
        return view;
    }
    void next() {
        pass();
        interview.Next();
        pass();
    }

    std::chrono::milliseconds now{100000};
    Interview interview{doc, messages, [] {}, [this] { return now; }};
    InterviewView view;
    std::string fieldText;
};

} // namespace

TEST_F(Offer, ABlankRepeatedNameOffersTheEarlierAnswerUntilNextTakesIt) {
    pass();
    pass("Jane Roe");
    doc.SetModifiedFlag(false);
    next();
    // Shown, selected by the bar, but not stored until Next.
    EXPECT_EQ(view.valueText, "Jane Roe");
    EXPECT_EQ(interview.pendingOffer(), "Jane Roe");
    EXPECT_FALSE(view.fillInLater.enabled); // the field holds an answer, as if typed
    pass();
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_FALSE(doc.IsModified());
    next();
    EXPECT_EQ(answer(1), "Jane Roe");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(interview.pendingOffer());
}

TEST_F(Offer, TypingReplacesClearingLeavesBlankAndBackDropsTheOffer) {
    pass();
    pass("Jane Roe");
    next();
    pass("J");
    EXPECT_EQ(answer(1), "J"); // typed text is stored at once, as always
    pass("Jane Roe");          // typed back to the offered text: still the user's own
    EXPECT_EQ(answer(1), "Jane Roe");
    pass("");
    next();
    EXPECT_EQ(answer(1), NBSP_TEXT);

    // Leaving backwards stores nothing.
    interview.GoTo(4);
    pass();
    EXPECT_EQ(fieldText, "Jane Roe");
    interview.Back();
    pass();
    EXPECT_EQ(answer(4), BLANK_TEXT);
    // Done takes the offer the user sees.
    interview.GoTo(4);
    pass();
    interview.AcceptOffer();
    EXPECT_EQ(answer(4), "Jane Roe");
}

TEST_F(Offer, AClearedOfferIsNotOfferedAgainUntilTheInterviewMovesOn) {
    // The last occurrence repeats the name: Next there keeps the interview where it is.
    ASSERT_TRUE(loadTemplate(TemplateBuilder().declare("NAME", "Who?").body("|NAME| and |NAME|.").bytes()));
    interview.GoTo(0);
    pass();
    pass("Jane Roe");
    next();
    EXPECT_EQ(interview.pendingOffer(), "Jane Roe");
    pass("");
    next(); // "You are currently on the last variable."
    EXPECT_EQ(fieldText, "");
    EXPECT_FALSE(interview.pendingOffer());
    interview.AcceptOffer(); // Done
    EXPECT_EQ(answer(1), BLANK_TEXT);
    // Nor when the review list jumps to where the interview already is.
    interview.GoTo(1);
    pass();
    EXPECT_FALSE(interview.pendingOffer());
    // Arriving there again offers it, as at any blank place.
    interview.Back();
    pass();
    next();
    EXPECT_EQ(interview.pendingOffer(), "Jane Roe");
}

TEST_F(Offer, SwitchedOffTheFieldShowsTheStoredAnswer) {
    interview.setOfferEarlierAnswers(false);
    pass();
    pass("Jane Roe");
    next();
    EXPECT_EQ(view.valueText, "");
    EXPECT_FALSE(interview.pendingOffer());
    next();
    EXPECT_EQ(answer(1), NBSP_TEXT);
    interview.GoTo(99); // out of range: nothing moves
    pass();
    EXPECT_EQ(view.positionText, "3/6");
}

TEST_F(Review, RowsOfAReplacedFormNameNothing) {
    ASSERT_TRUE(doc.StoreAnswer(0, "Jane Roe"));
    ASSERT_TRUE(loadTemplate(TemplateBuilder::simple({"A"}, "|A|.")));
    // Not yet read again: the six old rows stand, but point into nothing.
    EXPECT_EQ(review.rowCount(), 6);
    EXPECT_EQ(review.nameOf(4), "");
    EXPECT_TRUE(review.BlankOccurrencesOfSameName(0).empty());
    EXPECT_FALSE(review.RefreshRow(0));
}
