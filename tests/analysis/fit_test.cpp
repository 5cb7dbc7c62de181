// The fits recover what an edition was made with: an edition recorded here from the sky of an
// epoch none of the samples uses, and the three shipped samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/fit.h"
#include "analysis_fixtures.h"
#include "catalog/calendar.h"

namespace {

constexpr double kLonOffsetArcmin = 90, kLatOffsetArcmin = -20;

// The sky of 1 Jan AD 600 to the nearest minute, with the offsets taken off.
struct EpochFitTest : ::testing::Test {
    std::unique_ptr<ReferenceCatalog> reference = shippedReference();
    EditionPtr edition = shippedEdition("cat1.dat");
    double epochJd = dayNumber(1, 1, 600);
    void SetUp() override {
        recordSkyOf(*edition, *reference, epochJd, kLonOffsetArcmin, kLatOffsetArcmin);
    }
};

double arcmin(double rad) { return rad * kArcminPerRad; }

}  // namespace

TEST_F(EpochFitTest, OnlyTheRobustOffsetsStayPutWhenSomeStarsAreWild) {
    struct Case {
        int wildStars;  // moved a sign (30 degrees) along the ecliptic
        OffsetMethod method;
        bool pulled;
    } cases[] = {{0, OffsetMethod::LeastSquares, false}, {0, OffsetMethod::Robust, false},
                 {40, OffsetMethod::LeastSquares, true}, {40, OffsetMethod::Robust, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wildStars);
        auto spoilt = std::make_unique<AncientCatalog>(*edition);
        for (int k = 0; k < c.wildStars; ++k) spoilt->constellations[k].stars[0].zodiacSign ^= 1;
        ResidualSet set = computeResiduals(*spoilt, *reference, {epochJd, 0, 0});
        OffsetFit fit = fitOffsets(set, c.method);
        const double miss = std::hypot(arcmin(fit.lonOffsetRad) - kLonOffsetArcmin,
                                       arcmin(fit.latOffsetRad) - kLatOffsetArcmin);
        EXPECT_EQ(miss > 5, c.pulled) << miss;
        EXPECT_LT(miss, c.pulled ? 60 : 0.5);
        EXPECT_EQ(fit.starsUsed + fit.starsClipped, 1028);
        EXPECT_GE(fit.starsClipped, c.method == OffsetMethod::Robust ? c.wildStars : 0);
    }
}

TEST_F(EpochFitTest, EpochAndOffsetsComeBackWithinTwiceTheirUncertainty) {
    // One fast star recorded a sign away must be clipped, not followed.
    auto spoilt = std::make_unique<AncientCatalog>(*edition);
    for (AncientStar& star : spoilt->constellations[4].stars) {
        const ReferenceStar& modern =
            reference->stars[lookUpReferenceStar(reference->index, star.identification)];
        if (std::hypot(modern.pmRa, modern.pmDec) > kFastStarArcsecPerYr) {
            star.zodiacSign = (star.zodiacSign + 1) % 12;
            break;
        }
    }
    EpochFit fit = fitEpoch(*spoilt, *reference, EpochFitOptions());
    ASSERT_TRUE(fit.fitted) << fit.problem;
    const double missYears = (fit.epochJd - epochJd) / 365.25;
    EXPECT_LT(std::fabs(missYears), 2 * fit.uncertainty.epochYears) << missYears;
    EXPECT_LT(std::fabs(missYears), 5);
    EXPECT_LT(std::fabs(arcmin(fit.lonOffsetRad) - kLonOffsetArcmin),
              2 * fit.uncertainty.lonOffsetArcmin);
    EXPECT_LT(std::fabs(arcmin(fit.latOffsetRad) - kLatOffsetArcmin),
              2 * fit.uncertainty.latOffsetArcmin);
    EXPECT_EQ(fit.uncertaintySource, UncertaintySource::Bootstrap);
    EXPECT_EQ(fit.uncertainty.epochYears, fit.bootstrap.epochYears);
    EXPECT_NEAR(fit.bootstrap.epochYears / fit.formal.epochYears, 1, 0.25);
    EXPECT_GE(fit.starsClipped, 1);
    EXPECT_EQ(fit.fastStars, 41);
    EXPECT_TRUE(fit.epochLonCorrelation > 0.9 && fit.epochLonCorrelation <= 1.0);
    // Positions rounded to whole minutes miss by 1 / sqrt(12) minutes in each coordinate.
    EXPECT_NEAR(fit.rmsArcmin, 1 / std::sqrt(12.0), 0.03);
    EXPECT_FALSE(fit.atRangeEdge);
    EXPECT_NE(fitEpoch(*newEdition(), *reference, EpochFitOptions()).problem.find("identified"),
              std::string::npos);  // nothing identified, nothing to fit
}

TEST(SampleEditions, FitsGiveBackTheEpochsAndOffsetsTheyWereMadeWith) {
    struct Sample {
        const char* file;
        double epochJd, lonOffsetArcmin;
    } samples[] = {{"cat1.dat", 1771298.0, 0}, {"cat2.dat", 1771298.0, 60},
                   {"cat3.dat", 1673941.0, -160}};
    auto reference = shippedReference();
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.file);
        EditionPtr edition = shippedEdition(s.file);
        ASSERT_TRUE(edition);
        EpochFit fit = fitEpoch(*edition, *reference, EpochFitOptions());
        ASSERT_TRUE(fit.fitted) << fit.problem;
        const double missYears = (fit.epochJd - s.epochJd) / 365.25;
        EXPECT_LT(std::fabs(missYears), 2 * fit.uncertainty.epochYears) << missYears;
        // Epoch and longitude offset move together; where the epoch is loose, so is the offset.
        EXPECT_LT(std::fabs(arcmin(fit.lonOffsetRad) - s.lonOffsetArcmin),
                  std::max(10.0, 2 * fit.uncertainty.lonOffsetArcmin));
        EXPECT_LT(std::fabs(arcmin(fit.latOffsetRad)), 10);
        EXPECT_EQ(fit.fastStars, 42);  // of the 1028 modern stars, those beyond 0.5"/yr
        // At the epoch it was made for, the offsets that line a sample up are the ones it got.
        OffsetFit atEpoch =
            fitOffsets(computeResiduals(*edition, *reference, {s.epochJd, 0, 0}), OffsetMethod::Robust);
        EXPECT_NEAR(arcmin(atEpoch.lonOffsetRad), s.lonOffsetArcmin, 10);
        EXPECT_NEAR(arcmin(atEpoch.latOffsetRad), 0, 10);
    }
}
