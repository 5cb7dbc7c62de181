// Fitting an edition to the modern sky: the longitude and latitude offsets that line it up at a
// given epoch, and the epoch itself fitted together with the two offsets. Precession ties the
// epoch to the longitude offset (about 0.84' of longitude per year); only the stars' own motions
// and the slow turn of the ecliptic tell them apart, so the epoch result says how many fast
// stars carry it and how strongly epoch and longitude offset are correlated. The analysis tool
// and the viewer's Statistics window call this; offsets come out in the sense of the epoch
// setting (added to every ancient position).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/residuals.h"

// ---- Offsets at a fixed epoch ----

enum class OffsetMethod {
    LeastSquares,  // every star, the sky-distance sum of squares
    Robust,        // started from the medians, stars beyond the clipping limit left out
};

struct OffsetFit {
    double lonOffsetRad = 0, latOffsetRad = 0;  // total offsets, in the epoch setting's sense
    int starsUsed = 0;
    int starsClipped = 0;
    double rmsArcmin = 0;  // per coordinate, over the stars used
};

// Offsets for the epoch of `residuals`, from the positions it holds (no carry is repeated).
// Without stars the offsets are those of `residuals`.
OffsetFit fitOffsets(const ResidualSet& residuals, OffsetMethod method);

// ---- Epoch and offsets together ----

enum class FitStage { Scan, Refine, Bootstrap };

// Called now and then with the stage and how much of it is done, 0 to 1.
struct FitProgress {
    void (*report)(void* userData, FitStage stage, double fraction) = nullptr;
    void* userData = nullptr;
};

struct EpochFitOptions {
    double firstJd;  // the range searched; the defaults are 1 Jan 1000 BC and 1 Jan AD 1000
    double lastJd;
    double scanStepYears = 50;  // the coarse scan that gives the starting point
    double clipSpreads = 3;     // stars beyond the median separation plus this many robust spreads
    int bootstrapResamples = 200;  // fewer than 2 for none
    uint64_t bootstrapSeed = 0x7E55A4A5B007ULL;
    FitProgress progress;
    EpochFitOptions();
};

// One standard deviation of each fitted value.
struct FitUncertainty {
    double epochYears = 0, lonOffsetArcmin = 0, latOffsetArcmin = 0;
};

enum class UncertaintySource { Formal, Bootstrap };

struct EpochFit {
    bool fitted = false;
    std::string problem;  // why not, when not fitted
    double epochJd = 0;
    double lonOffsetRad = 0, latOffsetRad = 0;
    // The uncertainty the result states: the bootstrap's when one ran, else the formal one.
    FitUncertainty uncertainty;
    UncertaintySource uncertaintySource = UncertaintySource::Formal;
    // From the covariance of the fit, scaled by the residual variance.
    FitUncertainty formal;
    // The spread of the fits to resamples of the stars (drawn with replacement, fixed seed).
    FitUncertainty bootstrap;
    int bootstrapResamples = 0;
    double epochLonCorrelation = 0;  // of epoch and longitude offset, -1..1
    int starsUsed = 0;
    int starsClipped = 0;
    int fastStars = 0;  // of the stars used, those moving more than kFastStarArcsecPerYr
    double rmsArcmin = 0;  // per coordinate, over the stars used
    bool atRangeEdge = false;  // the best epoch lies on a bound of the range
    int carries = 0;  // times the stars were carried to an epoch
};

constexpr double kFastStarArcsecPerYr = 0.5;

EpochFit fitEpoch(const AncientCatalog& edition, const ReferenceCatalog& reference,
                  const EpochFitOptions& options);
EpochFit fitEpoch(const MatchedStars& stars, const EpochFitOptions& options);

// ---- The scatter curve ----

// The robust spread of the separations at one trial epoch, with the offsets fitted robustly
// there: what the Statistics window plots against the epoch. Its minimum is not the fitted epoch
// (the fit weighs every star's own motion; the spread mostly follows the offsets' trade-off), but
// a curve with one clear valley shows an edition the fit can trust.
struct EpochScatter {
    double epochJd = 0;
    double robustSpreadArcmin = 0;
    double lonOffsetRad = 0, latOffsetRad = 0;
};

// `samples` epochs evenly spaced from firstJd to lastJd, both included (at least two); empty
// when the range is empty or fewer than three stars are matched.
std::vector<EpochScatter> scanEpochScatter(const MatchedStars& stars, double firstJd,
                                           double lastJd, int samples);
