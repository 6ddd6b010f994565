#include "platform/FontAlias.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using qv::platform::FontAlias;
using qv::test::ProcessRunner;
using qv::test::TempDir;

namespace {

// The face fontconfig gives a family name, as every program on the desktop gets it.
std::string matched(const std::string& family) {
    return ProcessRunner::run("/usr/bin/fc-match", {"--format=%{family[0]}", family}).out;
}

} // namespace

TEST(FontAlias, InstalledForTheUserPrintFilesFaceIsACourierMetricOne) {
    if (!std::filesystem::exists("/usr/bin/fc-match"))
        GTEST_SKIP() << "fontconfig's tools are not installed";
    qv::test::TempHome home;
    const auto path = home.configHome() / "fontconfig" / "conf.d" / "20-q-v-davov-courier.conf";
    EXPECT_EQ(FontAlias::UserPath(), path);

    ASSERT_TRUE(FontAlias::Install());
    EXPECT_EQ(TempDir::read(path), std::string(FontAlias::Text()));
    EXPECT_EQ(matched(FontAlias::kFaceName), FontAlias::kSubstitute);
    ASSERT_TRUE(FontAlias::Install()) << "installing again replaces the file";
    EXPECT_EQ(TempDir::read(path), std::string(FontAlias::Text()));

    ASSERT_TRUE(FontAlias::Remove());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(FontAlias::Remove()) << "nothing to remove is no failure";
}
