// The bundled forms library and catalogue data, checked through the real qvform.
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>

using nlohmann::json;
using qv::test::ProcessRunner;
using qv::test::TempDir;

namespace {

const std::filesystem::path kStage = QV_STAGE_DIR;
const std::filesystem::path kExpected = QV_FORMS_EXPECTED_DIR;

/// The lines of a catalogue data file, line ends removed.
std::vector<std::string> datLines(const std::string& name) {
    std::ifstream in(kStage / name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << name << " lines end CR LF";
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::set<std::string> formCodes() {
    std::set<std::string> codes;
    for (const auto& e : std::filesystem::directory_iterator(kStage / "Tolvad"))
        if (e.path().extension() == ".qvf")
            codes.insert(e.path().stem().string());
    return codes;
}

class FormsLibrary : public ::testing::Test {
protected:
    ProcessRunner::Result qvform(const std::vector<std::string>& args) {
        return ProcessRunner::run(QVFORM_EXE, args,
                                  {{"HOME", home.path().string()},
                                   {"XDG_CONFIG_HOME", (home / ".config").string()},
                                   {"LC_ALL", "C"}});
    }
    TempDir home;
    TempDir out;
};

/// Printable text of a laid-out line: no marker bytes, no trailing blanks.
std::string printable(const std::string& utf8Line) {
    std::string s;
    for (std::size_t i = 0; i < utf8Line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8Line[i]);
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c == 0xC2 && i + 1 < utf8Line.size() &&
                   static_cast<unsigned char>(utf8Line[i + 1]) == 0xA0) {
            s += '~'; // a no-break space is drawn underlined: it counts
            ++i;
        } else if (c >= 0xC0) {
            ++i; // a marker byte, two bytes in UTF-8
        }
    }
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

/// The non-empty lines of an editor print file's text, as `printable` gives a laid-out line:
/// control words dropped, a paragraph mark ending each line, no-break spaces as "~".
std::vector<std::string> printFileLines(const std::string& rtf) {
    const std::size_t begin = rtf.find("\\pard\\deflang1033");
    const std::size_t end = rtf.find("\r\n}{\r\n\\mymargl");
    std::vector<std::string> lines;
    if (begin == std::string::npos || end == std::string::npos)
        return lines;
    std::string line;
    auto finish = [&] {
        line = line.substr(0, line.find_last_not_of(' ') + 1);
        if (!line.empty())
            lines.push_back(line);
        line.clear();
    };
    for (std::size_t i = rtf.find("\r\n", begin) + 2; i < end; ++i) {
        const char c = rtf[i];
        if (c == '\\' && i + 1 < end && std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
            std::size_t j = i + 1;
            while (j < end && rtf[j] != ' ')
                ++j;
            if (rtf.compare(i, j - i, "\\par") == 0)
                finish();
            i = j;
        } else if (c == '\\' && i + 1 < end) {
            line += rtf[++i];
        } else if (static_cast<unsigned char>(c) == 0xA0) {
            line += '~';
        } else if (c != '\r' && c != '\n') {
            line += c;
        }
    }
    finish();
    return lines;
}

/// Lines as one text, each line's blanks (and runs of blanks) as a single space, so that an
/// expected text is found whether or not a line ends inside it.
std::string flowed(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& line : lines)
        for (char c : line + " ")
            if (!(c == ' ' && (all.empty() || all.back() == ' ')))
                all += c;
    return all;
}

/// The texts a form must show when answered with its prompts' examples (one a line), or
/// nothing when the form has no such file.
std::optional<std::vector<std::string>> expectedTexts(const std::string& code) {
    std::ifstream in(kExpected / (code + ".txt"));
    if (!in)
        return std::nullopt;
    std::vector<std::string> texts;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (std::string text = flowed({line}); text.size() > 1)
            texts.push_back(text.substr(0, text.size() - 1)); // without the line's closing blank
    }
    return texts;
}

/// The eleven categories, in the order of the catalogue's buttons and its search list.
const char* const kCategories[11] = {"Family/Personal Records",
                                     "Business Forms",
                                     "Educational Records",
                                     "Health Records",
                                     "Investments/Financial Records",
                                     "Purchase and Maintenance Records",
                                     "Important Names, Dates and Facts",
                                     "Event Planning",
                                     "Travel Data",
                                     "Recreational Activities",
                                     "Special Projects"};

} // namespace

