#include "formengine/DocumentOpener.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

using namespace qv;

namespace {
class Opener : public qv::test::DocFixture {
protected:
    std::string form() {
        return dir.write("promnote.qvf", qv::test::TemplateBuilder::simple({"X"}, "|X|")).string();
    }
};
} // namespace

TEST(DocumentOpenerSplit, SplitsAtTheFirstQuestionMark) {
    auto a = DocumentOpener::split("/forms/ab.qvf?Promissory Note");
    EXPECT_EQ(a.path, "/forms/ab.qvf");
    EXPECT_EQ(a.title, "Promissory Note");
    auto b = DocumentOpener::split("/forms/ab.qvf?What? Really?");
    EXPECT_EQ(b.title, "What? Really?");
    auto c = DocumentOpener::split("/forms/ab.qvf");
    EXPECT_EQ(c.path, "/forms/ab.qvf");
    EXPECT_FALSE(c.title.has_value());
    EXPECT_EQ(DocumentOpener::split("x?").title, "");
}

TEST_F(Opener, TemplateWithTitleIsNewAndHasNoWorksheetName) {
    ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, form() + "?Promissory Note"));
    EXPECT_EQ(doc.GetTitle(), "New - Promissory Note");
    EXPECT_EQ(doc.GetPathName(), "*");
    EXPECT_FALSE(doc.HasWorksheetName());
}

TEST_F(Opener, TemplateWithoutTitleIsNamedAfterItsFile) {
    ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, form()));
    EXPECT_EQ(doc.GetTitle(), "Template:promnote.qvf");
    EXPECT_EQ(doc.GetPathName(), "*");
}

TEST_F(Opener, WorksheetKeepsItsPathSoSaveWritesBack) {
    ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, form()));
    const std::string path = (dir / "Saved.QvW").string();
    ASSERT_TRUE(doc.WriteWorksheet(path));
    ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, path + "?ignored title"));
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "Saved.QvW");
    EXPECT_TRUE(doc.HasWorksheetName());
    EXPECT_TRUE(doc.SaveWorksheet());
    EXPECT_EQ(host.saveDialogs, 0);
}

TEST_F(Opener, SlashNewIsJustAPathThatFails) {
    EXPECT_FALSE(DocumentOpener::OpenDocumentFile(doc, "/New"));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"There was an error opening the file."});
    EXPECT_EQ(doc.GetTitle(), "(No template loaded)");
}

TEST_F(Opener, NamesInAnotherCaseFindTheFileAndAWorksheetSavesUnderItsRealName) {
    dir.write("TOLVAD/PR01.QVF", qv::test::TemplateBuilder::simple({"X"}, "|X|"));
    ASSERT_TRUE(
        DocumentOpener::OpenDocumentFile(doc, (dir / "Tolvad" / "PR01.qvf").string() + "?Promissory Note"));
    EXPECT_EQ(doc.GetTitle(), "New - Promissory Note");
    EXPECT_TRUE(messages.texts().empty());

    const std::string saved = (dir / "Note.QVW").string();
    ASSERT_TRUE(doc.WriteWorksheet(saved));
    ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, (dir / "note.qvw").string()));
    EXPECT_EQ(doc.GetPathName(), saved) << "Save writes back to the file that was opened";
    EXPECT_EQ(doc.GetTitle(), "Note.QVW");
}
