#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "geometry/nearest_stars.h"

namespace {

// A star of either catalogue where the last repaint put it.
template <typename Star>
Star at(float x, float y, float magnitude = 0, int visible = 1) {
    Star star;
    star.screenX = x, star.screenY = y, star.magnitude = magnitude, star.visible = visible;
    return star;
}

}  // namespace

TEST(NearestStarsSearch, TheAncientStarWithinTheRadiusIncludedTheEarlierOfTwoAtOneDistance) {
    // Stars 1, 2 and 3 are exactly 10 from (100, 100); star 2 is also 10 from (112, 116).
    Constellation c;
    c.stars = {at<AncientStar>(130, 140), at<AncientStar>(90, 100), at<AncientStar>(106, 108),
               at<AncientStar>(110, 100)};
    const std::tuple<int, int, double, int> cases[] = {  // click, radius, star found
        {100, 100, 10.0, 1}, {112, 116, 10.0, 2}, {112, 116, 9.99, -1}, {120, 100, 1e9, 3}};
    for (const auto& [x, y, radius, expected] : cases)
        EXPECT_EQ(findNearestAncientStar(c, x, y, radius), expected)
            << "click " << x << "," << y << ", radius " << radius;
    c.stars[2].visible = 0;
    EXPECT_EQ(findNearestAncientStar(c, 112, 116, 10.0), -1);
}

TEST(NearestStarsSearch, FiveReferenceStarsStrictlyWithinTheRadiusByMagnitudeTimesDistance) {
    using R = ReferenceStar;
    const std::tuple<std::vector<R>, double, std::vector<int>> cases[] = {  // stars, radius, found
        {{at<R>(106, 108, 1)}, 10.0, {}},
        {{at<R>(106, 108, 1)}, 10.01, {0}},
        // Keys 6, 3, 6, 5, 8, 4, 2 and a hidden 0: keys 2 to 5, then the first of the two 6s.
        {{at<R>(102, 100, 3), at<R>(100, 103, 1), at<R>(97, 100, 2), at<R>(100, 99, 5),
          at<R>(108, 100, 1), at<R>(101, 100, 4), at<R>(100, 96, 0.5f), at<R>(100, 100, 0, 0)},
         50.0, {6, 1, 5, 3, 0}},
        // A negative magnitude puts the farther star first; a key of 1000 or more never enters.
        {{at<R>(101, 100, -1), at<R>(104, 100, -1), at<R>(225, 100, 8), at<R>(224, 100, 8)},
         200.0, {1, 0, 3}},
    };
    for (const auto& [stars, radius, expected] : cases) {
        int found[kNearestReferenceCount];
        int count = findNearestReferenceStars(stars.data(), int(stars.size()), 100, 100, radius,
                                              found);
        EXPECT_EQ(std::vector<int>(found, found + count), expected) << "radius " << radius;
    }
}
