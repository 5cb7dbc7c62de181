// Editions as CSV (the analysis tool's test takes the samples through it byte for byte): awkward
// texts survive the quoting, and a wrong table is refused at its line and column.
#include "catalog/edition_csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalog/csv.h"
#include "catalog/edition_file.h"
#include "support/temp_dir.h"

namespace {

const std::string kSampleA = std::string(TESSARAN_SOURCE_DIR) + "/data/cat1.dat";

// The CSV of Sample A with one change made to its records.
template <typename Change>
std::string changedSampleCsv(Change change) {
    EditionPtr edition = readEdition(kSampleA.c_str());
    CsvText csv = readCsv(editionToCsv(*edition));
    change(csv.records);
    std::string text;
    for (const CsvRecord& record : csv.records) text += csvRecord(record.fields);
    return text;
}

}  // namespace

TEST(EditionCsv, QuotesCommasBlanksAndWesternBytesSurviveTheQuoting) {
    EditionPtr edition = readEdition(kSampleA.c_str());
    edition->name = " \"Tessaran\", 2nd ed. ";
    AncientStar& star = edition->constellations[5].stars[2];
    star.description = "  on the \"crown\", 3\xBA east,";
    std::strcpy(star.designation, "a,\"b\"");
    star.latSouth = 1;
    star.magnitude = 0.5f;
    EditionFromCsv back = editionFromCsv(editionToCsv(*edition));
    ASSERT_TRUE(back.edition) << back.problem;
    EXPECT_EQ(back.edition->name, edition->name);
    EXPECT_EQ(back.edition->constellations[5].stars[2].description, star.description);
    EXPECT_EQ(editionToCsv(*back.edition), editionToCsv(*edition));
}

TEST(EditionCsv, EachFieldTakesWhatItsColumnsHoldAndNoMore) {
    // Values put into the first star of Ursa Minor (line 2), accepted or refused.
    struct Case {
        int column;
        std::string text;
        bool accepted;
    } cases[] = {
        {3, "9999", 1},  {3, "-999", 1}, {3, "10000", 0}, {3, "-1000", 0}, {3, "12a", 0},
        {4, "99", 1},    {4, "100", 0},  {5, "999", 1},   {5, "0", 1},     {5, "-1", 0},
        {5, "1000", 0},  {5, "6x", 0},   {6, "99", 1},    {6, "-9", 1},    {6, "-10", 0},
        {7, "-", 1},     {7, "", 1},     {7, "N", 0},     {8, "99", 1},    {8, "100", 0},
        {9, "-9", 1},    {9, "1.5", 0},  {10, "6.5", 1},  {10, ".25", 1},  {10, "4.55", 0},
        {10, "12.5", 0}, {10, "bright", 0}, {10, "", 0},  {11, "", 1},     {11, "-999", 1},
        {11, "10000", 0}, {12, "twelve chars", 1}, {12, "thirteen char", 0},
        {13, std::string(463, 'x'), 1}, {13, std::string(464, 'x'), 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " " + c.text.substr(0, 20));
        const std::string text = changedSampleCsv(
            [&c](std::vector<CsvRecord>& rows) { rows[1].fields[size_t(c.column - 1)] = c.text; });
        EditionFromCsv read = editionFromCsv(text);
        EXPECT_EQ(bool(read.edition), c.accepted) << read.problem;
        if (!c.accepted) {
            EXPECT_EQ(std::make_pair(read.line, read.column), std::make_pair(2, c.column));
            EXPECT_EQ(read.problem.rfind("line 2, column " + std::to_string(c.column) + " (", 0),
                      0u) << read.problem;
        } else {  // what is accepted is written, and reads back as the same row
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
        {"header misnamed", changedSampleCsv([](Rows& r) { r[0].fields[2] = "catalogue_number"; }),
         1, 3, "catalogue_number"},
        {"a star too few", changedSampleCsv([](Rows& r) { r.erase(r.begin() + 3); }), 9, 2,
         "Ursa Minor has only 7 of its 8"},
        {"out of order", changedSampleCsv([](Rows& r) { r[9].fields[1] = "Draco"; }), 10, 2,
         "a star of Ursa Major is due"},
        {"last star missing", changedSampleCsv([](Rows& r) { r.pop_back(); }), 1029, 0,
         "Piscis Austrinus holding 17 of its 18"},
        {"edition names differ", changedSampleCsv([](Rows& r) { r[7].fields[0] = "Other"; }), 8, 1,
         "differs from line 2"},
        {"quote never closed", "edition,\"constellation\r\n", 1, 2, "never closed"},
        {"nothing", "", 1, 0, "no header row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditionFromCsv read = editionFromCsv(c.text);
        EXPECT_FALSE(read.edition);
        EXPECT_EQ(std::make_pair(read.line, read.column), std::make_pair(c.line, c.column));
        EXPECT_NE(read.problem.find(c.says), std::string::npos) << read.problem;
    }
}
