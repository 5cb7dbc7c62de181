#include <gtest/gtest.h>

#include "analysis/residuals.h"
#include "analysis_fixtures.h"

TEST(Residuals, StarsWithoutAKnownModernStarAreListedNotGuessed) {
    auto reference = std::make_unique<ReferenceCatalog>();
    clearNumberIndex(reference->index);
    reference->stars[0].number = 1, reference->stars[0].distance = 1000;
    reference->index.slot[1] = 0;
    EditionPtr edition = newEdition();
    edition->constellations[0].stars[0].identification = 1;
    edition->constellations[0].stars[1].identification = 650;  // no such reference star
    edition->constellations[47].stars[17].identification = -3;
    ResidualSet set = computeResiduals(*edition, *reference, {});
    EXPECT_EQ(set.stars.size(), 1u);
    EXPECT_EQ(set.notInReferenceCount, 2);
    EXPECT_EQ(set.unidentifiedCount, 1028 - 3);
    ASSERT_EQ(set.unresolved.size(), 1027u);
    EXPECT_EQ(set.unresolved[0].star.number, 2);
    EXPECT_EQ(set.unresolved[0].reason, UnresolvedReason::NotInReference);
    EXPECT_EQ(set.unresolved.back().reason, UnresolvedReason::NotInReference);
}
