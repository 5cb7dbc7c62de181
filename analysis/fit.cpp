#include "analysis/fit.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/statistics.h"
#include "catalog/calendar.h"
#include "catalog/precession.h"
#include "catalog/random.h"

namespace {

constexpr double kDaysPerJulianYear = 365.25;
constexpr double kEpochStepYears = 5.0;     // numerical derivative along the epoch
constexpr double kEpochToleranceYears = 0.05;
constexpr double kOffsetToleranceArcmin = 0.005;
constexpr int kMaxIterations = 40;
constexpr int kMaxDampingTries = 12;
constexpr double kFirstDamping = 1e-3;
constexpr int kMaxClipRounds = 10;
constexpr int kCachedEpochs = 8;
constexpr int kParameterCount = 3;  // years from J2000.0, longitude and latitude offsets in '
constexpr int kLeastStars = 3;
constexpr double kMostScanTrials = 100000;
constexpr int kLeastBootstrapResamples = 2;  // a spread needs two

double jdOfYears(double years) { return kJ2000 + years * kDaysPerJulianYear; }
double yearsOfJd(double jd) { return (jd - kJ2000) / kDaysPerJulianYear; }
double radOfArcmin(double arcmin) { return arcmin / kArcminPerRad; }

struct Params {
    double v[kParameterCount];
};

// The stars being fitted and the modern directions at the epochs already visited: an epoch is
// carried once however often the fit comes back to it. Without reference stars the directions
// are fixed and every epoch sees them.
struct Problem {
    const std::vector<double>& lonRad;
    const std::vector<double>& latRad;
    const std::vector<ReferenceStar>* modern;
    std::vector<Vector3> fixedDirs;
    struct CachedEpoch {
        double years;
        long lastUse;
        std::vector<Vector3> dirs;
    };
    std::vector<CachedEpoch> cache;
    long clock = 0;
    int carries = 0;

    int size() const { return int(lonRad.size()); }

    const std::vector<Vector3>& dirsAt(double years) {
        if (!modern) return fixedDirs;
        ++clock;
        for (CachedEpoch& entry : cache)
            if (entry.years == years) {
                entry.lastUse = clock;
                return entry.dirs;
            }
        ++carries;
        CachedEpoch fresh = {years, clock, carryToEpoch(*modern, jdOfYears(years))};
        if (cache.size() < size_t(kCachedEpochs)) {
            cache.push_back(std::move(fresh));
            return cache.back().dirs;
        }
        // The epoch unused the longest makes room.
        CachedEpoch& oldest = *std::min_element(
            cache.begin(), cache.end(),
            [](const CachedEpoch& a, const CachedEpoch& b) { return a.lastUse < b.lastUse; });
        oldest = std::move(fresh);
        return oldest.dirs;
    }

