// The scatter curve of the Statistics window: evenly spaced epochs over the range, the offsets
// fitted at each, and a spread that grows away from the epoch an edition was recorded at.
#include <gtest/gtest.h>

#include "analysis/fit.h"
#include "analysis_fixtures.h"
#include "catalog/calendar.h"

TEST(ScatterCurve, DipsAtTheRecordedEpochWithTheOffsetsThatLineItUp) {
    const std::unique_ptr<ReferenceCatalog> reference = shippedReference();
    EditionPtr edition = shippedEdition("cat2.dat");
    const double recorded = dayNumber(1, 1, 300);
    recordSkyOf(*edition, *reference, recorded, 45, 15, 1);
    const MatchedStars stars = matchStars(*edition, *reference);
    const double first = dayNumber(1, 1, 100), last = dayNumber(1, 1, 500);

    const std::vector<EpochScatter> curve = scanEpochScatter(stars, first, last, 5);
    ASSERT_EQ(curve.size(), 5u);
    EXPECT_DOUBLE_EQ(curve.front().epochJd, first);
    EXPECT_NEAR(curve[2].epochJd, recorded, 1.0);
    EXPECT_DOUBLE_EQ(curve.back().epochJd, last);
    // At the recorded epoch only the rounding to whole minutes is left.
    EXPECT_LT(curve[2].robustSpreadArcmin, 0.5);
    EXPECT_NEAR(curve[2].lonOffsetRad * kArcminPerRad, 45, 0.5);
    EXPECT_NEAR(curve[2].latOffsetRad * kArcminPerRad, 15, 0.5);
    EXPECT_GT(curve[1].robustSpreadArcmin, curve[2].robustSpreadArcmin);
    EXPECT_GT(curve[0].robustSpreadArcmin, curve[1].robustSpreadArcmin);
    EXPECT_GT(curve[3].robustSpreadArcmin, curve[2].robustSpreadArcmin);
    EXPECT_GT(curve[4].robustSpreadArcmin, curve[3].robustSpreadArcmin);

    // Nothing to draw without a range or stars; one sample is taken as the two ends.
    EXPECT_TRUE(scanEpochScatter(stars, last, first, 5).empty());
    EXPECT_TRUE(scanEpochScatter(MatchedStars(), first, last, 5).empty());
    EXPECT_EQ(scanEpochScatter(stars, first, last, 1).size(), 2u);
}
