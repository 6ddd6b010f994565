#include "formengine/WorksheetFile.h"
#include "formengine/RunFlags.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

WorksheetData sample(std::int32_t version = 1023) {
    WorksheetData d;
    d.version = version;
    d.varNames = {"NAME", "AMOUNT"};
    d.varPrompts = {"Name?\n", "Amount?\n"};
    d.runTexts = {"", "Pay", " ", "John", "", "$5", ""};
    d.occCount = 2;
    d.currentOcc = 1;
    d.occRuns = {3, 5};
    d.occVars = {0, 1};
    d.equations = {"DAA0010"};
    d.runFlags = {0, 0, RUN_SPACE, RUN_VARIABLE, RUN_EQUATION, RUN_VARIABLE, 0};
    d.runValues = {0, 0, 0, 0, 0, 0, 0};
    d.cells.set('A', 'A', 5);
    d.cells.set('Z', 'Z', -0.25);
    d.orientation = 2;
    d.margins = {75, 100, 125, 50};
    return d;
}

std::string le32(std::uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

bool same(const WorksheetData& a, const WorksheetData& b) {
    return a.version == b.version && a.varNames == b.varNames && a.varPrompts == b.varPrompts &&
           a.runTexts == b.runTexts && a.occCount == b.occCount && a.currentOcc == b.currentOcc &&
           a.occRuns == b.occRuns && a.occVars == b.occVars && a.equations == b.equations &&
           a.runFlags == b.runFlags && a.runValues == b.runValues && a.cells == b.cells &&
           (!a.hasPageSettings() || (a.orientation == b.orientation && a.margins == b.margins));
}

} // namespace