    std::vector<OffsetResidual> residuals(const Params& p) {
        const std::vector<Vector3>& dirs = dirsAt(p.v[0]);
        std::vector<OffsetResidual> out(lonRad.size());
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = offsetResidual(lonRad[i], latRad[i], radOfArcmin(p.v[1]),
                                    radOfArcmin(p.v[2]), dirs[i]);
        return out;
    }
};

double weightedSumOfSquares(const std::vector<OffsetResidual>& r, const std::vector<double>& w) {
    double sum = 0;
    for (size_t i = 0; i < r.size(); ++i)
        sum += w[i] * (r[i].lonArcmin * r[i].lonArcmin + r[i].latArcmin * r[i].latArcmin);
    return sum;
}

double weightSum(const std::vector<double>& w) {
    double sum = 0;
    for (double x : w) sum += x;
    return sum;
}

struct NormalEquations {
    double a[kParameterCount][kParameterCount] = {};
    double g[kParameterCount] = {};
};

// How each residual moves with the epoch: a central difference through the carry.
struct EpochSlopes {
    std::vector<double> lonPerYear, latPerYear;  // arcmin per year
};

EpochSlopes epochSlopes(Problem& problem, const Params& p) {
    const std::vector<OffsetResidual> up =
        problem.residuals({{p.v[0] + kEpochStepYears, p.v[1], p.v[2]}});
    const std::vector<OffsetResidual> down =
        problem.residuals({{p.v[0] - kEpochStepYears, p.v[1], p.v[2]}});
    EpochSlopes slopes;
    for (size_t i = 0; i < up.size(); ++i) {
        slopes.lonPerYear.push_back((up[i].lonArcmin - down[i].lonArcmin) / (2 * kEpochStepYears));
        slopes.latPerYear.push_back((up[i].latArcmin - down[i].latArcmin) / (2 * kEpochStepYears));
    }
    return slopes;
}

// J'WJ and J'Wr for the residuals r, with the epoch column from `slopes` (held epoch: none).
// The offset columns are exact, since an offset moves every recorded position by itself:
// d(lon residual) / d(lon offset) is the cosine of the modern latitude, d(lat residual) /
// d(lat offset) is 1.
NormalEquations normalEquations(const std::vector<OffsetResidual>& r,
                                const std::vector<double>& w, const EpochSlopes* slopes) {
    NormalEquations n;
    for (size_t i = 0; i < r.size(); ++i) {
        if (w[i] == 0) continue;
        double lonRow[kParameterCount] = {0, std::cos(r[i].modernLatRad), 0};
        double latRow[kParameterCount] = {0, 0, 1};
        if (slopes) {
            lonRow[0] = slopes->lonPerYear[i];
            latRow[0] = slopes->latPerYear[i];
        }
        for (int j = 0; j < kParameterCount; ++j) {
            n.g[j] += w[i] * (lonRow[j] * r[i].lonArcmin + latRow[j] * r[i].latArcmin);
            for (int k = 0; k < kParameterCount; ++k)
                n.a[j][k] += w[i] * (lonRow[j] * lonRow[k] + latRow[j] * latRow[k]);
        }
    }
    if (!slopes) n.a[0][0] = 1;  // the epoch row solves to a zero step
    return n;
}

// Solves m x = b by elimination with partial pivoting; false when m is singular.
bool solve(double m[kParameterCount][kParameterCount], double b[kParameterCount],
           double x[kParameterCount]) {
    const int n = kParameterCount;
    int order[kParameterCount] = {0, 1, 2};
    double scale = 0;
    for (int i = 0; i < n; ++i) scale = std::max(scale, std::fabs(m[i][i]));
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int row = col + 1; row < n; ++row)
            if (std::fabs(m[order[row]][col]) > std::fabs(m[order[pivot]][col])) pivot = row;
        std::swap(order[col], order[pivot]);
        const double* top = m[order[col]];
        if (!(std::fabs(top[col]) > 1e-14 * scale)) return false;
        for (int row = col + 1; row < n; ++row) {
            double* r = m[order[row]];
            const double f = r[col] / top[col];
            for (int k = col; k < n; ++k) r[k] -= f * top[k];
            b[order[row]] -= f * b[order[col]];
        }
    }
    for (int col = n - 1; col >= 0; --col) {
        double sum = b[order[col]];
        for (int k = col + 1; k < n; ++k) sum -= m[order[col]][k] * x[k];
        x[col] = sum / m[order[col]][col];
    }
    return true;
}

// The inverse of a; false when it is singular.
bool invert(const double a[kParameterCount][kParameterCount],
            double inverse[kParameterCount][kParameterCount]) {
    for (int c = 0; c < kParameterCount; ++c) {
        double m[kParameterCount][kParameterCount], b[kParameterCount] = {}, x[kParameterCount];
        std::copy(&a[0][0], &a[0][0] + kParameterCount * kParameterCount, &m[0][0]);
        b[c] = 1;
        if (!solve(m, b, x)) return false;
        for (int r = 0; r < kParameterCount; ++r) inverse[r][c] = x[r];
    }
    return true;
}

struct YearRange {
    double first, last;
    double clamp(double years) const { return std::max(first, std::min(last, years)); }
};

bool withinTolerance(const Params& a, const Params& b) {
    return std::fabs(a.v[0] - b.v[0]) < kEpochToleranceYears &&
           std::fabs(a.v[1] - b.v[1]) < kOffsetToleranceArcmin &&
           std::fabs(a.v[2] - b.v[2]) < kOffsetToleranceArcmin;
}

// One Gauss-Newton step for the offsets alone at the epoch of p. The residuals are linear in
// the offsets, so one step lands on their best values.
void fitOffsetsAtEpoch(Problem& problem, Params& p, const std::vector<double>& w) {
    NormalEquations n = normalEquations(problem.residuals(p), w, nullptr);
    double step[kParameterCount];
    double b[kParameterCount] = {-n.g[0], -n.g[1], -n.g[2]};
    if (!solve(n.a, b, step)) return;
    p.v[1] += step[1];
    p.v[2] += step[2];
}

