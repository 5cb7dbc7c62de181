#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "catalog/calendar.h"
#include "catalog/csv.h"
#include "catalog/epoch_text.h"
#include "catalog/text_format.h"

namespace {


const char* kStatusCompared = "compared";
const char* kStatusUnidentified = "unidentified";
const char* kStatusNotInReference = "not_in_reference";

double arcmin(double rad) { return rad * kArcminPerRad; }
double degrees(double rad) { return rad * kRadToDeg; }

const char* constellationName(int index) {
    return index >= 0 && index < kConstellationCount ? kConstellationTable[index].name : "?";
}

// The stars looked at, in edition order: the edition's record, its residual when it has one.
struct Row {
    int number;
    int constellation;
    const AncientStar* star;
    const StarResidual* residual;      // null when unresolved
    const UnresolvedStar* unresolved;  // null when resolved
};

std::vector<Row> rowsOf(const AnalysisResults& r) {
    std::vector<Row> rows;
    size_t nextResolved = 0, nextUnresolved = 0;
    int number = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& constellation = r.edition->constellations[c];
        const int held =
            std::max(0, std::min(constellation.starCount, int(constellation.stars.size())));
        for (int i = 0; i < held; ++i) {
            ++number;
            Row row = {number, c, &constellation.stars[size_t(i)], nullptr, nullptr};
            const auto& stars = r.residuals.stars;
            const auto& unresolved = r.residuals.unresolved;
            if (nextResolved < stars.size() && stars[nextResolved].star.number == number)
                row.residual = &stars[nextResolved++];
            else if (nextUnresolved < unresolved.size() &&
                     unresolved[nextUnresolved].star.number == number)
                row.unresolved = &unresolved[nextUnresolved++];
            else
                continue;  // not among the stars looked at
            rows.push_back(row);
        }
    }
    return rows;
}

void addOutlierNumbers(const ResidualSummary& summary, std::set<int>& numbers) {
    for (const Outlier& o : summary.outliers) numbers.insert(o.number);
}

// ---- Text ----

std::string offsetText(double rad) {
    return formatText("%+.4f deg (%+.1f')", degrees(rad), arcmin(rad));
}

std::string epochText(double jd) {
    return formatText("%s (JD %.1f, year %.2f)", formatEpoch(jd).c_str(), jd, historicalYear(jd));
}

std::string offsetFitLine(const char* method, const OffsetFit& fit) {
    return formatText("  %-14s longitude %s  latitude %s  %d stars, %d left out, RMS %.1f'\n",
                      method, offsetText(fit.lonOffsetRad).c_str(),
                      offsetText(fit.latOffsetRad).c_str(), fit.starsUsed, fit.starsClipped,
                      fit.rmsArcmin);
}

std::string epochFitText(const AnalysisResults& r) {
    const EpochFit& f = r.epochFit;
    std::string text =
        formatText("\nEpoch fitted together with the offsets, searched from %s to %s:\n",
                   formatEpoch(r.firstJd).c_str(), formatEpoch(r.lastJd).c_str());
    if (!f.fitted) return text + "  not fitted: " + f.problem + "\n";
    const FitUncertainty& u = f.uncertainty;
    const bool bootstrap = f.uncertaintySource == UncertaintySource::Bootstrap;
    text += formatText("  epoch             %s +- %.0f years\n", epochText(f.epochJd).c_str(),
                       u.epochYears);
    text += formatText("  longitude offset  %s +- %.1f'\n", offsetText(f.lonOffsetRad).c_str(),
                       u.lonOffsetArcmin);
    text += formatText("  latitude offset   %s +- %.1f'\n", offsetText(f.latOffsetRad).c_str(),
                       u.latOffsetArcmin);
    text += bootstrap ? formatText(
                            "  uncertainty       one standard deviation, from %d bootstrap "
                            "resamples of the stars\n",
                            f.bootstrapResamples)
                      : std::string(
                            "  uncertainty       one standard deviation, formal (from "
                            "the fit's covariance)\n");
    if (bootstrap)
        text += formatText("                    formal: +- %.0f years, +- %.1f', +- %.1f'\n",
                           f.formal.epochYears, f.formal.lonOffsetArcmin, f.formal.latOffsetArcmin);
    text += formatText(
        "  stars             %d used, %d left out; %d of them moving faster than "
        "%.1f\"/yr carry the epoch\n",
        f.starsUsed, f.starsClipped, f.fastStars, kFastStarArcsecPerYr);
    text += formatText("  RMS               %.1f' per coordinate\n", f.rmsArcmin);
    text += formatText("  correlation       %+.3f between epoch and longitude offset\n",
                       f.epochLonCorrelation);
    if (f.atRangeEdge)
        text += "  warning: the best epoch lies on a bound of the range searched; widen it\n";
    return text;
}

