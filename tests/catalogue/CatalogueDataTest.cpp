#include "catalogue/CatalogueData.h"
#include "catalogue/KeywordSearch.h"
#include "catalogue/KeywordSuggestions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using qv::catalogue::CatalogueData;
using qv::catalogue::KeywordSearch;
using qv::catalogue::KeywordSuggestions;
using qv::test::TempDir;

namespace {

/// Three data files from lines (each written with CR LF unless `lastWithoutEnd`).
class Catalogue : public ::testing::Test {
protected:
    void files(const std::vector<std::string>& list, const std::vector<std::string>& descriptions,
               const std::vector<std::string>& keywords, bool lastWithoutEnd = false) {
        const auto join = [&](const std::vector<std::string>& lines, bool cut) {
            std::string s;
            for (std::size_t i = 0; i < lines.size(); ++i)
                s += lines[i] + (cut && i + 1 == lines.size() ? "" : "\r\n");
            return s;
        };
        dir.write("Tolvad.Dat", join(list, lastWithoutEnd));
        dir.write("Tolvad2.Dat", join(descriptions, false));
        dir.write("Tolvad3.Dat", join(keywords, false));
    }
    CatalogueData load() {
        CatalogueData data;
        std::string message;
        EXPECT_TRUE(data.Load(dir.path(), message)) << message;
        return data;
    }
    std::vector<std::string> codes(const CatalogueData& d, int c) {
        std::vector<std::string> out;
        for (const auto& item : d.categories()[c].items)
            out.push_back(CatalogueData::CodeOf(item));
        return out;
    }
    std::vector<std::string> found(const CatalogueData& d, const std::string& text, int lookIn = 0) {
        std::vector<std::string> out;
        for (const auto& r : KeywordSearch::Find(d, text, lookIn))
            out.push_back(std::to_string(r.category) + ":" + CatalogueData::CodeOf(r.item));
        return out;
    }
    TempDir dir;
};

} // namespace

TEST_F(Catalogue, TheExampleOfTheFormat) {
    files(
        {":first category", "this line is ignored", "....A101 Title of form A101",
         "....A102 Title of form A102", ":second category", "this line is ignored",
         "....B101 Title of form B101", ":END"},
        {"....Description of form A101", "....Description of form A102", "....Description of form B101"},
        {"A101 keywords for form A101", "A102 keywords for form A102", "B101 keywords for form B101", "END"});
    const auto d = load();
    EXPECT_EQ(d.categories()[0].items,
              (std::vector<std::string>{"....A101    Title of form A101", "....A102    Title of form A102"}));
    EXPECT_EQ(CatalogueData::TitleOf(d.categories()[0].items[1]), "Title of form A102");
    EXPECT_EQ(d.categories()[0].descriptions[0], "Description of form A101");
    EXPECT_EQ(codes(d, 1), std::vector<std::string>{"B101"});
    for (int c = 2; c < 11; ++c)
        EXPECT_TRUE(d.categories()[c].items.empty());
    EXPECT_EQ(d.keywordLines().size(), 3u);
}

// The files' bytes read without the files give the same catalogue, CR LF and all.
TEST_F(Catalogue, BytesReadAsTheFilesAre) {
    const std::string list = ":one\r\nignored\r\n....A101 Lease\r\n....A102 Loan\n:END\r\n";
    const std::string descriptions = "....d1\r\n....d2\r\n";
    const std::string keywords = "A101 lease\r\nA102 loan\r\nEND\r\nZ999 never\r\n";
    dir.write("Tolvad.Dat", list);
    dir.write("Tolvad2.Dat", descriptions);
    dir.write("Tolvad3.Dat", keywords);
    const auto loaded = load();
    CatalogueData parsed;
    parsed.Parse(list, descriptions, keywords);
    for (int c = 0; c < CatalogueData::kCategories; ++c) {
        EXPECT_EQ(parsed.categories()[c].items, loaded.categories()[c].items);
        EXPECT_EQ(parsed.categories()[c].descriptions, loaded.categories()[c].descriptions);
    }
    EXPECT_EQ(codes(parsed, 0), (std::vector<std::string>{"A101", "A102"}));
    EXPECT_EQ(parsed.keywordLines(), (std::vector<std::string>{"A101 lease", "A102 loan"}));
    EXPECT_EQ(found(parsed, "LOAN"), std::vector<std::string>{"0:A102"});
}

