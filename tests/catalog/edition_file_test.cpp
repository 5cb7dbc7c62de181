#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "catalog/edition_file.h"
#include "support/catalog_fixtures.h"
#include "support/temp_dir.h"

namespace {

const char kHeader[] = "Tessaran Catalog:";

// Star lines holding only their catalogue numbers, first, first + 1, ...
std::vector<std::string> starLines(int count, int first = 1) {
    std::vector<std::string> lines;
    char text[16];
    for (int i = 0; i < count; ++i) lines.push_back((std::snprintf(text, 16, "%4d", first + i), text));
    return lines;
}

std::string fileText(const std::string& header, const std::vector<std::string>& lines,
                     const char* lineEnd = "\n") {
    std::string text = header + lineEnd;
    for (const std::string& line : lines) text += line + lineEnd;
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
    static const AncientStar& at(const EditionPtr& e, int constellation, int star) {
        return e->constellations[constellation].stars[size_t(star)];
    }
};

}  // namespace

TEST_F(EditionFile, WriteThenReadGivesBackEveryFieldWithEitherLineEnd) {
    EditionPtr written = sampleEdition("Second Edition");
    written->constellations[0].stars[1].description = std::string(463, 'w');  // 511 columns
    written->constellations[1].stars[0].magnitude = 0.25f;
    written->constellations[1].stars[1].magnitude = -0.5f;
    ASSERT_TRUE(writeEdition(path.c_str(), *written));
    std::string crlf;
    for (char c : readWholeFile(path)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EditionPtr lf = readEdition(path.c_str());
    ASSERT_TRUE(lf);
    EXPECT_EQ(lf->name, "Second Edition");
    EXPECT_EQ(lf->path, path);
    EditionPtr fromCrlf = read(crlf);
    ASSERT_TRUE(fromCrlf);
    int figures = 0, extras = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& got = lf->constellations[c];
        EXPECT_EQ(got.name, kConstellationTable[c].name);
        figures += got.figureCount;
        extras += got.extraCount;
        ASSERT_EQ(got.stars.size(), size_t(got.figureCount + got.extraCount));
        ASSERT_EQ(got.stars.size(), size_t(got.starCount));
        for (size_t s = 0; s < got.stars.size(); ++s) {
            EXPECT_EQ(fields(got.stars[s]), fields(written->constellations[c].stars[s]));
            EXPECT_EQ(fields(fromCrlf->constellations[c].stars[s]), fields(got.stars[s]));
        }
    }
    EXPECT_EQ(figures, 920);
    EXPECT_EQ(extras, 108);
}

TEST_F(EditionFile, WriterPutsFieldsInTheirColumnsAndRefusesWhatCannotBeReadBack) {
    EditionPtr edition = sampleEdition("");
    AncientStar& star = edition->constellations[0].stars[0];
    star = AncientStar{3, 2, 15, 20, 1, 5, 30, 4.5f, "alp UMi", "the bright one", 1234, 17};
    ASSERT_TRUE(writeEdition(path.c_str(), *edition));
    EXPECT_EQ(readWholeFile(path).substr(0, 19 + kSouthernLine.size()),
              std::string(kHeader) + "\n" + kSouthernLine + "\n");

    std::string untouched = dir.path("untouched.dat");
    auto refused = [&](const char* why) {
        EXPECT_FALSE(writeEdition(untouched.c_str(), *edition)) << why;
        EXPECT_FALSE(readEdition(untouched.c_str())) << why;  // nothing was written
    };
    star.catalogNumber = 10000;
    refused("catalogue number wider than four columns");
    star.catalogNumber = 17;
    star.description = "two\nlines";
    refused("line break in the description");
    star.description = std::string(464, 'x');
    refused("description longer than a line holds");
    star.description.clear();
    star.magnitude = 4.25f;
    refused("magnitude needing four columns");
    star.magnitude = 4.5f;
    edition->constellations[5].stars.pop_back();
    refused("a constellation one star short");
}

TEST_F(EditionFile, ReaderTakesTheExactHeaderAndTheFirst1028StarLines) {
    const std::vector<std::string> stars = starLines(kAncientStarCount);
    auto name = [&](const char* header) {
        EditionPtr edition = read(fileText(header, stars));
        return edition ? edition->name : std::string("(rejected)");
    };
    EXPECT_EQ(name(kHeader), "");
    EXPECT_EQ(name("Tessaran Catalog:xySecond  edition "), "Second  edition ");  // from column 19
    for (const char* header :
         {"Tessaran catalog:", "TESSARAN CATALOG: x", "Tessaran Catalog", " Tessaran Catalog:"})
        EXPECT_EQ(name(header), "(rejected)");
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read(fileText(kHeader, starLines(1027))));
    EXPECT_FALSE(readEdition(dir.path("missing.dat").c_str()));
    EXPECT_FALSE(readEdition(dir.root.c_str()));  // a folder

    // Lines after the 1029th are never taken; rows fill in table order.
    EditionPtr longFile = read(fileText(kHeader, starLines(1999)));
    ASSERT_TRUE(longFile);
    EXPECT_EQ(at(longFile, 0, 7).catalogNumber, 8);
    EXPECT_EQ(at(longFile, 1, 0).catalogNumber, 9);  // Ursa Major starts at line 10
    EXPECT_EQ(at(longFile, 2, 0).catalogNumber, 44);
    EXPECT_EQ(longFile->constellations[47].stars.back().catalogNumber, kAncientStarCount);
}

