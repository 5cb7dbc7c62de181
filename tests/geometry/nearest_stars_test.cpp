#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "catalog/precession.h"
#include "geometry/nearest_stars.h"

namespace {

AncientStar ancientAt(float x, float y) {
    AncientStar star;
    star.screenX = x;
    star.screenY = y;
    star.visible = 1;
    return star;
}

ReferenceStar referenceAt(float x, float y, float magnitude) {
    ReferenceStar star;
    star.screenX = x;
    star.screenY = y;
    star.magnitude = magnitude;
    star.visible = 1;
    return star;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return out;
}

}  // namespace

TEST(NearestStarsSearch, AncientStarWithinTheRadiusIncludedReferenceStarsStrictlyInside) {
    Constellation c;
    c.stars = {ancientAt(100, 100), ancientAt(130, 140), ancientAt(106, 108)};
    // (106, 108) is exactly 10 pixels from (100, 100).
    EXPECT_EQ(findNearestAncientStar(c, 100, 100, 10.0), 0);
    EXPECT_EQ(findNearestAncientStar(c, 106, 108, 9.99), 2);
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 10.0), 2);  // exactly at the radius
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 9.99), -1);
    c.stars[2].visible = 0;
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 10.0), -1);
    // Two at the same distance: the earlier one stays.
    c.stars = {ancientAt(90, 100), ancientAt(110, 100)};
    EXPECT_EQ(findNearestAncientStar(c, 100, 100, 20.0), 0);

    ReferenceStar onRadius = referenceAt(106, 108, 1.0f);
    int found[kNearestReferenceCount];
    EXPECT_EQ(findNearestReferenceStars(&onRadius, 1, 100, 100, 10.0, found), 0);
    EXPECT_EQ(findNearestReferenceStars(&onRadius, 1, 100, 100, 10.01, found), 1);
}

TEST(NearestStarsSearch, KeepsTheFiveSmallestKeysInCatalogueOrderOfTies) {
    // Keys magnitude x distance: 3x2=6, 1x3=3, 2x3=6, 5x1=5, 1x8=8, 4x1=4, 0.5x4=2.
    std::vector<ReferenceStar> stars = {
        referenceAt(102, 100, 3), referenceAt(100, 103, 1), referenceAt(97, 100, 2),
        referenceAt(100, 99, 5),  referenceAt(108, 100, 1), referenceAt(101, 100, 4),
        referenceAt(100, 96, 0.5f)};
    int found[kNearestReferenceCount];
    ASSERT_EQ(findNearestReferenceStars(stars.data(), int(stars.size()), 100, 100, 50.0, found), 5);
    const int expected[] = {6, 1, 5, 3, 0};  // keys 2, 3, 4, 5, then the first of the two 6s
    for (int k = 0; k < 5; ++k) EXPECT_EQ(found[k], expected[k]) << k;

    // A negative magnitude comes first, the farther star ahead of the nearer.
    stars = {referenceAt(101, 100, -1), referenceAt(104, 100, -1), referenceAt(100, 101, 1)};
    ASSERT_EQ(findNearestReferenceStars(stars.data(), 3, 100, 100, 50.0, found), 3);
    EXPECT_EQ(found[0], 1);
    EXPECT_EQ(found[1], 0);
    EXPECT_EQ(found[2], 2);

    // A key of 1000 or more never enters: magnitude 8 at 125 pixels.
    stars = {referenceAt(225, 100, 8), referenceAt(224, 100, 8)};
    ASSERT_EQ(findNearestReferenceStars(stars.data(), 2, 100, 100, 200.0, found), 1);
    EXPECT_EQ(found[0], 1);
}

TEST(NearestStarsText, PositionsRoundToWholeArcMinutes) {
    const double minute = kDegToRad / 60.0;
    EXPECT_EQ(positionText(123.5 * kDegToRad, -5.25 * kDegToRad), "123\xBA" "30' - 5\xBA" "15'");
    EXPECT_EQ(positionText(0.0, -0.4 * minute), "  0\xBA" "00'   0\xBA" "00'");
    EXPECT_EQ(positionText(kTwoPi - 0.4 * minute, 89.99 * kDegToRad),
              "360\xBA" "00'  89\xBA" "59'");
    EXPECT_EQ(positionText(1e300, NAN).size(), 15u);  // hostile angles still give a text
}