// ---- JSON ----

// A JSON string. Text that is not UTF-8 is taken as the single-byte Western code page the
// edition files use; everything beyond ASCII is written as \u escapes.
std::string jsonString(const std::string& text) {
    // Windows-1252 at 0x80..0x9F; the rest of the upper half is Latin-1.
    static const unsigned short kHighControls[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            out += formatText("\\u%04x", c);
        } else if (c < 0x80) {
            out += char(c);
        } else {
            out += formatText("\\u%04x", c < 0xA0 ? kHighControls[c - 0x80] : c);
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    return std::isfinite(value) ? formatText("%.10g", value) : "null";
}

using Fields = std::vector<std::pair<const char*, std::string>>;

std::string jsonObject(const Fields& fields, const char* separator = ", ") {
    std::string out = "{";
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += separator;
        out += jsonString(fields[i].first) + ": " + fields[i].second;
    }
    return out + "}";
}

Fields summaryFields(const ResidualSummary& s) {
    std::string outliers = "[";
    for (size_t i = 0; i < s.outliers.size(); ++i) {
        const Outlier& o = s.outliers[i];
        if (i > 0) outliers += ", ";
        outliers += jsonObject({{"star", std::to_string(o.number)},
                                {"constellation", jsonString(constellationName(o.constellation))},
                                {"designation", jsonString(withoutTrailingBlanks(o.designation))},
                                {"separation_arcmin", jsonNumber(o.separationArcmin)}});
    }
    outliers += "]";
    return {{"stars", std::to_string(s.count)},
            {"mean_lon_arcmin", jsonNumber(s.meanLonArcmin)},
            {"median_lon_arcmin", jsonNumber(s.medianLonArcmin)},
            {"mean_lat_arcmin", jsonNumber(s.meanLatArcmin)},
            {"median_lat_arcmin", jsonNumber(s.medianLatArcmin)},
            {"median_separation_arcmin", jsonNumber(s.medianSeparationArcmin)},
            {"rms_separation_arcmin", jsonNumber(s.rmsSeparationArcmin)},
            {"robust_spread_arcmin", jsonNumber(s.robustSpreadArcmin)},
            {"outliers", outliers}};
}

std::string offsetFitJson(const OffsetFit& fit) {
    return jsonObject({{"lon_offset_deg", jsonNumber(degrees(fit.lonOffsetRad))},
                       {"lat_offset_deg", jsonNumber(degrees(fit.latOffsetRad))},
                       {"stars_used", std::to_string(fit.starsUsed)},
                       {"stars_left_out", std::to_string(fit.starsClipped)},
                       {"rms_arcmin", jsonNumber(fit.rmsArcmin)}});
}

std::string uncertaintyJson(const FitUncertainty& u) {
    return jsonObject({{"epoch_years", jsonNumber(u.epochYears)},
                       {"lon_offset_arcmin", jsonNumber(u.lonOffsetArcmin)},
                       {"lat_offset_arcmin", jsonNumber(u.latOffsetArcmin)}});
}

