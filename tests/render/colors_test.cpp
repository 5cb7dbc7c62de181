#include <gtest/gtest.h>

#include <limits>

#include "render/colors.h"

TEST(StarColors, EntriesTruncateTheBlackbodyRowsAndTheColourIndexPicksOne) {
    StarColors colors;
    buildStarColors(colors);
    // 255 times each value of the table's row, truncated: 0.9725 in entry 59 would round up
    // to 248, and 0.6784 in entry 190 to 173.
    for (auto [entry, color] : std::initializer_list<std::pair<int, Color>>{
             {0, kWhite}, {1, makeColor(255, 51, 0)}, {57, makeColor(255, 249, 253)},
             {59, makeColor(251, 247, 255)}, {190, makeColor(172, 193, 255)}})
        EXPECT_EQ(colors.entries[entry], color) << entry;

    const double inf = std::numeric_limits<double>::infinity();
    // B-V to temperature: 0 gives about 9531 K, 1.5 3990 K, -0.2 16954 K; -0.3 (33605 K) and
    // ever bluer indexes stay on entry 190, 2.5 and redder on 1.
    for (auto [index, entry] : std::initializer_list<std::pair<double, int>>{
             {0.0, 86}, {1.5, 30}, {-0.2, 160}, {-0.3, 190}, {-inf, 190}, {2.5, 1}, {inf, 1}})
        EXPECT_EQ(starColorEntryForBV(index), entry) << index;
    int nan = starColorEntryForBV(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(nan >= 1 && nan <= 190) << nan;
}