TEST_F(FormsLibrary, EveryCategoryHasFiveFormsAndTheDataFilesAgreeWithTheFormsFolder) {
    const auto items = datLines("Tolvad.Dat");
    const auto descriptions = datLines("Tolvad2.Dat");
    const auto keywords = datLines("Tolvad3.Dat");
    std::vector<std::vector<std::string>> categories;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < items.size() && items[i] != ":END"; ++i) {
        if (items[i].rfind(':', 0) == 0) {
            categories.emplace_back();
            names.push_back(items[i].substr(1));
            ++i; // the line after a header is not read
            continue;
        }
        ASSERT_FALSE(categories.empty());
        ASSERT_GE(items[i].size(), 10u) << items[i];
        EXPECT_LE(items[i].size(), 252u);
        categories.back().push_back(items[i].substr(4, 4));
    }
    EXPECT_EQ(items.back(), ":END");
    ASSERT_EQ(categories.size(), 11u);
    EXPECT_EQ(names, std::vector<std::string>(std::begin(kCategories), std::end(kCategories)));
    std::set<std::string> listed;
    std::size_t forms = 0;
    for (const auto& c : categories) {
        EXPECT_GE(c.size(), 5u) << names[&c - categories.data()];
        for (const auto& code : c)
            EXPECT_TRUE(listed.insert(code).second) << code << " is listed twice";
        forms += c.size();
    }
    EXPECT_GE(forms, 55u);
    EXPECT_EQ(listed, formCodes()) << "every listed code has its template and every template is listed";
    ASSERT_EQ(descriptions.size(), forms);
    for (const auto& d : descriptions) {
        EXPECT_GT(d.size(), 20u);
        EXPECT_LE(d.size(), 253u);
    }
    EXPECT_EQ(keywords.back(), "END");
    std::set<std::string> withKeywords;
    for (std::size_t i = 0; i + 1 < keywords.size(); ++i)
        withKeywords.insert(keywords[i].substr(0, 4));
    EXPECT_EQ(withKeywords, listed);
}

