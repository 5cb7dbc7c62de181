#include "catalog/edition_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "support/catalog_fixtures.h"
#include "support/comma_locale.h"
#include "support/temp_dir.h"

namespace {

const char kHeader[] = "Tessaran Catalog:";

// An edition file whose star lines hold only their catalogue numbers 1, 2, ...
std::string fileText(int count, const std::string& header = kHeader) {
    std::string text = header + "\n";
    char line[16];
    for (int i = 1; i <= count; ++i) text += (std::snprintf(line, 16, "%4d\n", i), line);
    return text;
}

// Every field the file gives, in column order.
std::string fields(const AncientStar& s) {
    char text[600];
    std::snprintf(text, sizeof text, "%d %d | %d %d %d | %d %d %d | %g | %d | %s | %s",
                  s.catalogNumber, s.numberInConstellation, s.zodiacSign, s.signDegrees,
                  s.lonMinutes, s.latSouth, s.latDegrees, s.latMinutes, double(s.magnitude),
                  s.identification, s.designation, s.description.c_str());
    return text;
}

// Number, five ignored columns, number in constellation, longitude degrees and minutes,
// latitude sign, degrees and minutes, magnitude, identification, designation, description.
const std::string kSouthernLine =
    "  17      3  75 20 -05 30 4.5 1234 alp UMi      the bright one";

struct EditionFile : ::testing::Test {
    TempDir dir;
    std::string path = dir.path("edition.dat");
    EditionPtr read(const std::string& text) {
        EXPECT_TRUE(writeTextFile(path, text));
        return readEdition(path.c_str());
    }
    // Star k of the whole edition, counted over the constellations in table order.
    static const AncientStar& at(const EditionPtr& edition, size_t k) {
        const Constellation* c = edition->constellations;
        for (; k >= c->stars.size(); ++c) k -= c->stars.size();
        return c->stars[k];
    }
};

}  // namespace

// Under a locale whose decimal mark is a comma too, magnitudes keep their point.
TEST_F(EditionFile, WriterPutsFieldsInTheirColumnsAndRefusesWhatCannotBeReadBack) {
    CommaDecimalLocale locale(dir.root);
    ASSERT_TRUE(!locale.built() || locale.active());
    EditionPtr edition = sampleEdition("");
    AncientStar& star = edition->constellations[0].stars[0];
    star = AncientStar{3, 2, 15, 20, 1, 5, 30, 4.5f, "alp UMi", "the bright one", 1234, 17};
    ASSERT_TRUE(writeEdition(path.c_str(), *edition));
    EXPECT_EQ(readWholeFile(path).substr(0, 19 + kSouthernLine.size()),
              std::string(kHeader) + "\n" + kSouthernLine + "\n");
    EditionPtr back = readEdition(path.c_str());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->constellations[0].stars[0].magnitude, 4.5f);
    const std::string untouched = dir.path("untouched.dat");
    auto refused = [&](const char* why) {
        EXPECT_FALSE(writeEdition(untouched.c_str(), *edition)) << why;
        EXPECT_FALSE(readEdition(untouched.c_str())) << why;  // nothing was written
    };
    star.catalogNumber = 10000;
    refused("catalogue number wider than four columns");
    star.catalogNumber = 17;
    star.magnitude = 4.25f;
    refused("magnitude needing four columns");
    star.magnitude = 4.5f;
    for (size_t count : {29, 31}) {  // Hercules holds 30
        edition->constellations[6].stars.resize(count);
        refused("a constellation short or over");
    }
    if (!locale.built()) GTEST_SKIP() << "localedef could not build de_DE";
}

TEST_F(EditionFile, EachFieldComesFromItsOwnColumnsAndLongLinesAreReadInPieces) {
    // 600 characters: the 89 after the first 511 begin with the number 99.
    const std::string longLine = "   1" + std::string(507, 'x') + "  99" + std::string(85, 'y');
    const struct {
        std::string line, fields;
        bool inFile;
    } rows[] = {
        {kSouthernLine, "17 3 | 2 15 20 | 1 5 30 | 4.5 | 1234 | alp UMi      | the bright one", 1},
        {"   2     12 359 59 +12 07 6.5    0", "2 12 | 11 29 59 | 0 12 7 | 6.5 | 0 |  | ", 1},
        {"   4      1  10  0 -00 00       12", "4 1 | 0 10 0 | 1 0 0 | 0 | 12 |  | ", 1},
        // Every column filled: each number stops at the end of its own columns.
        {"12345678901234567890123456789012345678",
         "1234 1 | 11 15 78 | 0 12 45 | 789 | 1234 | 678 | ", 1},
        {" 4x5     -3  6.5", "4 -3 | 0 6 0 | 0 0 0 | 0 | 0 |  | ", 1},  // letters end a number
        {"", "0 0 | 0 0 0 | 0 0 0 | 0 | 0 |  | ", 1},                     // a blank line
        {"   5      9\r 10 20", "5 9 | 0 0 0 | 0 0 0 | 0 | 0 |  | ", 1},  // cut at a lone CR
        {longLine, "1 0 | 0 0 0 | 0 0 0 | 0 | 0 | xxxxxxxxxxxx | " + longLine.substr(48, 463), 1},
        {"", "99 0 | 0 0 0 | 0 0 0 | 0 | 0 | yyyyyyyyyyyy | " + std::string(41, 'y'), 0},
        {longLine.substr(0, 511),  // exactly 511 characters: whole, line end included
         "1 0 | 0 0 0 | 0 0 0 | 0 | 0 | xxxxxxxxxxxx | " + longLine.substr(48, 463), 1},
    };
    std::string text = fileText(0);
    for (const auto& row : rows) text += row.inFile ? row.line + "\n" : "";
    // The rest of the 1028 lines; the long line's remainder stands in for one of them.
    text += fileText(kAncientStarCount - int(std::size(rows)), "").substr(1);
    EditionPtr edition = read(text);
    ASSERT_TRUE(edition);
    for (size_t k = 0; k < std::size(rows); ++k)
        EXPECT_EQ(fields(at(edition, k)), rows[k].fields) << k;
    EXPECT_EQ(at(edition, std::size(rows)).catalogNumber, 1);
    EXPECT_DOUBLE_EQ(ancientLatDegrees(at(edition, 0)), -5.5);
}

TEST_F(EditionFile, OnlyASuccessfulLoadReplacesTheCurrentSlot) {
    CatalogSet set;
    for (int slot = 0; slot < kEditionSlotCount; ++slot)
        set.slots[slot] = sampleEdition(("slot " + std::to_string(slot)).c_str());
    set.current = 1;
    ASSERT_TRUE(writeTextFile(path, fileText(1027)));
    EXPECT_FALSE(replaceEdition(set, path.c_str()));
    EXPECT_EQ(currentEditionName(set), "slot 1");
    ASSERT_TRUE(writeEdition(path.c_str(), *sampleEdition("replacement")));
    EXPECT_TRUE(replaceEdition(set, path.c_str()));
    EXPECT_TRUE(set.slots[0]->name == "slot 0" && set.slots[2]->name == "slot 2");
    EXPECT_TRUE(currentEditionName(set) == "replacement" && currentEdition(set)->path == path);
}
