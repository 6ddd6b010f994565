#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

class Worksheets : public qv::test::DocFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadTemplate(TemplateBuilder()
                                     .header("Form      Landscape")
                                     .declare("NAME", "Name?")
                                     .declare("PRICE", "Price?")
                                     .body("\xE4Sold to \xB5|NAME|\xB5 for \xF1"
                                           "DAB0010|PRICE|.\xAE")
                                     .bytes()));
        doc.StoreAnswer(0, "Jane \x93Q\x94 Roe");
        doc.StoreAnswer(1, "12.5");
        state.currentOcc = 1;
        state.page.margins = {75, 100, 125, 50};
    }

    struct Snapshot {
        std::vector<std::string> runTexts, varNames, varPrompts, equations;
        std::vector<std::int32_t> occRuns, occVars, runValues;
        std::vector<std::uint32_t> runFlags;
        int occCount, currentOcc;
        CellTable cells;
        PageSetup page;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const {
        return {state.runTexts, state.varNames,   state.varPrompts, state.equations,
                state.occRuns,  state.occVars,    doc.runValues,    doc.runFlags,
                state.occCount, state.currentOcc, state.cellTable,  state.page};
    }
};

} // namespace

TEST_F(Worksheets, WriteAndReadBackGivesTheSameDocument) {
    const Snapshot before = snapshot();
    const std::string path = (dir / "sale.qvw").string();
    ASSERT_TRUE(doc.WriteWorksheet(path));

    ASSERT_TRUE(doc.OnNewDocument());
    state.page = PageSetup{};
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(state.page.orientation, 2);
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "sale.qvw");
    EXPECT_EQ(host.recentFiles.back(), path);
    EXPECT_TRUE(state.valueDirty && state.promptDirty && state.focusRequest);
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(Worksheets, WithoutPrinterSettingsTheVersionIs1024AndReadsAsPortrait) {
    state.page.hasPrinterSettings = false;
    const std::string path = (dir / "plain.QVW").string();
    ASSERT_TRUE(doc.WriteWorksheet(path));
    const std::string bytes = qv::test::TempDir::read(path);
    EXPECT_EQ(bytes.substr(5, 4), std::string("\x00\x04\x00\x00", 4));

    state.page.hasPrinterSettings = true;
    state.page.orientation = 2;
    ASSERT_TRUE(doc.OnOpenDocument(path)); // ".QVW" in capitals is a worksheet too
    EXPECT_EQ(state.page.orientation, 1);
    EXPECT_EQ(state.page.margins, (std::array<int, 4>{100, 100, 100, 100}));
}

TEST_F(Worksheets, RefusalsLeaveTheDocumentUnchanged) {
    const Snapshot before = snapshot();
    const std::string good = doc.worksheetBytes();
    struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"template bytes", "Form\r\n:X\r\n\x15\r\n|X|",
         "I'm sorry, but this file is not an Q-V Davov Worksheet"},
        {"cut short", good.substr(0, good.size() / 2),
         "I'm sorry, but this file is not an Q-V Davov Worksheet"},
        {"newer", std::string("\x04QVWS\x01\x04\x00\x00", 9),
         "I'm sorry, but this is an Q-V Davov Worksheet made for a new version of Q-V Davov Forms"},
    };
    for (const auto& c : cases) {
        messages.clear();
        EXPECT_FALSE(doc.OnOpenDocument(dir.write("bad.qvw", c.bytes).string())) << c.what;
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(snapshot(), before) << c.what;
    }
    messages.clear();
    EXPECT_FALSE(doc.OnOpenDocument((dir / "missing.qvw").string()));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"There was an error opening the file"});
}

TEST_F(Worksheets, SaveAsksForANameFirstThenWritesStraightBack) {
    doc.SetPathName("*", false);
    host.nextSavePath.reset();
    EXPECT_FALSE(doc.SaveWorksheet());
    EXPECT_EQ(host.saveDialogs, 1);

    const std::string path = (dir / "named.qvw").string();
    host.nextSavePath = path;
    ASSERT_TRUE(doc.SaveWorksheet());
    EXPECT_EQ(host.saveDialogs, 2);
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_TRUE(host.recentFiles.empty() || host.recentFiles.back() != path);

    doc.StoreAnswer(0, "Changed");
    ASSERT_TRUE(doc.SaveWorksheet());
    EXPECT_EQ(host.saveDialogs, 2);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(answer(0), "Changed");
}

TEST_F(Worksheets, FailedSaveKeepsTheOldFileAndSaysWhy) {
    const std::string path = (dir / "keep.qvw").string();
    ASSERT_TRUE(doc.WriteWorksheet(path));
    const std::string old = qv::test::TempDir::read(path);

    EXPECT_FALSE(doc.WriteWorksheet((dir / "no-such-folder" / "x.qvw").string()));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Fatal Error -- File Error Code: #3"});

    // The disk fills up half-way through the write (a file size limit stands in for it):
    // the old worksheet stays whole and the message names the full disk.
    messages.clear();
    doc.StoreAnswer(0, "A different answer");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = doc.WriteWorksheet(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Fatal Error -- File Error Code: #13"});
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".keep.qvw.", 0), std::string::npos)
            << "temporary file left";
    EXPECT_EQ(qv::test::TempDir::read(path), old);
}

TEST_F(Worksheets, WorksheetFromATemplateLoadsWithoutIt) {
    const std::string path = (dir / "alone.qvw").string();
    ASSERT_TRUE(doc.WriteWorksheet(path));
    std::filesystem::remove(dir / "form.qvf");
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(answer(0), "Jane \x93Q\x94 Roe");
    EXPECT_EQ(state.cellTable.get('A', 'B'), 12.5);
    EXPECT_EQ(state.currentOcc, 1);
}
