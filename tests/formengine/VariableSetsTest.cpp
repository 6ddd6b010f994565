#include "formengine/VariableSets.h"
#include "platform/IniProfile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(VariableSets, StandardNames) {
    EXPECT_EQ(VariableSets::standardIndex("NAME"), 0);
    EXPECT_EQ(VariableSets::standardIndex("CORP"), 1);
    EXPECT_EQ(VariableSets::standardIndex("COMPANY"), 1);
    EXPECT_EQ(VariableSets::standardIndex("EMPLOYEE"), 13);
    EXPECT_EQ(VariableSets::standardIndex("name"), -1);
    EXPECT_EQ(VariableSets::standardName(9), "PHONE");
}

TEST(VariableSets, EmptyStoreGivesEmptySetsAndDefaultZero) {
    qv::test::TempDir dir;
    platform::IniProfile profile(dir / "QVLegal.ini");
    VariableSets sets;
    sets[1][3] = "stale";
    sets.LoadVariableSets(profile);
    EXPECT_EQ(sets, VariableSets{});
    EXPECT_EQ(VariableSets::defaultSet(profile), 0);
}

TEST(VariableSets, AllFortyTwoValuesSurviveARestart) {
    qv::test::TempDir dir;
    VariableSets sets;
    for (int s = 0; s < 3; ++s)
        for (int v = 0; v < 14; ++v)
            sets[s][v] = "  set " + std::to_string(s) + " = value; #" + std::to_string(v) + " \xE9\x80";
    {
        platform::IniProfile profile(dir / "QVLegal.ini");
        ASSERT_TRUE(sets.SaveVariableSets(profile));
        ASSERT_TRUE(VariableSets::setDefaultSet(profile, 2));
    }
    platform::IniProfile again(dir / "QVLegal.ini");
    VariableSets loaded;
    loaded.LoadVariableSets(again);
    EXPECT_EQ(loaded, sets);
    EXPECT_EQ(loaded[2][13], sets[2][13]);
    EXPECT_EQ(VariableSets::defaultSet(again), 2);
    // Stored as UTF-8 so other tools read the settings file as text.
    EXPECT_NE(qv::test::TempDir::read(dir / "QVLegal.ini").find("é€"), std::string::npos);
}
