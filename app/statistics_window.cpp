#include "app/statistics_window.h"

#include <algorithm>
#include <cmath>

#include "analysis/statistics.h"
#include "app/commands.h"
#include "app/state.h"
#include "catalog/calendar.h"
#include "catalog/epoch_text.h"
#include "catalog/text_format.h"

namespace {

// The scatter's half width: the first of these (minutes of arc) that holds nearly every star.
constexpr double kScatterScales[] = {15, 30, 60, 90, 120, 180, 240, 360, 600};
constexpr double kScatterShare = 0.95;

double scatterHalfWidth(const std::vector<StarResidual>& stars) {
    std::vector<double> extents;
    for (const StarResidual& s : stars)
        extents.push_back(std::max(std::fabs(s.lonResidualArcmin), std::fabs(s.latResidualArcmin)));
    if (extents.empty()) return kScatterScales[0];
    const size_t at = std::min(extents.size() - 1, size_t(kScatterShare * double(extents.size())));
    std::nth_element(extents.begin(), extents.begin() + long(at), extents.end());
    for (double scale : kScatterScales)
        if (extents[at] <= scale) return scale;
    return kScatterScales[std::size(kScatterScales) - 1];
}

std::string summaryText(const AncientCatalog& edition, const EpochSetting& epoch,
                        int constellation, const ResidualSet& residuals,
                        const EditionStatistics& statistics) {
    const char* name = kConstellationTable[constellation].name;
    std::string text = formatText("%s at %s, offsets %s in longitude, %s in latitude\n",
                                  edition.name.c_str(), formatEpoch(epoch.epoch).c_str(),
                                  formatOffset(epoch.offsetLon).c_str(),
                                  formatOffset(epoch.offsetLat).c_str());
    text += formatText("%zu stars compared, %d without identification, %d not in the reference "
                       "catalogue\n\n",
                       residuals.stars.size(), residuals.unidentifiedCount,
                       residuals.notInReferenceCount);
    text += summaryTableHeading();
    text += summaryTableRow(std::to_string(constellation).c_str(), name,
                            statistics.constellations[constellation]);
    text += summaryTableRow("", "Whole edition", statistics.edition);
    const std::vector<Outlier>& outliers = statistics.constellations[constellation].outliers;
    text += formatText("\nOutliers in %s:%s\n", name, outliers.empty() ? " none" : "");
    for (const Outlier& o : outliers)
        text += formatText("  star %4d  %-12s %7.1f'\n", o.number, withoutTrailingBlanks(o.designation).c_str(),
                           o.separationArcmin);
    return text;
}

std::string fitText(const StatisticsFit& f) {
    if (!f.fit.fitted) return "The epoch could not be fitted: " + f.fit.problem + ".";
    const FitUncertainty& u = f.fit.uncertainty;
    return formatText(
        "Epoch fit %s +- %.0f years, offsets %s +- %.1f' and %s +- %.1f' (searched %s to %s; "
        "%d stars, %d of them fast, correlation %+.3f)",
        formatEpoch(f.fit.epochJd).c_str(), u.epochYears,
        formatOffset(float(f.fit.lonOffsetRad)).c_str(), u.lonOffsetArcmin,
        formatOffset(float(f.fit.latOffsetRad)).c_str(), u.latOffsetArcmin,
        formatEpoch(f.firstJd).c_str(), formatEpoch(f.lastJd).c_str(), f.fit.starsUsed,
        f.fit.fastStars, f.fit.epochLonCorrelation);
}

bool samePoints(const std::vector<PlotPoint>& a, const std::vector<PlotPoint>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PlotPoint& p, const PlotPoint& q) { return p.x == q.x && p.y == q.y; });
}

bool sameContent(const StatisticsContent& a, const StatisticsContent& b) {
    return a.title == b.title && a.summary == b.summary && a.fitText == b.fitText &&
           a.scatterHalfWidth == b.scatterHalfWidth && samePoints(a.scatter, b.scatter) &&
           samePoints(a.scatterHighlighted, b.scatterHighlighted) && samePoints(a.curve, b.curve);
}

