// Editions as CSV: the shipped samples come back byte for byte through CSV and the edition
// writer, awkward texts survive the quoting, and a wrong table is refused at its line and column.
#include "catalog/edition_csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalog/csv.h"
#include "catalog/edition_file.h"
#include "support/temp_dir.h"

namespace {

std::string samplePath(const char* name) {
    return std::string(TESSARAN_SOURCE_DIR) + "/data/" + name;
}

// The CSV of Sample A with one change made to its records.
template <typename Change>
std::string changedSampleCsv(Change change) {
    EditionPtr edition = readEdition(samplePath("cat1.dat").c_str());
    CsvText csv = readCsv(editionToCsv(*edition));
    change(csv.records);
    std::string text;
    for (const CsvRecord& record : csv.records) text += csvRecord(record.fields);
    return text;
}

}  // namespace

TEST(EditionCsv, ShippedSamplesComeBackByteForByte) {
    TempDir dir;
    for (const char* name : {"cat1.dat", "cat2.dat", "cat3.dat"}) {
        SCOPED_TRACE(name);
        EditionPtr edition = readEdition(samplePath(name).c_str());
        ASSERT_TRUE(edition);
        EditionFromCsv back = editionFromCsv(editionToCsv(*edition));
        ASSERT_TRUE(back.edition) << back.problem;
        ASSERT_TRUE(writeEdition(dir.path(name).c_str(), *back.edition));
        EXPECT_EQ(readWholeFile(dir.path(name)), readWholeFile(samplePath(name)));
    }
}

TEST(EditionCsv, QuotesCommasBlanksAndWesternBytesSurviveTheQuoting) {
    EditionPtr edition = readEdition(samplePath("cat1.dat").c_str());
    edition->name = " \"Tessaran\", 2nd ed. ";
    AncientStar& star = edition->constellations[5].stars[2];
    star.description = "  on the \"crown\", 3\xBA east,";
    std::strcpy(star.designation, "a,\"b\"");
    star.latSouth = 1;
    star.magnitude = 0.5f;
    EditionFromCsv back = editionFromCsv(editionToCsv(*edition));
    ASSERT_TRUE(back.edition) << back.problem;
    const AncientStar& read = back.edition->constellations[5].stars[2];
    EXPECT_EQ(back.edition->name, edition->name);
    EXPECT_EQ(read.description, star.description);
    EXPECT_STREQ(read.designation, star.designation);
    EXPECT_EQ(read.latSouth, 1);
    EXPECT_EQ(read.magnitude, 0.5f);
}

TEST(EditionCsv, EachFieldTakesWhatItsColumnsHoldAndNoMore) {
    // Values put into the first star of Ursa Minor (line 2), accepted or refused, one column a line.
    struct Case {
        int column;
        std::string text;
        bool accepted;
    } cases[] = {
        {3, "9999", true}, {3, "-999", true}, {3, "10000", false}, {3, "-1000", false},
        {3, "12a", false},
        {4, "99", true}, {4, "100", false},
        {5, "999", true}, {5, "0", true}, {5, "-1", false}, {5, "1000", false}, {5, "6x", false},
        {6, "99", true}, {6, "-9", true}, {6, "-10", false},
        {7, "-", true}, {7, "", true}, {7, "N", false},
        {8, "99", true}, {8, "100", false},
        {9, "-9", true}, {9, "1.5", false},
        {10, "6.5", true}, {10, ".25", true}, {10, "4.55", false}, {10, "12.5", false},
        {10, "bright", false}, {10, "", false},
        {11, "", true}, {11, "-999", true}, {11, "10000", false},
        {12, "twelve chars", true}, {12, "thirteen char", false},
        {13, std::string(463, 'x'), true}, {13, std::string(464, 'x'), false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " " + c.text.substr(0, 20));
        const std::string text = changedSampleCsv(
            [&c](std::vector<CsvRecord>& rows) { rows[1].fields[size_t(c.column - 1)] = c.text; });
        EditionFromCsv read = editionFromCsv(text);
        EXPECT_EQ(bool(read.edition), c.accepted) << read.problem;
        if (!c.accepted) {
            EXPECT_EQ(read.line, 2);
            EXPECT_EQ(read.column, c.column);
            EXPECT_EQ(read.problem.rfind("line 2, column " + std::to_string(c.column) + " (", 0),
                      0u)
                << read.problem;
        } else {
            // What is accepted is written, and reads back as the same row.
            ASSERT_TRUE(writeEdition(dir.path("e.dat").c_str(), *read.edition));
            EditionPtr written = readEdition(dir.path("e.dat").c_str());
            ASSERT_TRUE(written);
            EXPECT_EQ(editionToCsv(*written), editionToCsv(*read.edition));
        }
    }
}

