#include <gtest/gtest.h>

#include "catalog/catalog.h"

TEST(ConstellationTable, CountsAddUpToTheWholeCatalogue) {
    int figures = 0, extras = 0;
    for (const ConstellationInfo& row : kConstellationTable) {
        figures += row.figureCount;
        extras += row.extraCount;
    }
    EXPECT_EQ(figures, 920);
    EXPECT_EQ(extras, 108);
    EXPECT_STREQ(kConstellationTable[0].name, "Ursa Minor");
    EXPECT_STREQ(kConstellationTable[39].name, "Argo Navis");
    EXPECT_STREQ(kConstellationTable[47].name, "Piscis Austrinus");
}

TEST(NumberIndex, LooksUpOnlyNumbersThatAnEntryCarries) {
    NumberIndex index;
    clearNumberIndex(index);
    index.slot[1] = 0;
    index.slot[9110] = 9095;
    EXPECT_EQ(lookUpReferenceStar(index, 1), 0);
    EXPECT_EQ(lookUpReferenceStar(index, 9110), 9095);
    EXPECT_EQ(lookUpReferenceStar(index, 2), -1);  // a number no entry carries
    EXPECT_EQ(lookUpReferenceStar(index, 0), -1);
    EXPECT_EQ(lookUpReferenceStar(index, -5), -1);
    EXPECT_EQ(lookUpReferenceStar(index, 9111), -1);
}

TEST(AncientStarPosition, CombinesSignDegreesAndMinutes) {
    AncientStar star;
    star.zodiacSign = 2;
    star.signDegrees = 15;
    star.lonMinutes = 30;
    star.latSouth = 1;
    star.latDegrees = 5;
    star.latMinutes = 30;
    EXPECT_DOUBLE_EQ(ancientLonDegrees(star), 75.5);
    EXPECT_DOUBLE_EQ(ancientLatDegrees(star), -5.5);
}