std::string epochFitJson(const AnalysisResults& r) {
    const EpochFit& f = r.epochFit;
    Fields fields = {{"fitted", f.fitted ? "true" : "false"},
                     {"problem", jsonString(f.problem)},
                     {"from_jd", jsonNumber(r.firstJd)},
                     {"to_jd", jsonNumber(r.lastJd)}};
    if (f.fitted) {
        const bool bootstrap = f.uncertaintySource == UncertaintySource::Bootstrap;
        Fields more = {{"epoch_jd", jsonNumber(f.epochJd)},
                       {"epoch_year", jsonNumber(historicalYear(f.epochJd))},
                       {"epoch_date", jsonString(formatEpoch(f.epochJd))},
                       {"epoch_uncertainty_years", jsonNumber(f.uncertainty.epochYears)},
                       {"lon_offset_deg", jsonNumber(degrees(f.lonOffsetRad))},
                       {"lat_offset_deg", jsonNumber(degrees(f.latOffsetRad))},
                       {"lon_offset_uncertainty_arcmin", jsonNumber(f.uncertainty.lonOffsetArcmin)},
                       {"lat_offset_uncertainty_arcmin", jsonNumber(f.uncertainty.latOffsetArcmin)},
                       {"uncertainty", jsonString(bootstrap ? "bootstrap" : "formal")},
                       {"bootstrap_resamples", std::to_string(f.bootstrapResamples)},
                       {"formal_uncertainty", uncertaintyJson(f.formal)},
                       {"bootstrap_uncertainty", uncertaintyJson(f.bootstrap)},
                       {"stars_used", std::to_string(f.starsUsed)},
                       {"stars_left_out", std::to_string(f.starsClipped)},
                       {"fast_stars", std::to_string(f.fastStars)},
                       {"fast_star_limit_arcsec_per_yr", jsonNumber(kFastStarArcsecPerYr)},
                       {"rms_arcmin", jsonNumber(f.rmsArcmin)},
                       {"epoch_lon_correlation", jsonNumber(f.epochLonCorrelation)},
                       {"at_range_edge", f.atRangeEdge ? "true" : "false"}};
        fields.insert(fields.end(), more.begin(), more.end());
    }
    return jsonObject(fields, ",\n    ");
}

// ---- CSV ----

std::string fixed(double value, int decimals) { return formatText("%.*f", decimals, value); }

}  // namespace

std::string textSummary(const AnalysisResults& r) {
    const ResidualSet& set = r.residuals;
    const Alignment& a = set.alignment;
    const int listed = int(set.stars.size() + set.unresolved.size());
    std::string text;
    text += "Edition    " + r.edition->name + "\n           " + r.editionPath + "\n";
    text += "Reference  " + r.referencePath + "\n";
    if (r.constellation >= 0)
        text += formatText("Stars of   %s only\n", constellationName(r.constellation));
    text += "Epoch      " + epochText(a.epochJd) + "\n";
    text += "Offsets    longitude " + offsetText(a.lonOffsetRad) + ", latitude " +
            offsetText(a.latOffsetRad) + ", added to every ancient position\n";
    text += formatText(
        "Stars      %d: %zu compared, %d without identification, %d naming a "
        "number the reference catalogue lacks\n",
        listed, set.stars.size(), set.unidentifiedCount, set.notInReferenceCount);

    text +=
        "\nResiduals in minutes of arc, the edition's position with the offsets minus the "
        "modern star's\n(longitude differences times the cosine of the latitude); sep is "
        "the distance on the sky:\n";
    text += summaryTableHeading();
    for (int c = 0; c < kConstellationCount; ++c)
        if (r.constellation < 0 || r.constellation == c)
            text += summaryTableRow(std::to_string(c).c_str(), constellationName(c),
                               r.statistics.constellations[c]);
    text +=
        summaryTableRow("", r.constellation < 0 ? "Whole edition" : "Together", r.statistics.edition);

    text += formatText(
        "\nOutliers of the whole list (separation more than %.0f robust spreads "
        "beyond the median and more than %.0f'):\n",
        kOutlierSpreads, kOutlierFloorArcmin);
    if (r.statistics.edition.outliers.empty()) text += "  none\n";
    for (const Outlier& o : r.statistics.edition.outliers)
        text += formatText("  star %4d  %-17s %-12s %7.1f'\n", o.number,
                           constellationName(o.constellation),
                           withoutTrailingBlanks(o.designation).c_str(), o.separationArcmin);

    if (r.offsetsFitted) {
        text +=
            "\nOffsets that line the stars up at the epoch (to add to every ancient position):\n";
        text += offsetFitLine("least squares", r.leastSquares);
        text += offsetFitLine("robust", r.robust);
    }
    if (r.epochFitted) text += epochFitText(r);
    return text;
}