// Gauss-Newton from p until the steps fall below the tolerances, damped (Levenberg-Marquardt)
// only while a full step fails to lower the sum of squares. The epoch slopes are taken afresh at
// every step, or, when `fixedSlopes` is given, kept from a nearby solution: the residuals are so
// nearly linear in the epoch that the bootstrap's refits need no new ones. With the epoch free, the offsets are
// fitted afresh at every trial epoch: the nutation makes the longitude offset that goes with an
// epoch wobble about the line precession draws, which a straight step along it would miss, and
// epoch and longitude offset are so strongly correlated that any standing damping would creep
// along their valley.
void refine(Problem& problem, Params& p, const std::vector<double>& w, bool freeEpoch,
            const YearRange& range, const EpochSlopes* fixedSlopes = nullptr) {
    std::vector<OffsetResidual> r = problem.residuals(p);
    double sumOfSquares = weightedSumOfSquares(r, w);
    double damping = 0;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        EpochSlopes slopes;
        if (freeEpoch && !fixedSlopes) slopes = epochSlopes(problem, p);
        NormalEquations n =
            normalEquations(r, w, !freeEpoch ? nullptr : fixedSlopes ? fixedSlopes : &slopes);
        bool accepted = false;
        Params next = p;
        for (int attempt = 0; attempt < kMaxDampingTries && !accepted; ++attempt) {
            double m[kParameterCount][kParameterCount], b[kParameterCount], step[kParameterCount];
            for (int j = 0; j < kParameterCount; ++j) {
                for (int k = 0; k < kParameterCount; ++k) m[j][k] = n.a[j][k];
                m[j][j] *= 1 + damping;
                b[j] = -n.g[j];
            }
            if (!solve(m, b, step)) return;
            for (int k = 0; k < kParameterCount; ++k) next.v[k] = p.v[k] + step[k];
            next.v[0] = range.clamp(next.v[0]);
            if (damping == 0 && withinTolerance(p, next)) {
                // Converged: a step this small is below what the sum of squares can resolve.
                p = next;
                if (freeEpoch) fitOffsetsAtEpoch(problem, p, w);
                return;
            }
            if (freeEpoch) fitOffsetsAtEpoch(problem, next, w);
            std::vector<OffsetResidual> trial = problem.residuals(next);
            const double trialSum = weightedSumOfSquares(trial, w);
            if (trialSum <= sumOfSquares) {
                accepted = true;
                r = std::move(trial);
                sumOfSquares = trialSum;
                damping = 0;
            } else {
                damping = damping == 0 ? kFirstDamping : damping * 10;
            }
        }
        if (!accepted) return;  // no step lowers the sum: p is the minimum
        const bool small = withinTolerance(p, next);
        p = next;
        if (small) return;
    }
}

std::vector<double> separations(const std::vector<OffsetResidual>& r) {
    std::vector<double> out;
    out.reserve(r.size());
    for (const OffsetResidual& x : r) out.push_back(x.separationArcmin);
    return out;
}

// Weight 1 for the stars within the median separation plus `spreads` robust spreads, 0 beyond.
std::vector<double> clipWeights(const std::vector<OffsetResidual>& r, double spreads) {
    const std::vector<double> s = separations(r);
    const double limit = median(s) + spreads * robustSpread(s);
    std::vector<double> w(r.size());
    for (size_t i = 0; i < r.size(); ++i) w[i] = s[i] <= limit ? 1.0 : 0.0;
    return w;
}

// Fits from p, leaves out the stars beyond the clipping limit and fits again, until the stars
// left out no longer change. Returns the weights of the last fit.
std::vector<double> clippedFit(Problem& problem, Params& p, bool freeEpoch, double spreads,
                               const YearRange& range) {
    std::vector<double> w(size_t(problem.size()), 1.0);
    for (int round = 0; round < kMaxClipRounds; ++round) {
        refine(problem, p, w, freeEpoch, range);
        std::vector<double> next = clipWeights(problem.residuals(p), spreads);
        if (next == w || weightSum(next) < kLeastStars) break;
        w = std::move(next);
    }
    return w;
}

// Offsets from the medians of the raw longitude and latitude differences at the epoch of p:
// a start no wild star can pull.
Params medianOffsets(Problem& problem, Params p) {
    p.v[1] = p.v[2] = 0;
    const std::vector<OffsetResidual> r = problem.residuals(p);
    std::vector<double> lon, lat;
    for (const OffsetResidual& x : r) {
        lon.push_back(wrapToHalfTurn(x.shiftedLonRad - x.modernLonRad));
        lat.push_back(x.shiftedLatRad - x.modernLatRad);
    }
    p.v[1] = -median(lon) * kArcminPerRad;
    p.v[2] = -median(lat) * kArcminPerRad;
    return p;
}

