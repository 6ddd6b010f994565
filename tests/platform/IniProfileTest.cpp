#include "platform/IniProfile.h"
#include "platform/ConfigPaths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using qv::platform::ConfigPaths;
using qv::platform::IniProfile;
using qv::test::TempDir;
using qv::test::TempHome;

TEST(IniProfile, MissingFileGivesDefaultsAndFirstWriteCreatesFolders) {
    TempDir dir;
    IniProfile p(dir / "a" / "b" / "QVLegal.ini");
    EXPECT_EQ(p.GetProfileString("VarSection 0", "Var 0", "dflt"), "dflt");
    EXPECT_EQ(p.GetProfileInt("Variable Sets", "Default", 0), 0);
    ASSERT_TRUE(p.WriteProfileInt("Variable Sets", "Default", 2));
    EXPECT_EQ(p.GetProfileInt("Variable Sets", "Default", 0), 2);
}

TEST(IniProfile, TwoObjectsOnOneFileSeeEachOthersWrites) {
    TempDir dir;
    IniProfile a(dir / "QVLEGAL.INI"), b(dir / "QVLEGAL.INI");
    a.WriteProfileString("Binding Data", "Run", "/opt/qv/TOLVAD.EXE /New");
    EXPECT_EQ(b.GetProfileString("Binding Data", "Run"), "/opt/qv/TOLVAD.EXE /New");
    b.WriteProfileString("Binding Data", "Run", "");
    EXPECT_EQ(a.GetProfileString("Binding Data", "Run", "x"), "");
}

TEST(IniProfile, IntegersReadLikeTheOriginal) {
    TempDir dir;
    IniProfile p(dir / "s.ini");
    p.WriteProfileString("S", "lead", "12abc");
    p.WriteProfileString("S", "word", "abc");
    p.WriteProfileString("S", "neg", "-3");
    EXPECT_EQ(p.GetProfileInt("S", "lead", 7), 12);
    EXPECT_EQ(p.GetProfileInt("S", "word", 7), 0);
    EXPECT_EQ(p.GetProfileInt("S", "neg", 7), -3);
}

// A writer killed half-way must never leave a damaged settings file.
TEST(IniProfile, KilledWriterLeavesAWholeFile) {
    TempDir dir;
    const auto file = dir / "QVLegal.ini";
    IniProfile p(file);
    const std::string big(200000, 'v');
    p.WriteProfileString("S", "value", "first");
    for (int attempt = 0; attempt < 20; ++attempt) {
        pid_t child = ::fork();
        if (child == 0) {
            IniProfile q(file);
            for (;;)
                q.WriteProfileString("S", "value", big);
        }
        ::usleep(2000 + 500 * attempt);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string v = p.GetProfileString("S", "value");
        ASSERT_TRUE(v == "first" || v == big) << "damaged value of size " << v.size();
    }
}

TEST(ConfigPaths, FollowTheXdgFolders) {
    TempHome home;
    EXPECT_EQ(ConfigPaths::applicationSettings("QVLegal"),
              home.configHome() / "Q-V Davov Software" / "QVLegal.ini");
    EXPECT_EQ(ConfigPaths::windowsFolder(), home.configHome() / "Q-V Davov Software" / "Windows");
    ::setenv("XDG_CONFIG_HOME", "relative/not/allowed", 1);
    EXPECT_EQ(ConfigPaths::configHome(), home.home() / ".config");
}