TEST_F(Catalogue, HeadersMarkersAndShortFilesAsTheReaderSeesThem) {
    files({":one", ":two (the ignored line, not a header)", "....A101 a", ":three", "ignored", ":four",
           "ignored", ":end", "ignored", "....B101 b", ":END ", "ignored", "....C101 c", ":END",
           "....Z999 never read"},
          {"....d1", "....d2"}, {"A101 x", "END", "Z999 never read"});
    const auto d = load();
    EXPECT_EQ(codes(d, 0), std::vector<std::string>{"A101"});
    EXPECT_TRUE(d.categories()[1].items.empty())
        << "a header followed by its ignored line and another header";
    EXPECT_TRUE(d.categories()[2].items.empty());
    EXPECT_EQ(codes(d, 3), std::vector<std::string>{"B101"}) << "\":end\" is a header";
    EXPECT_EQ(codes(d, 4), std::vector<std::string>{"C101"}) << "\":END \" is a header";
    // A short description file gives empty descriptions.
    EXPECT_EQ(d.categories()[4].descriptions, std::vector<std::string>{""});
    EXPECT_EQ(d.categories()[3].descriptions, std::vector<std::string>{"d2"});
    EXPECT_EQ(d.keywordLines(), std::vector<std::string>{"A101 x"});
}

TEST_F(Catalogue, FilesEndingBeforeTheirEndMarkersEndTheReadingCleanly) {
    files({":one", "ignored", "....A101 a"}, {"....d"}, {"A101 x", "A102 y"});
    auto d = load();
    EXPECT_EQ(codes(d, 0), std::vector<std::string>{"A101"});
    EXPECT_EQ(d.keywordLines().size(), 2u);
    // ":END" on the ignored line ends the file only when it is the last line, without its line end.
    files({":one", ":END"}, {}, {"END"}, true);
    d = load();
    EXPECT_TRUE(d.categories()[0].items.empty());
    files({":one", "ignored", "....A101 " + std::string(300, 'x'), ":END"}, {"....d"}, {"END"});
    d = load();
    EXPECT_EQ(d.categories()[0].items.size(), 2u) << "a line longer than 253 characters reads as two";
}

TEST_F(Catalogue, MissingFilesGiveTheirMessagesAndNamesMatchWithoutCase) {
    CatalogueData d;
    std::string message;
    EXPECT_FALSE(d.Load(dir.path(), message));
    EXPECT_EQ(message, "I'm sorry, but there was an error opening the categories list file");
    dir.write("TOLVAD.DAT", ":a\r\nx\r\n....A101 t\r\n:END\r\n");
    EXPECT_FALSE(d.Load(dir.path(), message));
    EXPECT_EQ(message, "I'm sorry, but there was an error opening the categories description file");
    dir.write("tolvad2.dat", "....d\r\n");
    EXPECT_FALSE(d.Load(dir.path(), message));
    EXPECT_EQ(message, "Couldn't open the keyword search data file");
    dir.write("Tolvad3.DAT", "A101 word\r\nEND\r\n");
    EXPECT_TRUE(d.Load(dir.path(), message));
    EXPECT_EQ(d.categories()[0].descriptions, std::vector<std::string>{"d"});
    // A damaged disk's file of a megabyte of line ends is not read into millions of items.
    dir.write("TOLVAD.DAT", ":a\r\nx\r\n" + std::string(1u << 20, '\n'));
    EXPECT_FALSE(d.Load(dir.path(), message));
    EXPECT_EQ(message, "I'm sorry, but there was an error opening the categories list file");
}

