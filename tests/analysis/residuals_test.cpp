#include <gtest/gtest.h>

#include <cstring>

#include "analysis/residuals.h"
#include "analysis_fixtures.h"
#include "catalog/precession.h"

TEST(Residuals, StarsWithoutAKnownModernStarAreListedNotGuessed) {
    auto reference = std::make_unique<ReferenceCatalog>();
    clearNumberIndex(reference->index);
    reference->stars[0].number = 1, reference->stars[0].distance = 1000;
    reference->index.slot[1] = 0;
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
    std::vector<ReferenceStar> stars(viewer->stars, viewer->stars + kReferenceStarCount);
    for (double jd : {1356183.5, 1673941.0, 1771298.0, 2268933.0, 2634166.0}) {
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