double rmsPerCoordinate(Problem& problem, const Params& p, const std::vector<double>& w) {
    const double n = weightSum(w);
    return n > 0 ? std::sqrt(weightedSumOfSquares(problem.residuals(p), w) / (2 * n)) : 0.0;
}

void report(const FitProgress& progress, FitStage stage, double fraction) {
    if (progress.report) progress.report(progress.userData, stage, fraction);
}


double standardDeviation(const std::vector<double>& values) {
    if (values.size() < 2) return 0.0;
    double mean = 0;
    for (double v : values) mean += v;
    mean /= double(values.size());
    double sum = 0;
    for (double v : values) sum += (v - mean) * (v - mean);
    return std::sqrt(sum / double(values.size() - 1));
}

FitUncertainty bootstrapSpread(Problem& problem, const Params& best,
                               const std::vector<double>& kept, const EpochFitOptions& options,
                               const YearRange& range) {
    std::vector<int> members;
    for (size_t i = 0; i < kept.size(); ++i)
        if (kept[i] > 0) members.push_back(int(i));
    const EpochSlopes slopes = epochSlopes(problem, best);
    SplitMix64 random = {options.bootstrapSeed};
    std::vector<double> values[kParameterCount];
    for (int b = 0; b < options.bootstrapResamples; ++b) {
        std::vector<double> w(kept.size(), 0.0);
        for (size_t k = 0; k < members.size(); ++k)
            w[size_t(members[size_t(random.below(int(members.size())))])] += 1;
        Params p = best;
        refine(problem, p, w, true, range, &slopes);
        for (int k = 0; k < kParameterCount; ++k) values[k].push_back(p.v[k]);
        report(options.progress, FitStage::Bootstrap, double(b + 1) / options.bootstrapResamples);
    }
    return {standardDeviation(values[0]), standardDeviation(values[1]),
            standardDeviation(values[2])};
}

}  // namespace

OffsetFit fitOffsets(const ResidualSet& residuals, OffsetMethod method) {
    std::vector<double> lon, lat;
    Problem problem{lon, lat, nullptr, {}, {}, 0, 0};
    for (const StarResidual& star : residuals.stars) {
        lon.push_back(star.recordedLonDeg * kDegToRad);
        lat.push_back(star.recordedLatDeg * kDegToRad);
        Vector3 dir;
        lonLatToVec3(star.modernLonDeg * kDegToRad, star.modernLatDeg * kDegToRad, dir);
        problem.fixedDirs.push_back(dir);
    }
    OffsetFit fit;
    fit.lonOffsetRad = residuals.alignment.lonOffsetRad;
    fit.latOffsetRad = residuals.alignment.latOffsetRad;
    if (residuals.stars.empty()) return fit;
    const YearRange held = {0, 0};
    Params p = {{0, fit.lonOffsetRad * kArcminPerRad, fit.latOffsetRad * kArcminPerRad}};
    std::vector<double> w(residuals.stars.size(), 1.0);
    if (method == OffsetMethod::LeastSquares) {
        refine(problem, p, w, false, held);
    } else {
        p = medianOffsets(problem, p);
        w = clippedFit(problem, p, false, kOutlierSpreads, held);
    }
    fit.lonOffsetRad = radOfArcmin(p.v[1]);
    fit.latOffsetRad = radOfArcmin(p.v[2]);
    fit.starsUsed = int(weightSum(w));
    fit.starsClipped = int(w.size()) - fit.starsUsed;
    fit.rmsArcmin = rmsPerCoordinate(problem, p, w);
    return fit;
}

EpochFitOptions::EpochFitOptions()
    : firstJd(dayNumber(1, 1, -1000)), lastJd(dayNumber(1, 1, 1000)) {}

EpochFit fitEpoch(const AncientCatalog& edition, const ReferenceCatalog& reference,
                  const EpochFitOptions& options) {
    return fitEpoch(matchStars(edition, reference), options);
}

