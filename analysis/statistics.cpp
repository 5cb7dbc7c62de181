#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>

#include "catalog/text_format.h"

namespace {

constexpr double kMadToSigma = 1.4826;

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return values.empty() ? 0.0 : sum / double(values.size());
}

// The summary of the stars at the given positions of `stars`.
ResidualSummary summarizeSelection(const std::vector<StarResidual>& stars,
                                   const std::vector<int>& chosen) {
    ResidualSummary summary;
    summary.count = int(chosen.size());
    if (chosen.empty()) return summary;
    std::vector<double> lon, lat, separation;
    double sumOfSquares = 0;
    for (int i : chosen) {
        lon.push_back(stars[size_t(i)].lonResidualArcmin);
        lat.push_back(stars[size_t(i)].latResidualArcmin);
        separation.push_back(stars[size_t(i)].separationArcmin);
        sumOfSquares += separation.back() * separation.back();
    }
    summary.meanLonArcmin = mean(lon);
    summary.medianLonArcmin = median(lon);
    summary.meanLatArcmin = mean(lat);
    summary.medianLatArcmin = median(lat);
    summary.medianSeparationArcmin = median(separation);
    summary.rmsSeparationArcmin = std::sqrt(sumOfSquares / double(chosen.size()));
    summary.robustSpreadArcmin = robustSpread(separation);
    const double limit = std::max(
        summary.medianSeparationArcmin + kOutlierSpreads * summary.robustSpreadArcmin,
        kOutlierFloorArcmin);
    for (int i : chosen) {
        const StarResidual& star = stars[size_t(i)];
        if (star.separationArcmin > limit)
            summary.outliers.push_back({star.star.number, star.star.constellation,
                                        star.star.designation, star.separationArcmin});
    }
    return summary;
}

}  // namespace

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + long(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1) return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + long(middle));
    return 0.5 * (lower + upper);
}

double robustSpread(const std::vector<double>& values) {
    const double centre = median(values);
    std::vector<double> deviations;
    deviations.reserve(values.size());
    for (double v : values) deviations.push_back(std::fabs(v - centre));
    return kMadToSigma * median(std::move(deviations));
}

ResidualSummary summarizeResiduals(const std::vector<StarResidual>& stars) {
    std::vector<int> all(stars.size());
    for (size_t i = 0; i < stars.size(); ++i) all[i] = int(i);
    return summarizeSelection(stars, all);
}

EditionStatistics summarizeEdition(const ResidualSet& residuals) {
    EditionStatistics statistics;
    statistics.edition = summarizeResiduals(residuals.stars);
    std::vector<int> members[kConstellationCount];
    for (size_t i = 0; i < residuals.stars.size(); ++i) {
        const int c = residuals.stars[i].star.constellation;
        if (c >= 0 && c < kConstellationCount) members[c].push_back(int(i));
    }
    for (int c = 0; c < kConstellationCount; ++c)
        statistics.constellations[c] = summarizeSelection(residuals.stars, members[c]);
    return statistics;
}

std::string summaryTableHeading() {
    return formatText("%3s %-17s %5s %8s %8s %8s %8s %8s %8s %7s %8s\n", "#", "Constellation",
                      "Stars", "Mean lon", "Med lon", "Mean lat", "Med lat", "Med sep", "RMS sep",
                      "Spread", "Outliers");
}

std::string summaryTableRow(const char* index, const char* name, const ResidualSummary& s) {
    if (s.count == 0) return formatText("%3s %-17s %5d\n", index, name, 0);
    return formatText("%3s %-17s %5d %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %7.1f %8zu\n", index, name,
                      s.count, s.meanLonArcmin, s.medianLonArcmin, s.meanLatArcmin,
                      s.medianLatArcmin, s.medianSeparationArcmin, s.rmsSeparationArcmin,
                      s.robustSpreadArcmin, s.outliers.size());
}
