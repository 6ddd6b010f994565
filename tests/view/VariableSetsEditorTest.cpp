#include "view/VariableSetsEditor.h"
#include "platform/IniProfile.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
class SetsEditor : public ::testing::Test {
protected:
    VariableSets::Set with(int index, const std::string& value, VariableSets::Set base = {}) {
        base[index] = value;
        return base;
    }
    qv::test::TempDir dir;
    platform::IniProfile profile{dir / "QVLegal.ini"};
    qv::test::MessageRecorder messages;
    VariableSets sets;
};
} // namespace

TEST_F(SetsEditor, FirstStartShowsEmptySetOneAsTheDefault) {
    VariableSetsEditor e(sets, profile, messages);
    EXPECT_EQ(e.shownSet(), 0);
    EXPECT_TRUE(e.defaultTicked());
    EXPECT_EQ(e.shownValues(), VariableSets::Set{});
}

TEST_F(SetsEditor, EditsSurviveTabSwitchesUntilOkOrCancel) {
    {
        VariableSetsEditor e(sets, profile, messages);
        e.SwitchTo(1, {});
        e.SwitchTo(2, with(0, "Set Two Name"));
        EXPECT_FALSE(e.defaultTicked());
        e.SwitchTo(1, e.shownValues());
        EXPECT_EQ(e.shownValues()[0], "Set Two Name");
        // Cancel: nothing is written and the sets keep what opening read.
    }
    EXPECT_EQ(profile.GetProfileString("VarSection 1", "Var 0"), "");
    EXPECT_EQ(sets[1][0], "");
}

TEST_F(SetsEditor, DefaultMovesButCannotBeUnticked) {
    VariableSetsEditor e(sets, profile, messages);
    EXPECT_TRUE(e.ClickDefault(false));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].caption, "Oops!");
    EXPECT_EQ(messages.entries()[0].text,
              "You must have a variable set selected.  Instead of unchecking this box, "
              "just check this box in another set.");
    e.SwitchTo(2, e.shownValues());
    EXPECT_TRUE(e.ClickDefault(true));
    EXPECT_EQ(e.defaultSet(), 2);
    // OK without "apply" stores the default and applies nothing.
    EXPECT_EQ(e.Ok(with(13, "Employee Three"), false), VariableSetsEditor::kNoSet);
    EXPECT_EQ(VariableSets::defaultSet(profile), 2);
    EXPECT_EQ(profile.GetProfileString("VarSection 2", "Var 13"), "Employee Three");
    EXPECT_EQ(sets[2][13], "Employee Three");
}

TEST_F(SetsEditor, ApplyReturnsTheShownSetEvenWhenNotTheDefault) {
    VariableSetsEditor e(sets, profile, messages);
    e.SwitchTo(1, e.shownValues());
    EXPECT_EQ(e.Ok(with(0, "Applied"), true), 1);
    EXPECT_EQ(VariableSets::defaultSet(profile), 0);
    // All 42 values are written, changed or not.
    for (int s = 0; s < 3; ++s)
        for (int v = 0; v < 14; ++v)
            EXPECT_TRUE(profile.load().value("VarSection " + std::to_string(s), "Var " + std::to_string(v)));
}
