// Summaries of residuals against values worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/statistics.h"

namespace {

struct Group {
    const char* what;
    std::vector<double> separations;  // lon residual = separation, lat residual = -separation / 2
    double median, spread, rms;
    std::vector<int> outliers;  // positions in the group, counted from 1
};

// Spread: 1.4826 x the median of |s - median|. Outliers: beyond median + 3 spreads and 60'.
const Group kGroups[] = {
    {"none", {}, 0, 0, 0, {}},
    {"a single star far off", {100}, 100, 0, 100, {}},
    {"odd count, one wild", {3, 1, 200, 2, 4}, 3, 1.4826, 89.4763, {3}},
    {"even count", {4, 1, 3, 2}, 2.5, 1.4826, 2.7386, {}},
    {"ties leave no spread", {5, 5, 90, 5, 5}, 5, 0, 40.4970, {3}},
    {"beyond a degree, within three spreads", {10, 20, 30, 40, 70}, 30, 14.826, 39.7492, {}},
    {"beyond three spreads, within a degree", {1, 1, 1, 2, 50}, 1, 0, 22.3920, {}},
};

std::vector<StarResidual> starsOf(const Group& group, int constellation, int firstNumber) {
    std::vector<StarResidual> stars;
    for (double s : group.separations) {
        StarResidual r;
        r.star.number = firstNumber + int(stars.size());
        r.star.constellation = constellation;
        r.star.designation = "s" + std::to_string(r.star.number);
        r.lonResidualArcmin = s, r.latResidualArcmin = -s / 2, r.separationArcmin = s;
        stars.push_back(r);
    }
    return stars;
}

void expectSummary(const ResidualSummary& summary, const Group& group, int firstNumber) {
    SCOPED_TRACE(group.what);
    const double n = double(group.separations.size());
    double mean = 0;
    for (double s : group.separations) mean += n > 0 ? s / n : 0;
    EXPECT_EQ(summary.count, int(n));
    EXPECT_NEAR(summary.medianSeparationArcmin, group.median, 1e-9);
    EXPECT_NEAR(summary.medianLonArcmin, group.median, 1e-9);
    EXPECT_NEAR(summary.medianLatArcmin, -group.median / 2, 1e-9);
    EXPECT_NEAR(summary.meanLonArcmin, mean, 1e-9);
    EXPECT_NEAR(summary.meanLatArcmin, -mean / 2, 1e-9);
    EXPECT_NEAR(summary.robustSpreadArcmin, group.spread, 1e-9);
    EXPECT_NEAR(summary.rmsSeparationArcmin, group.rms, 1e-4);
    ASSERT_EQ(summary.outliers.size(), group.outliers.size());
    for (size_t k = 0; k < group.outliers.size(); ++k) {
        const Outlier& o = summary.outliers[k];
        EXPECT_EQ(o.number, firstNumber + group.outliers[k] - 1);
        EXPECT_EQ(o.designation, "s" + std::to_string(o.number));
        EXPECT_EQ(o.separationArcmin, group.separations[size_t(group.outliers[k] - 1)]);
    }
}

}  // namespace

TEST(Statistics, AnEditionIsSummedUpPerConstellationAndAsAWhole) {
    // Group g goes to constellation 3 g + 1; the whole edition is the groups together.
    ResidualSet set;
    std::vector<double> all;
    for (size_t g = 0; g < std::size(kGroups); ++g) {
        for (StarResidual& r : starsOf(kGroups[g], int(3 * g + 1), int(set.stars.size()) + 1))
            set.stars.push_back(r);
        all.insert(all.end(), kGroups[g].separations.begin(), kGroups[g].separations.end());
    }
    EditionStatistics statistics = summarizeEdition(set);
    for (size_t g = 0, first = 1; g < std::size(kGroups); first += kGroups[g++].separations.size())
        expectSummary(statistics.constellations[3 * g + 1], kGroups[g], int(first));
    EXPECT_EQ(statistics.constellations[0].count, 0);
    EXPECT_EQ(statistics.edition.count, int(all.size()));
    EXPECT_DOUBLE_EQ(statistics.edition.medianSeparationArcmin, median(all));
    EXPECT_DOUBLE_EQ(statistics.edition.robustSpreadArcmin, 1.4826 * 4);  // |s - 5|: median 4
    ASSERT_EQ(statistics.edition.outliers.size(), 4u);  // 100, 200, 90, 70: beyond 5 + 17.8 and 60
}
