#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "render/colors.h"
#include "support/temp_dir.h"

TEST(ColorTable, DefaultsTheEquatorialTextRuleAndAverages) {
    ColorTable table;
    setDefaultColors(table);
    // Entry 6 is entry 5 averaged with white: (64 + 255) / 2 = 159, (32 + 255) / 2 = 143.
    const Color defaults[10] = {0, 0, 0, makeColor(64, 96, 64), 0, makeColor(32, 32, 64),
                                makeColor(64, 32, 32), makeColor(159, 143, 143), 0, 0};
    for (int i = -1; i < 9; ++i) EXPECT_EQ(getColor(table, i), defaults[i + 1]) << i;
    setColor(table, ColorEquatorialGrid, kBlack);
    for (int other : {-1, 0, 2, 4, 7, 8}) setColor(table, other, makeColor(200, 10, 10));
    EXPECT_EQ(getColor(table, ColorEquatorialText), makeColor(127, 127, 127));
    EXPECT_TRUE(getColor(table, ColorEclipticGrid) == makeColor(200, 10, 10) &&
                getColor(table, 8) == kBlack && getColor(table, -1) == kBlack);

    // Channel sums halved, truncating, with no carry between channels and the top byte dropped.
    for (auto [a, b, average] : std::initializer_list<std::array<Color, 3>>{
             {makeColor(255, 0, 0), makeColor(1, 0, 0), makeColor(128, 0, 0)},
             {makeColor(0, 0, 255), kWhite, makeColor(127, 127, 255)},
             {kWhite, kWhite, kWhite},
             {0xFF000000u | makeColor(3, 5, 7), 0xFF000000u, makeColor(1, 2, 3)}})
        EXPECT_EQ(averageColor(a, b), average) << std::hex << a << " " << b;
}

TEST(StarColors, EntriesTruncateTheBlackbodyRowsAndTheColourIndexPicksOne) {
    StarColors colors;
    buildStarColors(colors);
    // 255 times each value of the table's row, truncated: 0.9725 in entry 59 would round up
    // to 248, and 0.6784 in entry 190 to 173.
    for (auto [entry, color] : std::initializer_list<std::pair<int, Color>>{
             {0, kWhite}, {1, makeColor(255, 51, 0)}, {2, makeColor(255, 69, 0)},
             {11, makeColor(255, 140, 10)}, {57, makeColor(255, 249, 253)},
             {58, makeColor(254, 250, 255)}, {59, makeColor(251, 247, 255)},
             {100, makeColor(200, 213, 255)}, {190, makeColor(172, 193, 255)}})
        EXPECT_EQ(colors.entries[entry], color) << entry;

    const double inf = std::numeric_limits<double>::infinity();
    // B-V to temperature: 0 gives about 9531 K, 0.65 5722 K, 1.5 3990 K, 2 1195 K, -0.2
    // 16954 K; -0.3 (33605 K) and ever bluer indexes stay on entry 190, 2.5 and redder on 1.
    for (auto [index, entry] : std::initializer_list<std::pair<double, int>>{
             {0.0, 86}, {0.65, 48}, {1.5, 30}, {2.0, 2}, {-0.2, 160}, {-0.3, 190}, {-1e300, 190},
             {-inf, 190}, {2.5, 1}, {1e60, 1}, {inf, 1}})
        EXPECT_EQ(starColorEntryForBV(index), entry) << index;
    int nan = starColorEntryForBV(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(nan >= 1 && nan <= 190) << nan;
}

TEST(BlackbodyTable, GeneratorWritesTheCommittedFile) {
    TempDir dir;
    const std::string generated = dir.path("blackbody_table.cpp");
    const std::string command = std::string("\"") + TESSARAN_BUILD_DIR + "/blackbody-table\" \"" +
                                generated + "\" 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string committed =
        readWholeFile(std::string(TESSARAN_SOURCE_DIR) + "/render/blackbody_table.cpp");
    EXPECT_TRUE(!committed.empty() && readWholeFile(generated) == committed) << "rerun it";
}