// The content for the current edition, constellation and epoch; false before the catalogues.
bool currentContent(StatisticsContent& content) {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    if (!edition || !theApp.reference) return false;
    content = statisticsContent(*edition, *theApp.reference, theApp.epoch, theApp.constellation,
                                theApp.statistics.epochFit);
    return true;
}

void show(const StatisticsContent& content) {
    theApp.statistics.shown = content;
    platformStatisticsShow(content);
}

}  // namespace

StatisticsContent statisticsContent(const AncientCatalog& edition,
                                    const ReferenceCatalog& reference,
                                    const EpochSetting& epoch, int constellation,
                                    const StatisticsFit& fit) {
    const ResidualSet residuals = computeResiduals(edition, reference, alignmentOf(epoch));
    const EditionStatistics statistics = summarizeEdition(residuals);
    StatisticsContent content;
    content.title = kStatisticsTitle;
    content.summary = summaryText(edition, epoch, constellation, residuals, statistics);
    content.scatterHalfWidth = scatterHalfWidth(residuals.stars);
    for (const StarResidual& s : residuals.stars) {
        const double limit = content.scatterHalfWidth;
        const PlotPoint point = {std::clamp(s.lonResidualArcmin, -limit, limit),
                                 std::clamp(s.latResidualArcmin, -limit, limit)};
        (s.star.constellation == constellation ? content.scatterHighlighted : content.scatter)
            .push_back(point);
    }
    if (fit.edition != &edition) return content;
    content.fitText = fitText(fit);
    for (const EpochScatter& point : fit.curve) {
        content.curve.push_back({historicalYear(point.epochJd), point.robustSpreadArcmin});
        if (content.curve.size() == 1 || content.curve.back().y < content.curveMinimum.y)
            content.curveMinimum = content.curve.back();
    }
    content.epochFitted = fit.fit.fitted;
    if (fit.fit.fitted) content.fittedYear = historicalYear(fit.fit.epochJd);
    return content;
}

void showStatisticsWindow() {
    StatisticsContent content;
    if (currentContent(content)) show(content);
}

void refreshStatisticsWindow() {
    StatisticsContent content;
    if (!platformStatisticsIsOpen() || !currentContent(content)) return;
    if (!sameContent(content, theApp.statistics.shown)) show(content);
}

void fitStatisticsEpoch() {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    if (!edition || !theApp.reference) return;
    const EpochFitOptions options;
    const MatchedStars stars = matchStars(*edition, *theApp.reference);
    StatisticsFit& f = theApp.statistics.epochFit;
    f.edition = edition;
    f.firstJd = options.firstJd;
    f.lastJd = options.lastJd;
    f.fit = fitEpoch(stars, options);
    f.curve = scanEpochScatter(stars, options.firstJd, options.lastJd, kScatterCurveSamples);
    if (platformStatisticsIsOpen()) showStatisticsWindow();
}

void applyStatisticsOffsets() {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    if (!edition || !theApp.reference) return;
    const OffsetFit fit = fitOffsets(
        computeResiduals(*edition, *theApp.reference, alignmentOf(theApp.epoch)), OffsetMethod::Robust);
    if (fit.starsUsed == 0) return;
    EpochSetting setting = theApp.epoch;
    setting.offsetLon = float(fit.lonOffsetRad);
    setting.offsetLat = float(fit.latOffsetRad);
    applyEpochSetting(setting);
}

void applyStatisticsEpochFit() {
    const StatisticsFit& f = theApp.statistics.epochFit;
    if (f.edition != currentEdition(theApp.catalogs) || !f.fit.fitted) return;
    applyEpochSetting({f.fit.epochJd, float(f.fit.lonOffsetRad), float(f.fit.latOffsetRad)});
}

void forgetStatisticsFit() { theApp.statistics.epochFit = StatisticsFit(); }