EpochFit fitEpoch(const MatchedStars& stars, const EpochFitOptions& options) {
    EpochFit fit;
    if (!std::isfinite(options.firstJd) || !std::isfinite(options.lastJd) ||
        options.lastJd < options.firstJd) {
        fit.problem = "the epoch range is empty";
        return fit;
    }
    if (!(options.scanStepYears > 0) || !(options.clipSpreads > 0)) {
        fit.problem = "the scan step and the clipping limit must be positive";
        return fit;
    }
    if (stars.size() < kLeastStars) {
        fit.problem = "fewer than three ancient stars are identified with reference stars";
        return fit;
    }
    const YearRange range = {yearsOfJd(options.firstJd), yearsOfJd(options.lastJd)};
    if ((range.last - range.first) / options.scanStepYears > kMostScanTrials) {
        fit.problem = "the scan step is too small for the epoch range";
        return fit;
    }
    Problem problem{stars.recordedLonRad, stars.recordedLatRad, &stars.modern, {}, {}, 0, 0};

    // Coarse scan: the offsets that best fit each trial epoch; the best pair starts the fit.
    const int trials = 1 + int(std::ceil((range.last - range.first) / options.scanStepYears));
    Params best = {{range.first, 0, 0}};
    double bestScore = HUGE_VAL;
    for (int t = 0; t < trials; ++t) {
        Params p = medianOffsets(
            problem, {{range.clamp(range.first + t * options.scanStepYears), 0, 0}});
        std::vector<double> w = clippedFit(problem, p, false, options.clipSpreads, range);
        const double score = weightedSumOfSquares(problem.residuals(p), w) / weightSum(w);
        if (score < bestScore) {
            bestScore = score;
            best = p;
        }
        report(options.progress, FitStage::Scan, double(t + 1) / trials);
    }

    // Epoch and offsets together, with clipping.
    report(options.progress, FitStage::Refine, 0.0);
    const std::vector<double> kept = clippedFit(problem, best, true, options.clipSpreads, range);
    report(options.progress, FitStage::Refine, 1.0);

    const std::vector<OffsetResidual> r = problem.residuals(best);
    const EpochSlopes slopes = epochSlopes(problem, best);
    NormalEquations n = normalEquations(r, kept, &slopes);
    double inverse[kParameterCount][kParameterCount];
    const double used = weightSum(kept);
    if (used <= kParameterCount || !invert(n.a, inverse)) {
        fit.problem = "the stars do not determine the epoch";
        return fit;
    }
    const double variance = weightedSumOfSquares(r, kept) / (2 * used - kParameterCount);
    fit.formal = {std::sqrt(variance * inverse[0][0]), std::sqrt(variance * inverse[1][1]),
                  std::sqrt(variance * inverse[2][2])};
    fit.epochLonCorrelation = inverse[0][1] / std::sqrt(inverse[0][0] * inverse[1][1]);

    fit.fitted = true;
    fit.epochJd = jdOfYears(best.v[0]);
    fit.lonOffsetRad = radOfArcmin(best.v[1]);
    fit.latOffsetRad = radOfArcmin(best.v[2]);
    fit.starsUsed = int(used);
    fit.starsClipped = stars.size() - fit.starsUsed;
    for (int i = 0; i < stars.size(); ++i) {
        const ReferenceStar& s = stars.modern[size_t(i)];
        if (kept[size_t(i)] > 0 && std::hypot(s.pmRa, s.pmDec) > kFastStarArcsecPerYr)
            ++fit.fastStars;
    }
    fit.rmsArcmin = rmsPerCoordinate(problem, best, kept);
    fit.atRangeEdge = best.v[0] - range.first < kEpochToleranceYears ||
                      range.last - best.v[0] < kEpochToleranceYears;

    fit.uncertainty = fit.formal;
    if (options.bootstrapResamples >= kLeastBootstrapResamples) {
        fit.bootstrap = bootstrapSpread(problem, best, kept, options, range);
        fit.bootstrapResamples = options.bootstrapResamples;
        fit.uncertainty = fit.bootstrap;
        fit.uncertaintySource = UncertaintySource::Bootstrap;
    }
    fit.carries = problem.carries;
    return fit;
}

std::vector<EpochScatter> scanEpochScatter(const MatchedStars& stars, double firstJd,
                                           double lastJd, int samples) {
    std::vector<EpochScatter> curve;
    if (!std::isfinite(firstJd) || !std::isfinite(lastJd) || !(lastJd > firstJd) ||
        stars.size() < kLeastStars)
        return curve;
    samples = std::max(2, samples);
    const YearRange range = {yearsOfJd(firstJd), yearsOfJd(lastJd)};
    const double defaultClip = EpochFitOptions().clipSpreads;
    Problem problem{stars.recordedLonRad, stars.recordedLatRad, &stars.modern, {}, {}, 0, 0};
    for (int i = 0; i < samples; ++i) {
        const double years = range.clamp(range.first + (range.last - range.first) * i / (samples - 1));
        Params p = medianOffsets(problem, {{years, 0, 0}});
        clippedFit(problem, p, false, defaultClip, range);
        curve.push_back({jdOfYears(years), robustSpread(separations(problem.residuals(p))),
                         radOfArcmin(p.v[1]), radOfArcmin(p.v[2])});
    }
    return curve;
}