TEST(EditionCsv, AWrongTableIsRefusedAtItsLineAndColumn) {
    using Rows = std::vector<CsvRecord>;
    struct Case {
        const char* what;
        std::string text;
        int line, column;
        const char* says;
    } cases[] = {
        {"row short of a column", changedSampleCsv([](Rows& r) { r[4].fields.pop_back(); }), 5, 13,
         "ends after 12 columns"},
        {"row with a column too many", changedSampleCsv([](Rows& r) { r[4].fields.push_back(""); }),
         5, 14, "has 14 columns"},
        {"header misnamed", changedSampleCsv([](Rows& r) { r[0].fields[2] = "catalogue_number"; }),
         1, 3, "catalogue_number"},
        {"a star too few", changedSampleCsv([](Rows& r) { r.erase(r.begin() + 3); }), 9, 2,
         "Ursa Minor has only 7 of its 8"},
        {"a star too many", changedSampleCsv([](Rows& r) { r.insert(r.begin() + 3, r[3]); }), 10, 2,
         "Ursa Minor has more than its 8"},
        {"out of order", changedSampleCsv([](Rows& r) { r[9].fields[1] = "Draco"; }), 10, 2,
         "a star of Ursa Major is due"},
        {"unknown constellation", changedSampleCsv([](Rows& r) { r[9].fields[1] = "Ursa Majr"; }),
         10, 2, "no constellation"},
        {"last star missing", changedSampleCsv([](Rows& r) { r.pop_back(); }), 1029, 0,
         "Piscis Austrinus holding 17 of its 18"},
        {"a row past the end", changedSampleCsv([](Rows& r) { r.push_back(r.back()); }), 1030, 0,
         "one row too many"},
        {"edition names differ", changedSampleCsv([](Rows& r) { r[7].fields[0] = "Other"; }), 8, 1,
         "differs from line 2"},
        {"quote never closed", "edition,\"constellation\r\n", 1, 2, "never closed"},
        {"text after a quote", "edition,\"constellation\"x\r\n", 1, 2, "follows the closing quote"},
        {"quote inside a field", "edition,constel\"lation\r\n", 1, 2, "not quoted"},
        {"nothing", "", 1, 0, "no header row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditionFromCsv read = editionFromCsv(c.text);
        EXPECT_FALSE(read.edition);
        EXPECT_EQ(read.line, c.line);
        EXPECT_EQ(read.column, c.column);
        EXPECT_NE(read.problem.find(c.says), std::string::npos) << read.problem;
    }
}

TEST(Csv, RecordsSplitAtLineEndsOutsideQuotesAndCountTheLinesInside) {
    CsvText csv = readCsv(
        "\xEF\xBB\xBF"
        "a,\"b\r\nc\",\"\"\"\"\nd,,\r\ne");
    ASSERT_TRUE(csv.problem.empty()) << csv.problem;
    ASSERT_EQ(csv.records.size(), 3u);
    EXPECT_EQ(csv.records[0].fields, (std::vector<std::string>{"a", "b\r\nc", "\""}));
    EXPECT_EQ(csv.records[1].line, 3);
    EXPECT_EQ(csv.records[1].fields, (std::vector<std::string>{"d", "", ""}));
    EXPECT_EQ(csv.records[2].line, 4);
    EXPECT_EQ(csv.records[2].fields, (std::vector<std::string>{"e"}));
    EXPECT_EQ(csvRecord({"plain", "a,b", " lead", "q\"q", ""}),
              "plain,\"a,b\",\" lead\",\"q\"\"q\",\r\n");
}
