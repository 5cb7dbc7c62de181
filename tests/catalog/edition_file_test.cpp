#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalog/edition_file.h"
#include "support/catalog_fixtures.h"
#include "support/temp_dir.h"

namespace {

std::string fillerLine(int catalogNumber) {
    char text[8];
    std::snprintf(text, sizeof text, "%4d", catalogNumber);
    return text;
}

// Star lines whose catalog numbers run first, first + 1, ...
std::vector<std::string> fillerLines(int count, int first = 1) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(fillerLine(first + i));
    return lines;
}

std::string fileText(const std::string& header, const std::vector<std::string>& starLines,
                     const char* lineEnd = "\n") {
    std::string text = header + lineEnd;
    for (const std::string& line : starLines) text += line + lineEnd;
    return text;
}

EditionPtr readText(const TempDir& dir, const std::string& text) {
    std::string path = dir.path("edition.dat");
    EXPECT_TRUE(writeTextFile(path, text));
    return readEdition(path.c_str());
}

const AncientStar& starAt(const AncientCatalog& edition, int constellation, int star) {
    return edition.constellations[constellation].stars[size_t(star)];
}

const AncientStar& lastStar(const AncientCatalog& edition) {
    return edition.constellations[kConstellationCount - 1].stars.back();
}

// Every field the file gives, as "catalogNumber numberInConstellation | zodiacSign signDegrees
// lonMinutes | latSouth latDegrees latMinutes | magnitude | identification | designation |
// description".
std::string fields(const AncientStar& s) {
    char text[600];
    std::snprintf(text, sizeof text, "%d %d | %d %d %d | %d %d %d | %g | %d | %s | %s",
                  s.catalogNumber, s.numberInConstellation, s.zodiacSign, s.signDegrees,
                  s.lonMinutes, s.latSouth, s.latDegrees, s.latMinutes, double(s.magnitude),
                  s.identification, s.designation, s.description.c_str());
    return text;
}

// One star line assembled column group by column group:
// number, ignored, number in constellation, longitude degrees and minutes, latitude sign,
// degrees and minutes, magnitude, identification, designation, description.
const std::string kSouthernLine = std::string("  17") + "     " + " 3" + " " + " 75" + " " +
                                  "20" + " " + "-05" + " " + "30" + " " + "4.5" + " " +
                                  "1234" + " " + "alp UMi     " + " " + "the bright one";

}  // namespace

TEST(EditionRoundTrip, WriteThenReadGivesBackEveryField) {
    TempDir dir;
    EditionPtr written = sampleEdition("Second Edition");
    AncientStar& longest = written->constellations[0].stars[1];
    longest.description = std::string(463, 'w');  // the longest a line holds: 511 characters
    written->constellations[1].stars[0].magnitude = 0.25f;
    written->constellations[1].stars[1].magnitude = -0.5f;
    std::string path = dir.path("written.dat");
    ASSERT_TRUE(writeEdition(path.c_str(), *written));

    EditionPtr read = readEdition(path.c_str());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, "Second Edition");
    EXPECT_EQ(read->path, path);
    int total = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& got = read->constellations[c];
        EXPECT_EQ(got.name, kConstellationTable[c].name);
        EXPECT_EQ(got.figureCount, kConstellationTable[c].figureCount);
        EXPECT_EQ(got.extraCount, kConstellationTable[c].extraCount);
        ASSERT_EQ(got.stars.size(), size_t(got.starCount));
        ASSERT_EQ(got.stars.size(), written->constellations[c].stars.size());
        for (size_t s = 0; s < got.stars.size(); ++s)
            EXPECT_EQ(fields(got.stars[s]), fields(written->constellations[c].stars[s]));
        total += got.starCount;
    }
    EXPECT_EQ(total, kAncientStarCount);

    // Line ends written as CR LF are read the same way, even after a line of 511 characters.
    std::string crlf;
    for (char c : readWholeFile(path)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EditionPtr fromCrlf = readText(dir, crlf);
    ASSERT_TRUE(fromCrlf);
    EXPECT_EQ(fields(starAt(*fromCrlf, 0, 1)), fields(longest));
    EXPECT_EQ(fields(starAt(*fromCrlf, 0, 2)), fields(starAt(*written, 0, 2)));
    EXPECT_EQ(fields(lastStar(*fromCrlf)), fields(lastStar(*written)));
}