std::string jsonSummary(const AnalysisResults& r) {
    const ResidualSet& set = r.residuals;
    const Alignment& a = set.alignment;
    std::string constellations = "[";
    for (int c = 0; c < kConstellationCount; ++c) {
        if (r.constellation >= 0 && r.constellation != c) continue;
        Fields fields = {{"index", std::to_string(c)}, {"name", jsonString(constellationName(c))}};
        Fields summary = summaryFields(r.statistics.constellations[c]);
        fields.insert(fields.end(), summary.begin(), summary.end());
        if (constellations.size() > 1) constellations += ",";
        constellations += "\n    " + jsonObject(fields);
    }
    constellations += "]";
    Fields top = {
        {"edition",
         jsonObject({{"file", jsonString(r.editionPath)}, {"name", jsonString(r.edition->name)}})},
        {"reference", jsonObject({{"file", jsonString(r.referencePath)}})},
        {"constellation",
         r.constellation < 0 ? "null" : jsonString(constellationName(r.constellation))},
        {"epoch", jsonObject({{"jd", jsonNumber(a.epochJd)},
                              {"year", jsonNumber(historicalYear(a.epochJd))},
                              {"date", jsonString(formatEpoch(a.epochJd))}})},
        {"offsets_deg", jsonObject({{"lon", jsonNumber(degrees(a.lonOffsetRad))},
                                    {"lat", jsonNumber(degrees(a.latOffsetRad))}})},
        {"stars", jsonObject({{"listed", std::to_string(set.stars.size() + set.unresolved.size())},
                              {"compared", std::to_string(set.stars.size())},
                              {"unidentified", std::to_string(set.unidentifiedCount)},
                              {"not_in_reference", std::to_string(set.notInReferenceCount)}})},
        {"residuals", jsonObject(summaryFields(r.statistics.edition))},
        {"constellations", constellations}};
    if (r.offsetsFitted)
        top.push_back({"offset_fits", jsonObject({{"least_squares", offsetFitJson(r.leastSquares)},
                                                  {"robust", offsetFitJson(r.robust)}})});
    if (r.epochFitted) top.push_back({"epoch_fit", epochFitJson(r)});
    return jsonObject(top, ",\n  ").insert(1, "\n  ") + "\n";
}

std::string residualCsv(const AnalysisResults& r) {
    std::string text = csvRecord(
        {"star", "catalog_number", "constellation", "number_in_constellation", "designation",
         "identification", "status", "recorded_lon_deg", "recorded_lat_deg", "shifted_lon_deg",
         "shifted_lat_deg", "modern_lon_deg", "modern_lat_deg", "lon_residual_arcmin",
         "lat_residual_arcmin", "separation_arcmin", "proper_motion_arcsec_per_yr",
         "outlier_in_edition", "outlier_in_constellation"});
    std::set<int> editionOutliers, constellationOutliers;
    addOutlierNumbers(r.statistics.edition, editionOutliers);
    for (const ResidualSummary& summary : r.statistics.constellations)
        addOutlierNumbers(summary, constellationOutliers);
    for (const Row& row : rowsOf(r)) {
        const AncientStar& star = *row.star;
        std::vector<std::string> fields = {
            std::to_string(row.number),
            std::to_string(star.catalogNumber),
            constellationName(row.constellation),
            std::to_string(star.numberInConstellation),
            withoutTrailingBlanks(
                std::string(star.designation, strnlen(star.designation, sizeof star.designation))),
            std::to_string(star.identification),
            row.residual                                                   ? kStatusCompared
            : row.unresolved->reason == UnresolvedReason::NoIdentification ? kStatusUnidentified
                                                                           : kStatusNotInReference,
            fixed(ancientLonDegrees(star), 4),
            fixed(ancientLatDegrees(star), 4)};
        if (const StarResidual* s = row.residual) {
            std::vector<std::string> more = {fixed(s->shiftedLonDeg, 6),
                                             fixed(s->shiftedLatDeg, 6),
                                             fixed(s->modernLonDeg, 6),
                                             fixed(s->modernLatDeg, 6),
                                             fixed(s->lonResidualArcmin, 3),
                                             fixed(s->latResidualArcmin, 3),
                                             fixed(s->separationArcmin, 3),
                                             fixed(s->properMotionArcsecPerYr, 4),
                                             editionOutliers.count(row.number) ? "1" : "0",
                                             constellationOutliers.count(row.number) ? "1" : "0"};
            fields.insert(fields.end(), more.begin(), more.end());
        } else {
            fields.resize(fields.size() + 10);
        }
        text += csvRecord(fields);
    }
    return text;
}
