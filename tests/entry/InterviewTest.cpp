#include "entry/Interview.h"
#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

using namespace qv;
using namespace std::chrono_literals;
using qv::test::TemplateBuilder;

namespace {

// Occurrences: 0 NAME (underlined), 1 PRICE (input cell), 2 TOTAL (computed).
class InterviewWalk : public qv::test::DocFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadTemplate(TemplateBuilder()
                                     .declare("NAME", "Who is buying?")
                                     .declare("PRICE", "What is the price?")
                                     .declare("TOTAL", "Total.")
                                     .body("Sold to \xB5|NAME|\xB5 for \xF1"
                                           "DAA0110|PRICE| in all \xF1"
                                           "CAB0110[AA*2]|TOTAL|.")
                                     .bytes()));
    }
    InterviewView pass(const std::string& field = {}, bool focusInChild = false) {
        view = interview.UpdatePass(field, focusInChild);
        if (view.valueText)
            fieldText = *view.valueText;
        return view;
    }
    // The field as the user left it, or as the last pass set it.
    InterviewView idle() { return pass(fieldText); }

    std::chrono::milliseconds now{100000};
    int viewRedraws = 0;
    Interview interview{doc, messages, [this] { ++viewRedraws; }, [this] { return now; }};
    InterviewView view;
    std::string fieldText;
};

} // namespace

TEST_F(InterviewWalk, FirstPassShowsTheFirstOccurrence) {
    pass();
    EXPECT_EQ(view.prompt, "Who is buying?\n");
    EXPECT_EQ(view.valueText, "");
    EXPECT_TRUE(view.focusValue);
    EXPECT_FALSE(view.backEnabled);
    EXPECT_TRUE(view.nextEnabled);
    EXPECT_EQ(view.nextText, "&Next >");
    EXPECT_TRUE(view.doneEnabled);
    EXPECT_EQ(view.positionText, "1/3");
    EXPECT_EQ(view.sliderMaximum, 2);
    idle();
    EXPECT_FALSE(view.prompt); // refreshed only when asked for
    EXPECT_FALSE(view.valueText);
    EXPECT_FALSE(view.focusValue);
}

TEST_F(InterviewWalk, NextAndBackWalkTheOccurrences) {
    pass();
    interview.Back(); // nothing before the first
    EXPECT_EQ(state.currentOcc, 0);
    interview.Next();
    interview.Next();
    idle();
    EXPECT_EQ(view.positionText, "3/3");
    EXPECT_EQ(view.nextText, "&Now What?");
    EXPECT_TRUE(view.backEnabled);
    EXPECT_TRUE(messages.entries().empty());

    interview.Next();
    EXPECT_EQ(state.currentOcc, 2);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.entries()[0].text.substr(0, 40), "You are currently on the last variable. ");
    interview.Back();
    idle();
    EXPECT_EQ(view.positionText, "2/3");
    EXPECT_EQ(view.prompt, "What is the price?\n");
    EXPECT_TRUE(view.focusValue);
}

TEST_F(InterviewWalk, TypingStoresAtOnceAndRedrawsAfterTwoQuietSeconds) {
    pass();
    const int before = viewRedraws;
    for (const char* typed : {"J", "Ja", "Jan", "Jane"}) {
        now += 500ms;
        pass(typed);
        EXPECT_EQ(answer(0), typed);
    }
    EXPECT_EQ(viewRedraws, before);
    EXPECT_TRUE(interview.redrawPending());
    EXPECT_TRUE(doc.IsModified());
    now += 1999ms;
    pass("Jane");
    EXPECT_EQ(viewRedraws, before);
    now += 1ms;
    pass("Jane");
    EXPECT_EQ(viewRedraws, before + 1);
    EXPECT_FALSE(interview.redrawPending());
    now += 5000ms;
    pass("Jane");
    EXPECT_EQ(viewRedraws, before + 1); // nothing changed since
}

TEST_F(InterviewWalk, TimerRedrawsAndMovesToTheSliderPosition) {
    pass();
    now += 10ms;
    pass("Jo");
    interview.TimerTick(0);
    EXPECT_TRUE(interview.redrawPending()); // not quiet long enough
    now += 2000ms;
    const int before = viewRedraws;
    interview.TimerTick(2);
    EXPECT_FALSE(interview.redrawPending());
    EXPECT_EQ(state.currentOcc, 2);
    EXPECT_EQ(viewRedraws, before + 2);
    idle();
    EXPECT_EQ(view.positionText, "3/3");
    // With the prompt still to refresh, the timer leaves everything alone.
    state.promptDirty = true;
    interview.TimerTick(0);
    EXPECT_EQ(state.currentOcc, 2);
}

TEST_F(InterviewWalk, ComputedOccurrenceDisablesTheField) {
    pass();
    interview.Next();
    idle();
    EXPECT_TRUE(view.valueEnabled); // an input cell
    EXPECT_EQ(view.fillInLater, FillInLater{});
    interview.Next();
    idle();
    EXPECT_FALSE(view.valueEnabled);
    EXPECT_EQ(fieldText, "[This variable is automatically calculated for you]");
    EXPECT_EQ(view.fillInLater, FillInLater{});
}

TEST_F(InterviewWalk, FillInLaterOnAnUnderlinedOccurrence) {
    pass();
    // An empty field inside underlined text leaves a no-break space: not a blank to fill.
    EXPECT_EQ(answer(0), NBSP_TEXT);
    EXPECT_EQ(view.fillInLater, (FillInLater{true, false}));
    fieldText = doc.ToggleFillInLater(0);
    idle();
    EXPECT_EQ(view.fillInLater, (FillInLater{true, false}));
    fieldText = "Jane";
    idle();
    EXPECT_EQ(view.fillInLater, FillInLater{}); // a real answer now
    fieldText = "";
    idle();
    EXPECT_EQ(view.fillInLater, (FillInLater{true, false}));
}

TEST_F(InterviewWalk, FocusReturnsToTheValueField) {
    pass();
    idle();
    EXPECT_FALSE(view.focusValue);
    pass(fieldText, true);
    EXPECT_TRUE(view.focusValue);
}

TEST(InterviewEmpty, NothingLoaded) {
    qv::test::TempDir dir;
    ProgramState state;
    platform::IniProfile profile(dir / "s.ini");
    FixedClock clock({2000, 1, 1});
    qv::test::MessageRecorder messages;
    DocumentHost host;
    CTextDoc doc(state, {messages, profile, clock, host});
    doc.OnNewDocument();
    Interview interview(
        doc, messages, [] {}, [] { return std::chrono::milliseconds(0); });
    InterviewView v = interview.UpdatePass("", false);
    EXPECT_FALSE(v.backEnabled || v.nextEnabled || v.doneEnabled || v.valueEnabled || v.positionEnabled);
    EXPECT_EQ(v.positionText, "(NONE)");
    EXPECT_FALSE(v.prompt);
    interview.Next();
    interview.Back();
    interview.TimerTick(3);
    EXPECT_EQ(state.currentOcc, 0);
}