TEST_F(EditionFile, EachFieldIsConvertedFromItsOwnColumnsOnly) {
    std::vector<std::string> stars = starLines(kAncientStarCount);
    const char* const lines[][2] = {
        {kSouthernLine.c_str(),
         "17 3 | 2 15 20 | 1 5 30 | 4.5 | 1234 | alp UMi      | the bright one"},
        {"   2     12 359 59 +12 07 6.5    0", "2 12 | 11 29 59 | 0 12 7 | 6.5 | 0 |  | "},
        {"   3      1   0  0   0  0   7", "3 1 | 0 0 0 | 0 0 0 | 7 | 0 |  | "},
        {"   4      1  10  0 -00 00       12", "4 1 | 0 10 0 | 1 0 0 | 0 | 12 |  | "},
        // Every column filled: each number stops at the end of its own columns.
        {"12345678901234567890123456789012345678", "1234 1 | 11 15 78 | 0 12 45 | 789 | 1234 | 678 | "},
        {" 4x5     -3  6.5", "4 -3 | 0 6 0 | 0 0 0 | 0 | 0 |  | "},  // letters end a number
        {"", "0 0 | 0 0 0 | 0 0 0 | 0 | 0 |  | "},                     // a blank line
    };
    for (size_t i = 0; i < std::size(lines); ++i) stars[i] = lines[i][0];
    EditionPtr edition = read(fileText(kHeader, stars));
    ASSERT_TRUE(edition);
    for (size_t i = 0; i < std::size(lines); ++i)
        EXPECT_EQ(fields(at(edition, 0, int(i))), lines[i][1]) << lines[i][0];
    EXPECT_DOUBLE_EQ(ancientLonDegrees(at(edition, 0, 0)), 75 + 20 / 60.0);
    EXPECT_DOUBLE_EQ(ancientLatDegrees(at(edition, 0, 0)), -5.5);
}

TEST_F(EditionFile, LongLineIsReadInPiecesOf511AndSpoilsTheRest) {
    std::vector<std::string> stars = starLines(kAncientStarCount);
    // 600 characters: the 89 after the first 511 begin with the number 99.
    const std::string longLine = "   1" + std::string(507, 'x') + "  99" + std::string(85, 'y');
    stars[0] = longLine;
    EditionPtr edition = read(fileText(kHeader, stars));
    ASSERT_TRUE(edition);
    EXPECT_EQ(at(edition, 0, 0).description, longLine.substr(48, 463));
    EXPECT_EQ(fields(at(edition, 0, 1)), "99 0 | 0 0 0 | 0 0 0 | 0 | 0 | " + std::string(12, 'y') +
                                             " | " + std::string(41, 'y'));
    EXPECT_EQ(at(edition, 0, 2).catalogNumber, 2);  // everything moves down one line
    stars.pop_back();
    EXPECT_TRUE(read(fileText(kHeader, stars)));  // so one line short still loads
    // A line of exactly 511 characters is whole.
    stars = starLines(kAncientStarCount);
    stars[0] = longLine.substr(0, 511);
    edition = read(fileText(kHeader, stars));
    ASSERT_TRUE(edition);
    EXPECT_EQ(at(edition, 0, 1).catalogNumber, 2);
}

TEST_F(EditionFile, OnlyASuccessfulLoadReplacesTheCurrentSlot) {
    CatalogSet set;
    for (int slot = 0; slot < kEditionSlotCount; ++slot)
        set.slots[slot] = sampleEdition(("slot " + std::to_string(slot)).c_str());
    set.current = 1;
    const AncientCatalog* before[] = {set.slots[0].get(), set.slots[1].get(), set.slots[2].get()};
    ASSERT_TRUE(writeTextFile(path, fileText(kHeader, starLines(1027))));
    EXPECT_FALSE(replaceEdition(set, path.c_str()));
    EXPECT_FALSE(replaceEdition(set, dir.path("missing.dat").c_str()));
    for (int slot = 0; slot < kEditionSlotCount; ++slot) EXPECT_EQ(set.slots[slot].get(), before[slot]);

    ASSERT_TRUE(writeEdition(path.c_str(), *sampleEdition("replacement")));
    EXPECT_TRUE(replaceEdition(set, path.c_str()));
    EXPECT_EQ(set.current, 1);
    EXPECT_EQ(set.slots[0].get(), before[0]);
    EXPECT_EQ(set.slots[2].get(), before[2]);
    EXPECT_EQ(currentEditionName(set), "replacement");
    EXPECT_EQ(currentEdition(set)->path, path);
}
