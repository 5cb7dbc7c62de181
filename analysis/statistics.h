// Summaries of residuals: per constellation and for the whole edition, the count, the mean and
// median of both residuals, the RMS and a robust spread of the separation, and the outliers.
// The analysis tool and the viewer's Statistics window show these; the fits use the median and
// the robust spread to decide which stars to leave out.
#pragma once

#include <string>
#include <vector>

#include "analysis/residuals.h"

// Median of the values, the mean of the two middle ones for an even count; 0 for none.
double median(std::vector<double> values);
// 1.4826 times the median absolute deviation from the median: the standard deviation for
// normally distributed values, unmoved by a few wild ones. 0 for none.
double robustSpread(const std::vector<double>& values);

// A star is an outlier when its separation lies more than this many robust spreads beyond the
// median separation of its group, and more than the floor besides.
constexpr double kOutlierSpreads = 3.0;
constexpr double kOutlierFloorArcmin = 60.0;

struct Outlier {
    int number = 0;  // running number in the edition, 1..1028
    int constellation = 0;
    std::string designation;
    double separationArcmin = 0;
};

// With no stars every figure is 0 and there are no outliers.
struct ResidualSummary {
    int count = 0;
    double meanLonArcmin = 0, medianLonArcmin = 0;  // longitude residual, scaled to the sky
    double meanLatArcmin = 0, medianLatArcmin = 0;
    double medianSeparationArcmin = 0;
    double rmsSeparationArcmin = 0;
    double robustSpreadArcmin = 0;  // of the separation
    std::vector<Outlier> outliers;  // edition order
};

struct EditionStatistics {
    ResidualSummary edition;
    ResidualSummary constellations[kConstellationCount];  // table order
};

ResidualSummary summarizeResiduals(const std::vector<StarResidual>& stars);
EditionStatistics summarizeEdition(const ResidualSet& residuals);

// The table of summaries the analysis tool and the Statistics window print, one line each: the
// heading, then a row per group with its index (may be empty), name, star count and figures in
// minutes of arc, lines ended by "\n".
std::string summaryTableHeading();
std::string summaryTableRow(const char* index, const char* name, const ResidualSummary& s);