TEST_F(FormsLibrary, EveryFormPassesTheCheckLaysOutAt65AndFillsEndToEndWithItsAmounts) {
    const auto codes = formCodes();
    ASSERT_GE(codes.size(), 55u);
    std::vector<std::string> shownLines;
    for (const auto& code : codes) {
        SCOPED_TRACE(code);
        const std::string form = (kStage / "Tolvad" / (code + ".qvf")).string();
        const auto check = qvform({"check", form});
        EXPECT_EQ(check.exitCode, 0) << check.out;

        // Answered with the examples its prompts give.
        const json model = json::parse(qvform({"inspect", form, "--today", "2027-05-02"}).out);
        json answers = json::array();
        for (std::size_t v = 0; v < model["varNames"].size(); ++v) {
            const std::string prompt = model["varPrompts"][v];
            EXPECT_FALSE(prompt.empty()) << model["varNames"][v];
            const auto at = prompt.find("for example: ");
            if (at != std::string::npos)
                answers.push_back(
                    {model["varNames"][v], prompt.substr(at + 13, prompt.find('\n', at) - at - 13)});
        }
        const auto answersFile = out.write(code + ".json", answers.dump());
        for (bool answered : {false, true}) {
            std::vector<std::string> args{"layout", form, "--today", "2027-05-02"};
            if (answered)
                args.insert(args.end(), {"--answers", answersFile.string()});
            const auto r = qvform(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            const json laidOut = json::parse(r.out);
            for (const auto& line : laidOut["formLines"])
                EXPECT_LE(printable(line).size(), 65u) << printable(line);
            if (answered) {
                shownLines.clear();
                for (const auto& line : laidOut["formLines"])
                    if (!printable(line).empty())
                        shownLines.push_back(printable(line));
            }
        }
        const auto fill =
            qvform({"fill", form, "--today", "2027-05-02", "--answers", answersFile.string(), "--print-file",
                    (out / (code + ".qvp")).string(), "--worksheet", (out / (code + ".qvw")).string(),
                    "--rtf", (out / (code + ".rtf")).string()});
        EXPECT_EQ(fill.exitCode, 0) << fill.err;
        EXPECT_GT(std::filesystem::file_size(out / (code + ".qvp")), 200u);
        // The print file opens in the editor with the lines the form prints with.
        // (An unanswered underlined blank shows as underscores and is written as no-break spaces.)
        auto blanksAlike = [](std::vector<std::string> lines) {
            for (auto& line : lines)
                std::replace(line.begin(), line.end(), '_', '~');
            return lines;
        };
        const auto printed = printFileLines(TempDir::read(out / (code + ".qvp")));
        EXPECT_EQ(blanksAlike(printed), blanksAlike(shownLines));

        // The amounts worked out: every form that calculates has them written down.
        bool calculates = false;
        for (const auto& e : model["equations"])
            calculates = calculates || e.get<std::string>().rfind('C', 0) == 0 ||
                         e.get<std::string>().rfind('T', 0) == 0;
        const auto expected = expectedTexts(code);
        EXPECT_TRUE(expected || !calculates)
            << "a form with calculated fields needs tests/data/forms-expected/" << code << ".txt";
        if (!expected)
            continue;
        EXPECT_FALSE(expected->empty());
        const std::string shown = flowed(shownLines);
        const std::string inPrintFile = flowed(printed);
        for (const auto& text : *expected) {
            EXPECT_NE(shown.find(text), std::string::npos) << text << " is not on the form:\n" << shown;
            EXPECT_NE(inPrintFile.find(text), std::string::npos) << text << " is not in the print file";
        }
    }
}

// A right-justified field's leading blanks may come to the end of a line, its digits on the
// next: the print file must break there as the printed page does, not before the blanks
// ("at      " / "6.50 percent", never "     6.50 percent"). The examples put a form's fields
// wherever they happen to fall, so a small form is tried at every width from 40 to 80, which
// brings its field to the end of a line, and the forms that calculate at a few more widths.
TEST_F(FormsLibrary, PrintFilesBreakTheirLinesAsTheFormAtEveryWidth) {
    const auto source = out.write("rate.qvt", "@form Portrait\n@var RATE\nThe rate, for example: 6.5\n@body\n"
                                              "The borrower shall pay on the whole unpaid sum interest at "
                                              "{=DAB0109}|RATE| percent a year.{para}\n");
    const std::string rateForm = (out / "rate.qvf").string();
    ASSERT_EQ(qvform({"compile", source.string(), rateForm}).exitCode, 0);
    std::vector<std::string> forms{rateForm};
    for (const auto& code : formCodes()) {
        const std::string form = (kStage / "Tolvad" / (code + ".qvf")).string();
        if (!json::parse(qvform({"inspect", form}).out)["equations"].empty())
            forms.push_back(form);
    }
    bool straddled = false;
    for (const auto& form : forms) {
        SCOPED_TRACE(form);
        const json model = json::parse(qvform({"inspect", form, "--today", "2027-05-02"}).out);
        json answers = json::array();
        for (std::size_t v = 0; v < model["varNames"].size(); ++v) {
            const std::string prompt = model["varPrompts"][v];
            const auto at = prompt.find("for example: ");
            if (at != std::string::npos)
                answers.push_back(
                    {model["varNames"][v], prompt.substr(at + 13, prompt.find('\n', at) - at - 13)});
        }
        const auto answersFile = out.write("answers.json", answers.dump());
        std::vector<int> widths{50, 58, 72, 80};
        if (form == rateForm)
            for (int cpl = 40; cpl <= 80; ++cpl)
                widths.push_back(cpl);
        for (int cpl : widths) {
            const std::vector<std::string> common{
                "--today", "2027-05-02", "--answers", answersFile.string(), "--cpl", std::to_string(cpl)};
            std::vector<std::string> layout{"layout", form};
            layout.insert(layout.end(), common.begin(), common.end());
            std::vector<std::string> fill{"fill", form, "--print-file", (out / "w.qvp").string()};
            fill.insert(fill.end(), common.begin(), common.end());
            const auto laid = qvform(layout);
            ASSERT_EQ(laid.exitCode, 0) << laid.err;
            ASSERT_EQ(qvform(fill).exitCode, 0);
            std::vector<std::string> shown;
            const json laidOut = json::parse(laid.out);
            for (const auto& line : laidOut["formLines"])
                if (!printable(line).empty())
                    shown.push_back(printable(line));
            auto printed = printFileLines(TempDir::read(out / "w.qvp"));
            for (auto* lines : {&shown, &printed})
                for (auto& line : *lines)
                    std::replace(line.begin(), line.end(), '_', '~');
            EXPECT_EQ(printed, shown) << "at " << cpl << " characters a line";
            if (form == rateForm)
                for (const auto& line : shown)
                    straddled = straddled || line.rfind("6.50 percent", 0) == 0;
        }
    }
    EXPECT_TRUE(straddled) << "at some width the rate's digits start a line";
}

TEST_F(FormsLibrary, MergeFillsOneDocumentPerRowAndReportsBadRows) {
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    const auto csv = out.write("notes.csv", "NAME,PRINCIPAL,RATE,ADDRESS\r\n"
                                            "\"Roe, Jane\",5000,6,\"12 Elm Court\nApartment 2\"\r\n"
                                            "Thomas Grant,1200,5\r\n"
                                            "\"Sam \"\"The Baker\"\" Lee\",800,4,9 Ocean View\r\n");
    const auto r = qvform({"merge", form, csv.string(), "--out", (out / "notes").string(), "--rtf",
                           "--print-file", "--today", "2027-05-02"});
    EXPECT_EQ(r.exitCode, 1) << "a bad row was reported";
    const json j = json::parse(r.out);
    ASSERT_EQ(j["problems"].size(), 1u);
    EXPECT_EQ(j["problems"][0]["line"], 4) << "the row starts on line 4 (line 2's field holds a line break)";
    EXPECT_EQ(j["written"].size(), 4u);
    const std::string first = TempDir::read(out / "notes" / "P501-0001.rtf");
    EXPECT_NE(first.find("Roe, Jane"), std::string::npos);
    EXPECT_NE(first.find("$5,300.00"), std::string::npos) << "the numeric fields are worked out per row";
    EXPECT_FALSE(std::filesystem::exists(out / "notes" / "P501-0002.rtf"));
    const std::string third = TempDir::read(out / "notes" / "P501-0003.qvp");
    EXPECT_NE(third.find("Sam \"The Baker\" Lee"), std::string::npos);
    EXPECT_EQ(third.find("Roe, Jane"), std::string::npos) << "each row starts from the empty form";

    const auto unknown = out.write("bad.csv", "NAME,SHOE_SIZE\r\nJane,9\r\n");
    const auto refused = qvform({"merge", form, unknown.string(), "--out", (out / "x").string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("SHOE_SIZE"), std::string::npos);

    // A name twice is refused; an amount the form works out is named and not used.
    const auto twice = out.write("twice.csv", "NAME,NAME\r\nJane,Ann\r\n");
    const auto repeated = qvform({"merge", form, twice.string(), "--out", (out / "twice").string()});
    EXPECT_EQ(repeated.exitCode, 1);
    EXPECT_NE(repeated.err.find("column 2 of the header, \"NAME\", repeats column 1"), std::string::npos)
        << repeated.err;
    EXPECT_FALSE(std::filesystem::exists(out / "twice"));
    const auto worked = out.write("worked.csv", "NAME,PRINCIPAL,RATE,INTEREST\r\nJane,1000,5,999\r\n");
    const auto ignored = qvform({"merge", form, worked.string(), "--out", (out / "worked").string()});
    EXPECT_EQ(ignored.exitCode, 0) << ignored.err;
    EXPECT_NE(ignored.err.find("column 4 of the header, \"INTEREST\", names an amount the form works out"),
              std::string::npos)
        << ignored.err;
    EXPECT_NE(TempDir::read(out / "worked" / "P501-0001.qvp").find("$50.00"), std::string::npos);

    // Nothing to write leaves no empty folder behind; a folder that is a file says why.
    const auto headerOnly = out.write("header.csv", "NAME\r\n");
    EXPECT_EQ(qvform({"merge", form, headerOnly.string(), "--out", (out / "none").string()}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(out / "none"));
    const auto file = out.write("afile", "keep");
    const auto oneRow = out.write("one.csv", "NAME\r\nJane\r\n");
    const auto intoFile = qvform({"merge", form, oneRow.string(), "--out", file.string()});
    EXPECT_EQ(intoFile.exitCode, 1);
    EXPECT_NE(intoFile.err.find("P501-0001.qvp: Not a directory"), std::string::npos) << intoFile.err;
    EXPECT_EQ(TempDir::read(file), "keep");
}

TEST_F(FormsLibrary, TheCatalogueReadsTheBundledDataAndFindsFormsByOrdinaryWords) {
    const auto cat = qvform({"catalogue", kStage.string()});
    ASSERT_EQ(cat.exitCode, 0) << cat.err;
    const json j = json::parse(cat.out);
    ASSERT_EQ(j["categories"].size(), 11u);
    for (const auto& c : j["categories"]) {
        EXPECT_GE(c["items"].size(), 5u);
        EXPECT_EQ(c["items"].size(), c["descriptions"].size());
    }
    // Ordinary words for the forms every library keeps, and a code.
    const std::map<std::string, std::string> searches = {
        {"lease", "R101"}, {"loan", "P501"}, {"invoice", "B201"}, {"promissory", "P501"}, {"r101", "R101"}};
    for (const auto& [text, code] : searches) {
        const json found = json::parse(qvform({"search", kStage.string(), text}).out);
        bool hit = false;
        for (const auto& r : found["results"])
            hit = hit || r["item"].get<std::string>().substr(4, 4) == code;
        EXPECT_TRUE(hit) << text << " should find " << code;
    }
    const auto bad = qvform({"catalogue", (out / "nowhere").string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("I'm sorry, but there was an error opening the categories list file"),
              std::string::npos);
}

// Batch filling with several jobs: the same files, messages and report as with one.
class MergeJobs : public FormsLibrary {
protected:
    /// Every file of a folder with its bytes.
    static std::map<std::string, std::string> contents(const std::filesystem::path& dir) {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            files[e.path().filename().string()] = TempDir::read(e.path());
        return files;
    }
    /// A template made from source by the real compiler.
    std::string compiled(const std::string& name, const std::string& source) {
        const auto path = out / (name + ".qvf");
        const auto r = qvform({"compile", out.write(name + ".qvt", source).string(), path.string()});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        return path.string();
    }
    /// merge into out/NAME with the given job count; the folder name is taken out of the
    /// report so that two runs compare.
    ProcessRunner::Result merge(const std::string& form, const std::filesystem::path& csv,
                                const std::string& name, const std::string& jobs,
                                std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"merge",  form, csv.string(), "--out", (out / name).string(),
                                      "--jobs", jobs};
        args.insert(args.end(), extra.begin(), extra.end());
        auto r = qvform(args);
        for (std::string* text : {&r.out, &r.err})
            for (std::size_t at; (at = text->find((out / name).string())) != std::string::npos;)
                text->replace(at, (out / name).string().size(), "DIR");
        return r;
    }
};

TEST_F(MergeJobs, TwoJobsWriteTheSameFilesMessagesAndReportAsOne) {
    // A padded field left blank, a calculation the evaluator refuses (a message each row),
    // numbers that do not read cleanly, and bad rows among hundreds of good ones.
    const std::string form =
        compiled("jobs", "@form Portrait\n@var NAME\nName\n@var CITY\nCity\n"
                         "@var QTY\nQuantity\n@var PRICE\nPrice\n@var TOTAL\nTotal\n@body\n"
                         "{pad 20}|NAME| of |CITY|: {=DAA0311}|QTY| at {=DAB0311}|PRICE| "
                         "is {=CAC0311[AA*AB]}|TOTAL| and {=CAD0311[AA + 1]}|TOTAL|.{para}\n");
    std::string csv = "NAME,CITY,QTY,PRICE\r\n";
    for (int i = 0; i < 300; ++i) {
        if (i % 37 == 5)
            csv += "short row\r\n";
        else if (i % 50 == 7)
            csv += "\"\",Paris,abc,\"1,2,3\"\r\n";
        else
            csv += (i % 3 == 0 ? std::string("\"\"") : "\"Roe " + std::to_string(i) + ", Jane\"") +
                   ",\"Town " + std::to_string(i % 11) + "\n(north)\"," + std::to_string(i % 9) + "," +
                   std::to_string(i) + ".25\r\n";
    }
    csv += "last,\"unclosed\r\n";
    const auto data = out.write("rows.csv", csv);
    const std::vector<std::string> outputs{"--print-file", "--rtf", "--worksheet"};
    const auto one = merge(form, data, "one", "1", outputs);
    const auto two = merge(form, data, "two", "2", outputs);
    EXPECT_EQ(one.exitCode, 1) << "bad rows are reported";
    EXPECT_EQ(two.exitCode, one.exitCode);
    EXPECT_EQ(two.out, one.out);
    EXPECT_EQ(two.err, one.err);
    EXPECT_NE(one.err.find("Bad equation: [AA + 1].  Error on char 2.\n"), std::string::npos);
    const json report = json::parse(one.out);
    EXPECT_EQ(report["problems"].size(), 9u) << report["problems"];
    EXPECT_EQ(report["written"].size(), 3u * (300 - 8));
    const auto oneFiles = contents(out / "one");
    const auto twoFiles = contents(out / "two");
    EXPECT_EQ(oneFiles.size(), report["written"].size());
    EXPECT_TRUE(oneFiles == twoFiles) << "the files differ";
    // Each row starts from the form as loaded: the first and a later row with the same
    // blank name are written alike.
    const auto csv2 = out.write("same.csv", "NAME,CITY\r\n,Paris\r\n,Paris\r\n,Paris\r\n");
    ASSERT_EQ(merge(form, csv2, "same", "1").exitCode, 0);
    const auto same = contents(out / "same");
    ASSERT_EQ(same.size(), 3u);
    EXPECT_EQ(same.at("jobs-0001.qvp"), same.at("jobs-0002.qvp"));
}

TEST_F(MergeJobs, ARowThatCannotBeWrittenStopsTheMergeAtTheSameRowWhateverTheJobs) {
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    std::string csv = "NAME,PRINCIPAL,RATE\r\n";
    for (int i = 0; i < 200; ++i)
        csv += "Name " + std::to_string(i) + ",1000,5\r\n";
    const auto data = out.write("rows.csv", csv);
    for (const char* name : {"one", "two"}) {
        // A folder where the third row's print file should go.
        std::filesystem::create_directories(out / name / "P501-0003.qvp" / "x");
    }
    const auto one = merge(form, data, "one", "1");
    const auto two = merge(form, data, "two", "2");
    EXPECT_EQ(one.exitCode, 1);
    EXPECT_NE(one.err.find("cannot write DIR/P501-0003.qvp"), std::string::npos) << one.err;
    EXPECT_EQ(two.exitCode, one.exitCode);
    EXPECT_EQ(two.err, one.err);
    EXPECT_EQ(two.out, one.out);
    std::set<std::string> oneNames, twoNames;
    for (const auto& [names, dir] : {std::pair{&oneNames, "one"}, std::pair{&twoNames, "two"}})
        for (const auto& e : std::filesystem::directory_iterator(out / dir))
            names->insert(e.path().filename().string());
    EXPECT_EQ(oneNames, (std::set<std::string>{"P501-0001.qvp", "P501-0002.qvp", "P501-0003.qvp"}));
    EXPECT_EQ(twoNames, oneNames) << "the rows after it are not left behind";
}

TEST_F(MergeJobs, AMergeOverAnEarlierOneReplacesItsFilesAndKeepsTheirPermissions) {
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    std::string first = "NAME,PRINCIPAL,RATE\r\n", second = first;
    for (int i = 0; i < 40; ++i) {
        first += "First " + std::to_string(i) + ",1000,5\r\n";
        second += "Second " + std::to_string(i) + ",2500,7\r\n";
    }
    // One more row the second time: its file is new, the others replace the first run's.
    second += "Second 40,2500,7\r\n";
    const auto firstCsv = out.write("first.csv", first);
    const auto secondCsv = out.write("second.csv", second);
    ASSERT_EQ(merge(form, secondCsv, "fresh", "1").exitCode, 0);
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        const std::string name = std::string("again") + jobs;
        ASSERT_EQ(merge(form, firstCsv, name, jobs).exitCode, 0);
        const auto kept = out / name / "P501-0007.qvp";
        std::filesystem::permissions(kept, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
        const auto r = merge(form, secondCsv, name, jobs);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contents(out / name) == contents(out / "fresh")) << "the files differ";
        EXPECT_EQ(std::filesystem::status(kept).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
}

TEST_F(MergeJobs, AJobCountOutsideOneToSixtyFourIsRefusedBeforeAnythingIsWritten) {
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    const auto data = out.write("rows.csv", "NAME\r\nJane\r\n");
    for (const char* jobs : {"0", "-1", "two", "65", "99999999999", "2.5", ""}) {
        SCOPED_TRACE(jobs);
        const auto r = merge(form, data, "refused", jobs);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("--jobs takes a whole number from 1 to 64"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out / "refused"));
    }
    EXPECT_EQ(merge(form, data, "ok", "64").exitCode, 0) << "more jobs than rows";
    EXPECT_TRUE(std::filesystem::exists(out / "ok" / "P501-0001.qvp"));
}

TEST_F(MergeJobs, ProgressIsShownOnATerminalOnly) {
    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is needed for a terminal";
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    std::string csv = "NAME\r\n";
    for (int i = 0; i < 250; ++i)
        csv += "Name " + std::to_string(i) + "\r\n";
    const auto data = out.write("rows.csv", csv);
    const auto piped = merge(form, data, "piped", "2");
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.err, "") << "nothing but messages when standard error is not a terminal";
    // script(1) gives the command a terminal and copies what it shows to its own output.
    const std::string command = "'" + std::string(QVFORM_EXE) + "' merge '" + form + "' '" + data.string() +
                                "' --out '" + (out / "tty").string() + "' --jobs 2 > /dev/null";
    const auto shown = ProcessRunner::run(
        "/usr/bin/script", {"-qec", command, "/dev/null"},
        {{"HOME", home.path().string()}, {"XDG_CONFIG_HOME", (home / ".config").string()}, {"LC_ALL", "C"}});
    EXPECT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_NE(shown.out.find("\r"), std::string::npos) << "redrawn in place";
    EXPECT_NE(shown.out.find("] 250 of 250 rows, "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(" rows a second"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.back(), '\n') << "the line is ended";
    EXPECT_EQ(contents(out / "tty"), contents(out / "piped"));
}

TEST_F(MergeJobs, PdfsDrawnByTwoJobsReadAsThoseOfOne) {
    if (!std::filesystem::exists("/usr/bin/pdftotext"))
        GTEST_SKIP() << "pdftotext is needed to read the PDFs";
    const std::string form = (kStage / "Tolvad" / "P501.qvf").string();
    std::string csv = "NAME,PRINCIPAL,RATE\r\n";
    for (int i = 0; i < 24; ++i)
        csv += "Name " + std::to_string(i) + "," + std::to_string(1000 + 37 * i) + ",5\r\n";
    const auto data = out.write("rows.csv", csv);
    const auto one = merge(form, data, "one", "1", {"--pdf"});
    const auto two = merge(form, data, "two", "2", {"--pdf"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    ASSERT_EQ(two.exitCode, 0) << two.err;
    EXPECT_EQ(two.out, one.out);
    for (int i = 1; i <= 24; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "P501-%04d.pdf", i);
        const auto text = [&](const char* dir) {
            return ProcessRunner::run("/usr/bin/pdftotext", {(out / dir / name).string(), "-"}).out;
        };
        const std::string expected = text("one");
        EXPECT_NE(expected.find("Name " + std::to_string(i - 1)), std::string::npos) << name;
        EXPECT_EQ(text("two"), expected) << name;
    }
}
