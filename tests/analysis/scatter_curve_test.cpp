// The Statistics window's figures: the scatter curve over evenly spaced epochs, lowest at the
// epoch an edition was recorded at, and the summary table with each figure under its heading.
#include <gtest/gtest.h>

#include "analysis/fit.h"
#include "analysis/statistics.h"
#include "analysis_fixtures.h"
#include "catalog/calendar.h"

TEST(ScatterCurve, DipsAtTheRecordedEpoch) {
    const std::unique_ptr<ReferenceCatalog> reference = shippedReference();
    EditionPtr edition = shippedEdition("cat2.dat");
    const double recorded = dayNumber(1, 1, 300);
    recordSkyOf(*edition, *reference, recorded, 45, 15);
    const MatchedStars stars = matchStars(*edition, *reference);
    const double first = dayNumber(1, 1, 100), last = dayNumber(1, 1, 500);
    const std::vector<EpochScatter> curve = scanEpochScatter(stars, first, last, 5);
    ASSERT_EQ(curve.size(), 5u);
    EXPECT_DOUBLE_EQ(curve.front().epochJd, first);
    EXPECT_NEAR(curve[2].epochJd, recorded, 1.0);
    EXPECT_DOUBLE_EQ(curve.back().epochJd, last);
    EXPECT_LT(curve[2].robustSpreadArcmin, 0.5);  // the rounding to whole minutes
    for (size_t k = 1; k < curve.size(); ++k)  // down to the recorded epoch, then up
        EXPECT_EQ(curve[k].robustSpreadArcmin > curve[k - 1].robustSpreadArcmin, k > 2) << k;
}

TEST(SummaryTable, EachFigureEndsWhereItsHeadingEnds) {
    ResidualSummary s;
    s.count = 12, s.meanLonArcmin = 1.5, s.medianLonArcmin = -2.5, s.meanLatArcmin = 3.5;
    s.medianLatArcmin = -4.5, s.medianSeparationArcmin = 5.5, s.rmsSeparationArcmin = 6.5;
    s.robustSpreadArcmin = 7.5, s.outliers.resize(9);
    const std::string heading = summaryTableHeading(), row = summaryTableRow("3", "Orion", s);
    const std::pair<std::string_view, std::string_view> columns[] = {
        {"#", "3"},          {"Stars", "12"},     {"Mean lon", "1.5"}, {"Med lon", "-2.5"},
        {"Mean lat", "3.5"}, {"Med lat", "-4.5"}, {"Med sep", "5.5"},  {"RMS sep", "6.5"},
        {"Spread", "7.5"},   {"Outliers", "9"}};
    for (const auto& [title, figure] : columns) {
        const size_t end = heading.find(title) + title.size();
        EXPECT_EQ(row.substr(end - figure.size(), figure.size()), figure) << title;
    }
}