TEST(NearestStarsText, ListsTheAncientStarARuleAndTheReferenceStars) {
    NearestStarsMode mode;
    nearestStarsSetMode(mode, kJ2000, 0, 0, 0);
    EXPECT_STREQ(nearestStarsTitle(mode), "Nearest Stars [lon/lat]");

    Constellation c;
    c.name = "Lyra";
    c.stars = {ancientAt(50, 50), ancientAt(100, 100)};
    AncientStar& star = c.stars[1];
    star.catalogNumber = 149;
    star.description = "the bright star of the lyre";
    star.identification = 7001;
    std::strcpy(star.designation, "alp Lyr");
    star.zodiacSign = 8;
    star.signDegrees = 17;
    star.lonMinutes = 20;
    star.latDegrees = 62;
    star.magnitude = 1.0f;

    std::vector<ReferenceStar> refs = {referenceAt(102, 100, 0.03f), referenceAt(400, 400, 1)};
    refs[0].number = 7001;
    std::strcpy(refs[0].name, "3 alp Lyr");
    lonLatToVec3((257 + 20 / 60.0) * kDegToRad, 61.75 * kDegToRad, refs[0].dir);

    std::string text;
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 2, 101, 100, 10.0, text));
    std::vector<std::string> l = lines(text);
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l[0], "149 Lyra 2");
    EXPECT_EQ(l[1], "the bright star of the lyre");
    EXPECT_EQ(l[2], "7001      alp Lyr  257\xBA" "20'  62\xBA" "00'  1.0");
    EXPECT_EQ(l[3], std::string(40, '-'));
    EXPECT_EQ(l[4], "7001    3 alp Lyr  257\xBA" "20'  61\xBA" "45'  0.03");
    for (int i = 3; i < 5; ++i) EXPECT_EQ(l[i].size(), 40u) << i;  // as wide as the window

    // Faint and nebulous codes, no identification, offsets added to the ancient position.
    star.magnitude = 6.5f;
    star.identification = 0;
    nearestStarsSetMode(mode, kJ2000, float(kDegToRad), float(-kDegToRad), 0);
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 0, 100, 100, 10.0, text));
    l = lines(text);
    EXPECT_EQ(l[2], "          alp Lyr  258\xBA" "20'  61\xBA" "00'  fnt.");
    star.magnitude = 7.0f;
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 0, 100, 100, 10.0, text));
    EXPECT_EQ(lines(text)[2].substr(34), "  neb.");

    // Nothing near the click: no list.
    EXPECT_FALSE(buildNearestStarsList(mode, c, refs.data(), 2, 300, 20, 10.0, text));

    // A description of any length is kept whole.
    star.description = std::string(460, 'x');
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 2, 100, 100, 10.0, text));
    EXPECT_EQ(lines(text)[1], star.description);
}

TEST(NearestStarsText, EquatorialModeShowsRightAscensionAndDeclinationOfTheEpoch) {
    NearestStarsMode mode;
    nearestStarsSetMode(mode, kJ2000, 0, 0, 1);
    EXPECT_STREQ(nearestStarsTitle(mode), "Nearest Stars [ra/dec]");
    // The ecliptic pole lies at right ascension 270 deg, declination 90 deg minus the obliquity.
    ReferenceStar pole = referenceAt(10, 10, 2.0f);
    pole.number = 1;
    pole.dir = {0, 1, 0};
    Constellation empty;
    std::string text;
    ASSERT_TRUE(buildNearestStarsList(mode, empty, &pole, 1, 10, 10, 5.0, text));
    long declinationMinutes = std::lround((90 - trueObliquity(kJ2000) * kRadToDeg) * 60);
    char expected[64];
    std::snprintf(expected, sizeof expected, "270\xBA" "00'  %2ld\xBA" "%02ld'",
                  declinationMinutes / 60, declinationMinutes % 60);
    EXPECT_EQ(lines(text)[0].substr(19, 15), expected);
}