TEST(EditionRoundTrip, WriterPutsEachFieldInItsColumnsAndRefusesWhatCannotBeReadBack) {
    TempDir dir;
    EditionPtr edition = sampleEdition("");
    AncientStar& star = edition->constellations[0].stars[0];
    star = AncientStar{};
    star.catalogNumber = 17;
    star.numberInConstellation = 3;
    star.zodiacSign = 2;
    star.signDegrees = 15;
    star.lonMinutes = 20;
    star.latSouth = 1;
    star.latDegrees = 5;
    star.latMinutes = 30;
    star.magnitude = 4.5f;
    star.identification = 1234;
    std::snprintf(star.designation, sizeof star.designation, "alp UMi");
    star.description = "the bright one";
    std::string path = dir.path("columns.dat");
    ASSERT_TRUE(writeEdition(path.c_str(), *edition));
    std::string text = readWholeFile(path);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Tessaran Catalog:");
    size_t second = text.find('\n') + 1;
    EXPECT_EQ(text.substr(second, text.find('\n', second) - second), kSouthernLine);

    std::string untouched = dir.path("untouched.dat");
    auto refused = [&](const char* why) {
        SCOPED_TRACE(why);
        EXPECT_FALSE(writeEdition(untouched.c_str(), *edition));
        EXPECT_FALSE(readEdition(untouched.c_str()));  // nothing was written
    };
    star.catalogNumber = 10000;  // five digits in four columns
    refused("catalog number too wide");
    star.catalogNumber = 17;
    star.description = "two\nlines";
    refused("line break in the description");
    star.description = std::string(464, 'x');
    refused("description longer than a line holds");
    star.description.clear();
    star.magnitude = 4.25f;  // needs four columns
    refused("magnitude too precise");
    star.magnitude = 4.5f;
    edition->constellations[5].stars.pop_back();
    refused("a constellation one star short");
}

TEST(EditionHeader, NameIsTakenVerbatimAndCaseMatters) {
    TempDir dir;
    std::vector<std::string> stars = fillerLines(kAncientStarCount);
    EditionPtr bare = readText(dir, fileText("Tessaran Catalog:", stars));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->name, "");
    EditionPtr named = readText(dir, fileText("Tessaran Catalog:xySecond  edition ", stars));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->name, "Second  edition ");  // columns 17-18 are skipped

    EXPECT_FALSE(readText(dir, fileText("Tessaran catalog:", stars)));
    EXPECT_FALSE(readText(dir, fileText("TESSARAN CATALOG: x", stars)));
    EXPECT_FALSE(readText(dir, fileText("Tessaran Catalog", stars)));
    EXPECT_FALSE(readText(dir, fileText(" Tessaran Catalog:", stars)));
    EXPECT_FALSE(readText(dir, ""));
    EXPECT_FALSE(readEdition(dir.path("missing.dat").c_str()));
    EXPECT_FALSE(readEdition(dir.root.c_str()));  // a folder
}

TEST(EditionStarLines, ExactlyTheTableCountIsTakenInTableOrder) {
    TempDir dir;
    EXPECT_FALSE(readText(dir, fileText("Tessaran Catalog:", fillerLines(1027))));

    // Lines after the 1029th are never taken.
    EditionPtr longFile = readText(dir, fileText("Tessaran Catalog:", fillerLines(1999)));
    ASSERT_TRUE(longFile);
    EXPECT_EQ(starAt(*longFile, 0, 0).catalogNumber, 1);
    EXPECT_EQ(starAt(*longFile, 0, 7).catalogNumber, 8);
    EXPECT_EQ(starAt(*longFile, 1, 0).catalogNumber, 9);  // Ursa Major starts at line 10
    EXPECT_EQ(starAt(*longFile, 2, 0).catalogNumber, 44);
    EXPECT_EQ(lastStar(*longFile).catalogNumber, kAncientStarCount);

    // A blank line in the middle is a star with every field zero or empty.
    std::vector<std::string> stars = fillerLines(kAncientStarCount);
    stars[3] = "";
    EditionPtr withBlank = readText(dir, fileText("Tessaran Catalog:", stars));
    ASSERT_TRUE(withBlank);
    EXPECT_EQ(fields(starAt(*withBlank, 0, 3)), "0 0 | 0 0 0 | 0 0 0 | 0 | 0 |  | ");
    EXPECT_EQ(starAt(*withBlank, 0, 4).catalogNumber, 5);
}

