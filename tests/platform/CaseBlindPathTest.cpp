#include "platform/CaseBlindPath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using qv::platform::CaseBlindPath;
using qv::test::TempDir;

namespace {

class CaseBlind : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("Program Files/Q-V/TOLVAD/PR01.QVF", "form");
        dir.write("Program Files/Q-V/TOLVAD.DAT", "data");
        for (const char* name : {"readme", "Readme", "README"})
            dir.write(std::string("Both/") + name, name);
        // A file and a folder differing only in case: only the folder leads on.
        dir.write("Mixed/data", "file");
        dir.write("Mixed/DATA/x", "inside");
    }
    TempDir dir;
};

} // namespace

TEST_F(CaseBlind, ResolvesEachComponentWithTheExactNameFirst) {
    struct Row {
        const char* asked;
        const char* found; // nullptr: the path comes back as asked
    };
    const Row rows[] = {
        {"Program Files/Q-V/TOLVAD/PR01.QVF", "Program Files/Q-V/TOLVAD/PR01.QVF"},
        {"Program Files/Q-V/Tolvad/PR01.qvf", "Program Files/Q-V/TOLVAD/PR01.QVF"},
        {"program files/q-v/tolvad/pr01.qvf", "Program Files/Q-V/TOLVAD/PR01.QVF"},
        {"PROGRAM FILES/Q-V/Tolvad.Dat", "Program Files/Q-V/TOLVAD.DAT"},
        {"Program Files/Q-V/Tolvad/PR02.qvf", nullptr},
        {"Nowhere/PR01.QVF", nullptr},
        {"Program Files/Q-V/Tolvad.Dat/PR01.QVF", nullptr}, // a file leads nowhere
        {"Both/Readme", "Both/Readme"},
        {"Both/ReadMe", "Both/README"}, // several: the first in sorted order
        {"mixed/Data/x", "Mixed/DATA/x"},
        {"program files/q-v/tolvad/", "Program Files/Q-V/TOLVAD/"},
        {"Program Files/./q-v/../Q-V/tolvad.dat", "Program Files/./Q-V/../Q-V/TOLVAD.DAT"},
    };
    for (const auto& row : rows) {
        const auto asked = dir.path() / row.asked;
        const auto expected = row.found ? dir.path() / row.found : asked;
        EXPECT_EQ(CaseBlindPath::Resolve(asked).string(), expected.string()) << row.asked;
    }
    EXPECT_EQ(CaseBlindPath::Resolve(""), std::filesystem::path());
}

TEST_F(CaseBlind, ARelativePathStaysRelative) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto found = CaseBlindPath::Resolve("program files/q-v/tolvad/pr01.qvf");
    const auto missing = CaseBlindPath::Resolve("program files/q-v/none.qvf");
    std::filesystem::current_path(before);
    EXPECT_EQ(found.string(), "Program Files/Q-V/TOLVAD/PR01.QVF");
    EXPECT_EQ(missing.string(), "program files/q-v/none.qvf");
}

TEST_F(CaseBlind, MatchesPutTheExactNameFirst) {
    const auto both = dir.path() / "Both";
    EXPECT_EQ(CaseBlindPath::Matches(both, "readme"),
              (std::vector<std::filesystem::path>{both / "readme", both / "README", both / "Readme"}));
    EXPECT_EQ(CaseBlindPath::Matches(both, "ReadMe"),
              (std::vector<std::filesystem::path>{both / "README", both / "Readme", both / "readme"}));
    EXPECT_TRUE(CaseBlindPath::Matches(both, "read").empty());
    EXPECT_TRUE(CaseBlindPath::Matches(dir.path() / "none", "x").empty());
    EXPECT_TRUE(CaseBlindPath::SameName("QVLegal.Exe", "qvlegal.EXE"));
    EXPECT_FALSE(CaseBlindPath::SameName("QVLegal.Exe", "QVLegal.Ex"));
    EXPECT_FALSE(CaseBlindPath::SameName("\xC9t\xE9", "\xE9t\xE9")) << "ASCII letters only";
}
