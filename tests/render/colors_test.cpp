#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/colors.h"

TEST(ColorValue, PacksRedLowestAndLeavesTheTopByteZero) {
    EXPECT_EQ(makeColor(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(kWhite, 0x00FFFFFFu);
}

TEST(ColorTable, EquatorialTextFollowsOnlyTheEquatorialGrid) {
    ColorTable table;
    setDefaultColors(table);
    EXPECT_EQ(getColor(table, ColorNumbers), makeColor(64, 96, 64));
    EXPECT_EQ(getColor(table, ColorEclipticGrid), makeColor(32, 32, 64));
    EXPECT_EQ(getColor(table, ColorEquatorialGrid), makeColor(64, 32, 32));
    EXPECT_EQ(getColor(table, ColorEquatorialText), makeColor(159, 143, 143));
    for (int unused : {0, 1, 3, 7}) EXPECT_EQ(getColor(table, unused), kBlack);

    setColor(table, ColorEquatorialGrid, kBlack);
    EXPECT_EQ(getColor(table, ColorEquatorialText), makeColor(127, 127, 127));

    setColor(table, ColorEclipticGrid, makeColor(200, 10, 10));
    setColor(table, ColorCurrentLine, makeColor(1, 2, 3));
    setColor(table, ColorNumbers, kWhite);
    EXPECT_EQ(getColor(table, ColorEquatorialText), makeColor(127, 127, 127));
    EXPECT_EQ(getColor(table, ColorEclipticGrid), makeColor(200, 10, 10));

    // Indexes outside 0..7 neither read nor write anything.
    ColorTable before = table;
    setColor(table, 8, kWhite);
    setColor(table, -1, kWhite);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(table.entries[i], before.entries[i]);
    EXPECT_EQ(getColor(table, 8), kBlack);
    EXPECT_EQ(getColor(table, -1), kBlack);
}

TEST(AverageColor, HalvesEachChannelSumTruncating) {
    EXPECT_EQ(averageColor(makeColor(255, 0, 0), makeColor(1, 0, 0)), makeColor(128, 0, 0));
    EXPECT_EQ(averageColor(makeColor(0, 0, 255), kWhite), makeColor(127, 127, 255));
    EXPECT_EQ(averageColor(kWhite, kWhite), kWhite);  // no carry between channels
    EXPECT_EQ(averageColor(makeColor(3, 5, 7), makeColor(0, 0, 0)), makeColor(1, 2, 3));
    EXPECT_EQ(averageColor(0xFF000000u | kWhite, 0xFF000000u), makeColor(127, 127, 127));
}

TEST(StarColors, EntriesAreTheBlackbodyRowsTruncatedToBytes) {
    StarColors colors;
    buildStarColors(colors);
    EXPECT_EQ(colors.entries[0], kWhite);
    EXPECT_EQ(colors.entries[1], makeColor(255, 51, 0));
    EXPECT_EQ(colors.entries[58], makeColor(254, 250, 255));
    // 0.9725 and 0.6784 would round up to 248 and 173; they truncate.
    EXPECT_EQ(colors.entries[59], makeColor(251, 247, 255));
    EXPECT_EQ(colors.entries[190], makeColor(172, 193, 255));
    for (int i = 1; i < kStarColorCount; ++i) {
        Color c = colors.entries[i];
        EXPECT_EQ(c >> 24, 0u) << i;
        EXPECT_EQ(i <= 57 ? colorRed(c) : colorBlue(c), 255) << i;
    }
}

TEST(StarColorEntryForBV, MapsTheColourIndexThroughItsTemperature) {
    const struct {
        double index;
        int entry;
    } cases[] = {
        {0.0, 86},    // about 9531 K
        {0.65, 48},   // about 5722 K
        {1.5, 30},    // about 3990 K
        {2.0, 2},     // about 1195 K
        {-0.2, 160},  // about 16954 K
        {-0.3, 190},  // about 33605 K, above the table
        {2.5, 1},     // far below 1000 K
    };
    for (const auto& c : cases) EXPECT_EQ(starColorEntryForBV(c.index), c.entry) << c.index;
}

TEST(StarColorEntryForBV, HostileIndexesStayOnTheTable) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Ever redder indexes are ever cooler, ever bluer ones ever hotter, however large.
    for (double cold : {6.0, 1e30, 1e60, 1e300, inf}) EXPECT_EQ(starColorEntryForBV(cold), 1) << cold;
    for (double hot : {-0.5, -1e30, -1e60, -1e300, -inf}) EXPECT_EQ(starColorEntryForBV(hot), 190) << hot;
    int entry = starColorEntryForBV(nan);
    EXPECT_GE(entry, 1);
    EXPECT_LE(entry, 190);
}