TEST_F(Catalogue, KeywordSearchRules) {
    files({":c0", "", "....A101 Lease", "....A102 Loan", ":c1", "", "....A101 Lease again",
           "....B101 No keywords", "....b201 Lower code", ":END"},
          {"....d1", "....d2", "....d3", "....d4", "....d5"},
          {"A101 lease rental", "a102 lower-case code line", "A102 loan money", "A102 second line never read",
           "b201 small", "END"});
    const auto d = load();
    EXPECT_EQ(found(d, "a101"), (std::vector<std::string>{"0:A101", "1:A101"})) << "a form in two categories";
    EXPECT_EQ(found(d, "lower-case"), std::vector<std::string>{}) << "the code is compared with case";
    EXPECT_EQ(found(d, "never"), std::vector<std::string>{}) << "only the first line of a code";
    EXPECT_EQ(found(d, "01 LEA"), (std::vector<std::string>{"0:A101", "1:A101"}))
        << "the whole line is searched";
    EXPECT_EQ(found(d, "No keywords"), std::vector<std::string>{});
    EXPECT_EQ(found(d, "lease", 2), std::vector<std::string>{"1:A101"}) << "look in one category";
    EXPECT_EQ(found(d, ""), (std::vector<std::string>{"0:A101", "0:A102", "1:A101", "1:b201"}));
    EXPECT_EQ(found(d, "lease", 12), std::vector<std::string>{});
    const auto r = KeywordSearch::Find(d, "loan", 0);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].description, "d2");
    EXPECT_EQ(KeywordSearch::Upper("caf\xE9 \xFF \x9C"), "CAF\xC9 \x9F \x8C");
}

TEST(KeywordSuggestions, FiveHundredFiftyNineWithSixTwice) {
    const auto& all = KeywordSuggestions::All();
    EXPECT_EQ(all.size(), 559u);
    std::map<std::string, int> count;
    for (const auto& w : all)
        ++count[w];
    std::vector<std::string> twice;
    for (const auto& [w, n] : count)
        if (n == 2)
            twice.push_back(w);
    EXPECT_EQ(twice, (std::vector<std::string>{"C302", "H601", "P902", "boat", "guide", "special"}));
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const std::string& w) {
                                return w.size() == 4 && std::isupper(static_cast<unsigned char>(w[0])) &&
                                       std::isdigit(static_cast<unsigned char>(w[1]));
                            }),
              201);
}

#include "catalogue/FormLauncher.h"
#include "platform/PrivateProfile.h"
#include "support/StubProgram.h"

using qv::catalogue::FormLauncher;
using qv::test::StubProgram;

namespace {

class Launching : public ::testing::Test {
protected:
    void SetUp() override {
        StubProgram::install(folder, "QVLEGAL.EXE");
        StubProgram::install(folder, "QVEDIT.EXE");
    }
    std::string entry() {
        return qv::platform::PrivateProfile::ReadPrivateValue("Binding Data", "Run", "?", 255, "QVLEGAL.INI");
    }
    qv::test::TempHome home;
    TempDir programs;
    std::filesystem::path folder = programs / "Q V Davov";
    FormLauncher launcher{(folder / "").string()};
};

} // namespace

TEST_F(Launching, AFormStartsTheVariableEntryProgramAndLeavesTheRelaunchCommand) {
    const std::string item = "    RE01    Residential Lease";
    EXPECT_EQ(launcher.FormCommandLine(item), (folder / "QVLegal.Exe ").string() +
                                                  (folder / "Tolvad" / "RE01.qvf").string() +
                                                  "?Residential Lease");
    launcher.OpenForm(item);
    EXPECT_EQ(StubProgram::lines(folder),
              std::vector<std::string>{"QVLEGAL.EXE\t" + (folder / "Tolvad" / "RE01.qvf").string() +
                                       "?Residential Lease"});
    EXPECT_EQ(entry(), (folder / "Tolvad.exe").string() + " /New");
}

TEST_F(Launching, SavedDocumentsByTheirEndingInAnyCase) {
    EXPECT_TRUE(launcher.OpenSavedDocument("/home/jane/My Forms/Lease.QVP"));
    EXPECT_EQ(entry(), (folder / "Tolvad.exe").string()) << "without /New";
    EXPECT_TRUE(launcher.OpenSavedDocument("/home/jane/My Forms/Lease.qvw"));
    EXPECT_EQ(StubProgram::lines(folder, 2),
              (std::vector<std::string>{"QVEDIT.EXE\t/home/jane/My Forms/Lease.QVP",
                                        "QVLEGAL.EXE\t/home/jane/My Forms/Lease.qvw"}));
    qv::platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", "", "QVLEGAL.INI");
    EXPECT_FALSE(launcher.OpenSavedDocument("/home/jane/notes.txt"));
    EXPECT_EQ(entry(), "") << "nothing written for other files";
}