TEST(EditionStarLines, EachFieldIsConvertedFromItsOwnColumnsOnly) {
    TempDir dir;
    std::vector<std::string> stars = fillerLines(kAncientStarCount);
    stars[0] = kSouthernLine;
    stars[1] = std::string("   2") + "     " + "12" + " " + "359" + " " + "59" + " " + "+12" +
               " " + "07" + " " + "6.5" + " " + "   0";
    stars[2] = std::string("   3") + "     " + " 1" + " " + "  0" + " " + " 0" + " " + "  0" +
               " " + " 0" + " " + "  7";
    stars[3] = std::string("   4") + "     " + " 1" + " " + " 10" + " " + " 0" + " " + "-00" +
               " " + "00" + " " + "   " + " " + "  12";
    stars[4] = "12345678901234567890123456789012345678";  // every column filled
    stars[5] = " 4x5     -3  6.5";                       // letters end a number
    EditionPtr edition = readText(dir, fileText("Tessaran Catalog:", stars));
    ASSERT_TRUE(edition);

    EXPECT_EQ(fields(starAt(*edition, 0, 0)),
              "17 3 | 2 15 20 | 1 5 30 | 4.5 | 1234 | alp UMi      | the bright one");
    EXPECT_EQ(fields(starAt(*edition, 0, 1)), "2 12 | 11 29 59 | 0 12 7 | 6.5 | 0 |  | ");
    EXPECT_EQ(fields(starAt(*edition, 0, 2)), "3 1 | 0 0 0 | 0 0 0 | 7 | 0 |  | ");
    EXPECT_EQ(fields(starAt(*edition, 0, 3)), "4 1 | 0 10 0 | 1 0 0 | 0 | 12 |  | ");
    // "1234567890..." in every column: each number stops at the end of its own columns.
    EXPECT_EQ(fields(starAt(*edition, 0, 4)), "1234 1 | 11 15 78 | 0 12 45 | 789 | 1234 | 678 | ");
    // Columns 12-14 hold " 6.": the "." ends the number.
    EXPECT_EQ(fields(starAt(*edition, 0, 5)), "4 -3 | 0 6 0 | 0 0 0 | 0 | 0 |  | ");
}

TEST(EditionStarLines, LongLineIsReadInPiecesAndSpoilsTheRest) {
    TempDir dir;
    std::vector<std::string> stars = fillerLines(kAncientStarCount);
    // 600 characters: the 89 after the first 511 begin with the number 99.
    std::string longLine = fillerLine(1) + std::string(507, 'x') + fillerLine(99) +
                           std::string(85, 'y');
    ASSERT_EQ(longLine.size(), 600u);
    stars[0] = longLine;
    EditionPtr edition = readText(dir, fileText("Tessaran Catalog:", stars));
    ASSERT_TRUE(edition);
    EXPECT_EQ(starAt(*edition, 0, 0).catalogNumber, 1);
    EXPECT_EQ(starAt(*edition, 0, 0).description, longLine.substr(48, 463));
    EXPECT_EQ(starAt(*edition, 0, 1).catalogNumber, 99);
    EXPECT_EQ(starAt(*edition, 0, 1).description, std::string(41, 'y'));
    EXPECT_EQ(starAt(*edition, 0, 2).catalogNumber, 2);         // everything moves down one
    EXPECT_EQ(lastStar(*edition).catalogNumber, kAncientStarCount - 1);

    // With the line one star short, the remainder still makes up the count.
    stars.pop_back();
    EXPECT_TRUE(readText(dir, fileText("Tessaran Catalog:", stars)));

    // A line of exactly 511 characters is whole.
    stars = fillerLines(kAncientStarCount);
    stars[0] = longLine.substr(0, 511);
    EditionPtr exact = readText(dir, fileText("Tessaran Catalog:", stars));
    ASSERT_TRUE(exact);
    EXPECT_EQ(starAt(*exact, 0, 1).catalogNumber, 2);
    EXPECT_EQ(lastStar(*exact).catalogNumber, kAncientStarCount);
}

TEST(EditionReplace, OnlyASuccessfulLoadReplacesTheCurrentSlot) {
    TempDir dir;
    CatalogSet set;
    for (int slot = 0; slot < kEditionSlotCount; ++slot) {
        std::string path = dir.path("cat" + std::to_string(slot + 1) + ".dat");
        ASSERT_TRUE(writeEdition(path.c_str(), *sampleEdition(("slot " + std::to_string(slot)).c_str())));
        set.slots[slot] = readEdition(path.c_str());
        ASSERT_TRUE(set.slots[slot]);
    }
    set.current = 1;
    const AncientCatalog* before[kEditionSlotCount] = {set.slots[0].get(), set.slots[1].get(),
                                                       set.slots[2].get()};
    std::string shortFile = dir.path("short.dat");
    ASSERT_TRUE(writeTextFile(shortFile, fileText("Tessaran Catalog: short", fillerLines(1027))));

    EXPECT_FALSE(replaceEdition(set, shortFile.c_str()));
    EXPECT_FALSE(replaceEdition(set, dir.path("missing.dat").c_str()));
    EXPECT_EQ(set.current, 1);
    for (int slot = 0; slot < kEditionSlotCount; ++slot) EXPECT_EQ(set.slots[slot].get(), before[slot]);
    EXPECT_EQ(currentEditionName(set), "slot 1");

    std::string replacement = dir.path("new.dat");
    ASSERT_TRUE(writeEdition(replacement.c_str(), *sampleEdition("replacement")));
    EXPECT_TRUE(replaceEdition(set, replacement.c_str()));
    EXPECT_EQ(set.current, 1);
    EXPECT_EQ(set.slots[0].get(), before[0]);
    EXPECT_EQ(set.slots[2].get(), before[2]);
    EXPECT_EQ(currentEditionName(set), "replacement");
    EXPECT_EQ(currentEdition(set)->path, replacement);
}
