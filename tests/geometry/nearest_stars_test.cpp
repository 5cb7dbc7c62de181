#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "geometry/nearest_stars.h"

namespace {

AncientStar ancientAt(float x, float y, int visible = 1) {
    AncientStar star;
    star.screenX = x, star.screenY = y, star.visible = visible;
    return star;
}

ReferenceStar referenceAt(float x, float y, float magnitude, int visible = 1) {
    ReferenceStar star;
    star.screenX = x, star.screenY = y, star.magnitude = magnitude, star.visible = visible;
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

TEST(NearestStarsSearch, RadiusRulesAndTheFiveSmallestKeys) {
    // The radius is the view's pixels per degree; (106, 108) is exactly 10 from (100, 100).
    Constellation c;
    c.stars = {ancientAt(130, 140), ancientAt(90, 100), ancientAt(106, 108), ancientAt(110, 100)};
    EXPECT_EQ(findNearestAncientStar(c, 100, 100, 10.0), 1);  // of three at 10, the first
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 10.0), 2);  // at exactly the radius
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 9.99), -1);
    c.stars[2].visible = 0;
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 10.0), -1);
    int found[kNearestReferenceCount];
    ReferenceStar onRadius = referenceAt(106, 108, 1.0f);
    EXPECT_EQ(findNearestReferenceStars(&onRadius, 1, 100, 100, 10.0, found), 0);
    EXPECT_EQ(findNearestReferenceStars(&onRadius, 1, 100, 100, 10.01, found), 1);

    // Keys, magnitude times distance: 6, 3, 6, 5, 8, 4, 2, and a hidden 0.
    std::vector<ReferenceStar> stars = {
        referenceAt(102, 100, 3),   referenceAt(100, 103, 1),   referenceAt(97, 100, 2),
        referenceAt(100, 99, 5),    referenceAt(108, 100, 1),   referenceAt(101, 100, 4),
        referenceAt(100, 96, 0.5f), referenceAt(100, 100, 0, 0)};
    ASSERT_EQ(findNearestReferenceStars(stars.data(), 8, 100, 100, 50.0, found), 5);
    const int expected[] = {6, 1, 5, 3, 0};  // keys 2 to 5, then the first of the two 6s
    for (int k = 0; k < 5; ++k) EXPECT_EQ(found[k], expected[k]) << k;
    // A negative magnitude puts the farther star first; a key of 1000 or more never enters.
    stars = {referenceAt(101, 100, -1), referenceAt(104, 100, -1), referenceAt(225, 100, 8),
             referenceAt(224, 100, 8)};
    ASSERT_EQ(findNearestReferenceStars(stars.data(), 4, 100, 100, 200.0, found), 3);
    EXPECT_TRUE(found[0] == 1 && found[1] == 0 && found[2] == 3);
}

TEST(NearestStarsText, ListsTheAncientStarARuleAndTheReferenceStars) {
    EXPECT_EQ(positionText(123.5 * kDegToRad, -5.25 * kDegToRad), "123\xBA" "30' - 5\xBA" "15'");
    EXPECT_EQ(positionText(kTwoPi - 0.4 * kDegToRad / 60, -0.4 * kDegToRad / 60),
              "360\xBA" "00'   0\xBA" "00'");  // rounded to whole minutes, no sign on zero
    Constellation c;
    c.name = "Lyra";
    c.stars = {ancientAt(50, 50),
               {2, 8, 17, 20, 0, 62, 0, 1.0f, "alp Lyr", "the bright star of the lyre", 7001, 149}};
    AncientStar& star = c.stars[1];
    star.screenX = star.screenY = 100, star.visible = 1;
    std::vector<ReferenceStar> refs(6, referenceAt(102, 100, 0.03f));
    refs[0].number = 7001;
    std::strcpy(refs[0].name, "3 alp Lyr");
    lonLatToVec3((257 + 20 / 60.0) * kDegToRad, 61.75 * kDegToRad, refs[0].dir);
    NearestStarsMode mode;
    nearestStarsSetMode(mode, 2451545.0, 0, 0, 0);
    EXPECT_STREQ(nearestStarsTitle(mode), "Nearest Stars [lon/lat]");
    std::string text;
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 1, 101, 100, 10.0, text));
    const std::vector<std::string> expected = {
        "149 Lyra 2", "the bright star of the lyre",
        "7001      alp Lyr  257\xBA" "20'  62\xBA" "00'  1.0", std::string(40, '-'),
        "7001    3 alp Lyr  257\xBA" "20'  61\xBA" "45'  0.03"};
    EXPECT_EQ(lines(text), expected);
    EXPECT_FALSE(buildNearestStarsList(mode, c, refs.data(), 1, 300, 20, 10.0, text));

    // Faint and nebulous codes, no identification, the offsets added to the ancient position.
    nearestStarsSetMode(mode, 2451545.0, float(kDegToRad), float(-kDegToRad), 0);
    star.identification = 0;
    for (const auto& [magnitude, shown] : {std::pair(6.5f, "  fnt."), std::pair(7.0f, "  neb.")}) {
        star.magnitude = magnitude;
        ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 0, 100, 100, 10.0, text));
        const std::string place = "          alp Lyr  258\xBA" "20'  61\xBA" "00'";
        EXPECT_EQ(lines(text)[2], place + shown);
    }
    // A 460-character description and a long list stay whole; names are cut to 12 columns.
    star.description = std::string(460, 'x');
    std::strcpy(refs[4].name, "abcdefghijklmno");  // the sixth is not listed
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 6, 100, 100, 10.0, text));
    std::vector<std::string> l = lines(text);
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[1], star.description);
    EXPECT_EQ(l[8].substr(0, 18), "   0 abcdefghijkl ");
    for (size_t i = 3; i < 9; ++i) EXPECT_EQ(l[i].size(), 40u) << i;  // as wide as the window

    // A sign number whose 30-fold passes the int range: 2147483670 degrees is 150 of the circle.
    nearestStarsSetMode(mode, 2451545.0, 0, 0, 0);
    star.zodiacSign = 71582789, star.signDegrees = 0, star.lonMinutes = 0;
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 1, 100, 100, 10.0, text));
    EXPECT_EQ(lines(text)[2].substr(19, 15), "150\xBA" "00'  62\xBA" "00'");

    // Equatorial: the ecliptic pole at right ascension 270, declination 90 - 23 deg 26.3'.
    nearestStarsSetMode(mode, 2451545.0, 0, 0, 1);
    EXPECT_STREQ(nearestStarsTitle(mode), "Nearest Stars [ra/dec]");
    refs[0].dir = {0, 1, 0};
    ASSERT_TRUE(buildNearestStarsList(mode, c, refs.data(), 1, 300, 100, 500.0, text));
    EXPECT_EQ(lines(text).back().substr(19, 15), "270\xBA" "00'  66\xBA" "34'");
}
