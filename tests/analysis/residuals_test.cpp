// Residuals of hand-made editions whose stars sit at known places beside their modern stars.
#include <gtest/gtest.h>

#include <cstring>

#include "analysis/residuals.h"
#include "analysis_fixtures.h"
#include "catalog/precession.h"

namespace {

constexpr double kEpoch = 1771298.0;

struct Placement {
    const char* what;
    double modernLonDeg, modernLatDeg, recordedLonDeg, recordedLatDeg;
    double lonOffsetArcmin, latOffsetArcmin;
    double lonArcmin, latArcmin, separationArcmin;  // worked out on paper
};

const Placement kPlacements[] = {
    {"30' east at 20 north", 100, 20, 100.5, 20, 0, 0, 28.190779, 0, 28.190768},
    {"45' north at 10 south", 250, -10, 250, -9.25, 0, 0, 0, 45, 45},
    {"across longitude 0", 359 + 50 / 60.0, 5, 10 / 60.0, 5, 0, 0, 19.923894, 0, 19.923894},
    {"west and south", 200, 60, 199, 59, 0, 0, -30, -60, 67.283714},
    {"lined up by the offsets", 40, -30, 39, -30 - 20 / 60.0, 60, 20, 0, 0, 0},
    {"over the pole by the offset", 280, 89 + 50 / 60.0, 100, 89 + 50 / 60.0, 0, 20, 0, 0, 0},
};

}  // namespace

TEST(Residuals, StarsAtKnownPlacesGiveTheirDistancesInMinutesOfArc) {
    auto reference = emptyReferenceCatalog();
    EditionPtr edition = newEdition();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.what);
        placeReferenceStar(*reference, 0, 17, p.modernLonDeg, p.modernLatDeg, kEpoch);
        AncientStar& star = edition->constellations[5].stars[2];
        star.identification = 17;
        recordPosition(star, p.recordedLonDeg, p.recordedLatDeg);
        Alignment alignment = {kEpoch, p.lonOffsetArcmin / kArcminPerRad,
                               p.latOffsetArcmin / kArcminPerRad};
        ResidualSet set = computeResiduals(*edition, *reference, alignment);
        ASSERT_EQ(set.stars.size(), 1u);
        const StarResidual& r = set.stars[0];
        EXPECT_NEAR(r.lonResidualArcmin, p.lonArcmin, 1e-3);
        EXPECT_NEAR(r.latResidualArcmin, p.latArcmin, 1e-3);
        EXPECT_NEAR(r.separationArcmin, p.separationArcmin, 1e-3);
        EXPECT_NEAR(r.modernLatDeg, p.modernLatDeg, 1e-5);
        EXPECT_EQ(r.star.number, 8 + 35 + 31 + 13 + 23 + 3);  // third after five constellations
        EXPECT_EQ(set.unidentifiedCount, 1027);
    }
}

TEST(Residuals, StarsWithoutAKnownModernStarAreListedNotGuessed) {
    auto reference = emptyReferenceCatalog();
    placeReferenceStar(*reference, 0, 1, 10, 0, kEpoch);
    EditionPtr edition = newEdition();
    edition->constellations[0].stars[0].identification = 1;
    edition->constellations[0].stars[1].identification = 650;  // no such reference star
    edition->constellations[47].stars[17].identification = -3;
    std::strcpy(edition->constellations[0].stars[1].designation, "Polaris?");
    ResidualSet set = computeResiduals(*edition, *reference, {});
    EXPECT_EQ(set.stars.size(), 1u);
    EXPECT_EQ(set.notInReferenceCount, 2);
    EXPECT_EQ(set.unidentifiedCount, 1028 - 3);
    ASSERT_EQ(set.unresolved.size(), 1027u);
    EXPECT_EQ(set.unresolved[0].star.number, 2);
    EXPECT_EQ(set.unresolved[0].star.designation, "Polaris?");
    EXPECT_EQ(set.unresolved[0].reason, UnresolvedReason::NotInReference);
    EXPECT_EQ(set.unresolved.back().star.number, 1028);
    EXPECT_EQ(set.unresolved.back().reason, UnresolvedReason::NotInReference);
}

TEST(Residuals, ModernStarsAreCarriedExactlyAsTheViewerCarriesThemAndItsCatalogueIsLeftAlone) {
    auto viewer = shippedReference();
    const double epochs[] = {1356183.5, 1673941.0, 1771298.0, 2268933.0, 2634166.0};
    std::vector<ReferenceStar> stars(viewer->stars, viewer->stars + kReferenceStarCount);
    for (double jd : epochs) {
        applyEpoch(*viewer, jd);
        std::vector<Vector3> carried = carryToEpoch(stars, jd);
        for (int i = 0; i < kReferenceStarCount; ++i)
            ASSERT_TRUE(std::memcmp(&carried[i], &viewer->stars[i].dir, sizeof(Vector3)) == 0)
                << "star " << viewer->stars[i].number << " at JD " << jd;
    }
    auto before = std::make_unique<ReferenceCatalog>(*viewer);
    EditionPtr edition = shippedEdition("cat2.dat");
    computeResiduals(*edition, *viewer, {});
    EXPECT_EQ(std::memcmp(before.get(), viewer.get(), sizeof(ReferenceCatalog)), 0);
}