TEST(WorksheetFile, LengthPrefixes) {
    EXPECT_EQ(WorksheetFile::lengthPrefix(0), std::string(1, '\0'));
    EXPECT_EQ(WorksheetFile::lengthPrefix(254), "\xFE");
    EXPECT_EQ(WorksheetFile::lengthPrefix(255), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(WorksheetFile::lengthPrefix(300), "\xFF\x2C\x01");
    EXPECT_EQ(WorksheetFile::lengthPrefix(65533), "\xFF\xFD\xFF");
    EXPECT_EQ(WorksheetFile::lengthPrefix(65534), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
    EXPECT_EQ(WorksheetFile::lengthPrefix(70000), std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7));
}

TEST(WorksheetFile, ByteLayoutOfASmallWorksheet) {
    WorksheetData d;
    d.version = 1024;
    d.runTexts = {"", ""};
    d.runFlags = {0, 0};
    d.runValues = {0, 0};
    const std::string bytes = WorksheetFile::encode(d);
    std::string expected = "\x04QVWS" + le32(1024) + le32(0) + le32(0) + le32(2) + std::string(2, '\0') +
                           le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(2) + le32(0) + le32(0) +
                           le32(2) + le32(0) + le32(0) + std::string(676 * 8, '\0');
    EXPECT_EQ(bytes, expected);

    d.version = 1023;
    d.orientation = 2;
    d.margins = {1, 2, 3, 4};
    const std::string withPage = WorksheetFile::encode(d);
    ASSERT_EQ(withPage.size(), bytes.size() + 20);
    EXPECT_EQ(withPage.substr(bytes.size()), le32(2) + le32(1) + le32(2) + le32(3) + le32(4));
}

TEST(WorksheetFile, CellsAreRowMajorLittleEndianDoubles) {
    WorksheetData d = sample();
    d.cells.clear();
    d.cells.set('B', 'C', 1.0); // row 1, column 2
    const std::string bytes = WorksheetFile::encode(d);
    const std::size_t cellsStart = bytes.size() - 20 - 676 * 8;
    EXPECT_EQ(bytes.substr(cellsStart + (26 + 2) * 8, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
}

TEST(WorksheetFile, RoundTripsBothVersions) {
    for (std::int32_t version : {1023, 1024}) {
        WorksheetData d = sample(version);
        d.runTexts[3] = std::string(300, 'x');
        d.runTexts[5] = std::string(70000, '\xA0');
        WorksheetData back;
        ASSERT_EQ(WorksheetFile::decode(WorksheetFile::encode(d), back), WorksheetFile::ReadError::None);
        EXPECT_TRUE(same(d, back)) << version;
    }
}

TEST(WorksheetFile, OlderVersionsReadWithPageSettings) {
    WorksheetData d = sample(1000);
    WorksheetData back;
    ASSERT_EQ(WorksheetFile::decode(WorksheetFile::encode(d), back), WorksheetFile::ReadError::None);
    EXPECT_EQ(back.margins, d.margins);
}

TEST(WorksheetFile, NewerVersionAndWrongMagic) {
    WorksheetData out = sample();
    EXPECT_EQ(WorksheetFile::decode("\x04QVWS" + le32(1025), out), WorksheetFile::ReadError::NewerVersion);
    EXPECT_EQ(WorksheetFile::decode("\x04QVWX" + le32(1024), out), WorksheetFile::ReadError::NotAWorksheet);
    EXPECT_EQ(WorksheetFile::decode("", out), WorksheetFile::ReadError::NotAWorksheet);
    EXPECT_EQ(WorksheetFile::decode("Form      Portrait\r\n", out), WorksheetFile::ReadError::NotAWorksheet);
    EXPECT_TRUE(same(out, sample()));
}

TEST(WorksheetFile, CutShortAtEveryByteIsRefused) {
    const std::string bytes = WorksheetFile::encode(sample());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        WorksheetData out = sample(1024);
        ASSERT_EQ(WorksheetFile::decode(std::string_view(bytes).substr(0, n), out),
                  WorksheetFile::ReadError::NotAWorksheet)
            << "cut at " << n;
        ASSERT_EQ(out.version, 1024) << "output touched when cut at " << n;
    }
}

TEST(WorksheetFile, HugeCountsAreRefusedBeforeAllocating) {
    for (std::uint32_t count : {0x7FFFFFFFu, 0x80000000u, 2000000000u, 0xFFFFFFFFu}) {
        WorksheetData out;
        EXPECT_EQ(WorksheetFile::decode("\x04QVWS" + le32(1024) + le32(count) + "\x01x", out),
                  WorksheetFile::ReadError::NotAWorksheet);
    }
    // A four-byte string length beyond the file.
    WorksheetData out;
    EXPECT_EQ(
        WorksheetFile::decode("\x04QVWS" + le32(1024) + le32(1) + "\xFF\xFF\xFF" + le32(0xFFFFFFF0u), out),
        WorksheetFile::ReadError::NotAWorksheet);
}

TEST(WorksheetFile, ListsThatDoNotFitTogetherAreRefused) {
    struct Case {
        const char* what;
        void (*spoil)(WorksheetData&);
    };
    const Case cases[] = {
        {"occurrence run past the runs", [](WorksheetData& d) { d.occRuns[1] = 7; }},
        {"occurrence on the sentinel", [](WorksheetData& d) { d.occRuns[0] = 0; }},
        {"negative occurrence run", [](WorksheetData& d) { d.occRuns[0] = -1; }},
        {"variable index past the names", [](WorksheetData& d) { d.occVars[1] = 2; }},
        {"current occurrence too large", [](WorksheetData& d) { d.currentOcc = 2; }},
        {"current occurrence negative", [](WorksheetData& d) { d.currentOcc = -1; }},
        {"count larger than the lists", [](WorksheetData& d) { d.occCount = 3; }},
        {"negative count", [](WorksheetData& d) { d.occCount = -1; }},
        {"flags shorter than texts", [](WorksheetData& d) { d.runFlags.pop_back(); }},
        {"values longer than texts", [](WorksheetData& d) { d.runValues.push_back(0); }},
        {"prompts shorter than names", [](WorksheetData& d) { d.varPrompts.pop_back(); }},
        {"equation index past the equations", [](WorksheetData& d) { d.runValues[4] = 1; }},
        {"no runs at all",
         [](WorksheetData& d) {
             d.runTexts.clear();
             d.runFlags.clear();
             d.runValues.clear();
             d.occCount = 0;
             d.occRuns.clear();
             d.occVars.clear();
             d.currentOcc = 0;
         }},
    };
    for (const auto& c : cases) {
        WorksheetData d = sample();
        c.spoil(d);
        WorksheetData out;
        EXPECT_EQ(WorksheetFile::decode(WorksheetFile::encode(d), out),
                  WorksheetFile::ReadError::NotAWorksheet)
            << c.what;
    }
}
