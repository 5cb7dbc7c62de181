// Residuals of an ancient edition against the modern sky. For every ancient star whose
// identification names a reference star: where the edition puts it, plus the offsets, exactly as
// the picture draws it; where the modern star stood at the epoch, carried by the picture's own
// epoch code into the ecliptic of date; and the differences in minutes of arc. Stars without an
// identification, or naming a number the reference catalogue lacks, are listed, never guessed.
// The statistics and the fits build on this module; the analysis tool and the viewer's
// Statistics window call it. Nothing here changes the caller's edition or reference catalogue:
// every carry works on copies of the reference stars.
#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "geometry/vectors.h"

// An epoch and the two offsets added to every ancient position, as the epoch setting holds them.
struct Alignment {
    double epochJd = EpochSetting().epoch;
    double lonOffsetRad = 0;
    double latOffsetRad = 0;
};
Alignment alignmentOf(const EpochSetting& setting);

// Which ancient star a line of the analysis is about.
struct StarLabel {
    int number = 0;         // running number in the edition, 1..1028, by position
    int catalogNumber = 0;  // as written in the file
    int constellation = 0;  // row of the constellation table, 0..47
    int numberInConstellation = 0;
    std::string designation;
    int identification = 0;  // reference star number, 0 for none
};

struct StarResidual {
    StarLabel star;
    double recordedLonDeg = 0, recordedLatDeg = 0;  // as in the file, without offsets
    double shiftedLonDeg = 0, shiftedLatDeg = 0;    // with the offsets; longitude in [0, 360)
    double modernLonDeg = 0, modernLatDeg = 0;      // the reference star at the epoch
    // Shifted minus modern: the longitude difference wrapped into [-180, 180) degrees and
    // multiplied by the cosine of the modern latitude, so both read as distances on the sky.
    double lonResidualArcmin = 0;
    double latResidualArcmin = 0;
    double separationArcmin = 0;         // great circle between the two positions
    double properMotionArcsecPerYr = 0;  // total proper motion of the reference star
};

enum class UnresolvedReason { NoIdentification, NotInReference };

struct UnresolvedStar {
    StarLabel star;
    UnresolvedReason reason = UnresolvedReason::NoIdentification;
};

struct ResidualSet {
    Alignment alignment;
    std::vector<StarResidual> stars;         // edition order
    std::vector<UnresolvedStar> unresolved;  // edition order
    int unidentifiedCount = 0;               // identification 0
    int notInReferenceCount = 0;             // a number no reference star carries
};

ResidualSet computeResiduals(const AncientCatalog& edition, const ReferenceCatalog& reference,
                             const Alignment& alignment);

// ---- The pieces the fits share ----

// Each resolved ancient star's recorded position beside its own copy of the modern star.
struct MatchedStars {
    std::vector<StarLabel> labels;
    std::vector<double> recordedLonRad, recordedLatRad;
    std::vector<ReferenceStar> modern;
    std::vector<UnresolvedStar> unresolved;
    int size() const { return int(modern.size()); }
};
MatchedStars matchStars(const AncientCatalog& edition, const ReferenceCatalog& reference);

// Directions of the stars at the Julian Date `jd` in the ecliptic frame of that date, by the very
// carry applyEpoch gives the viewer's catalogue.
std::vector<Vector3> carryToEpoch(const std::vector<ReferenceStar>& stars, double jd);

struct OffsetResidual {
    double shiftedLonRad, shiftedLatRad;  // longitude in [0, 2 pi)
    double modernLonRad, modernLatRad;
    double lonArcmin, latArcmin, separationArcmin;  // as in StarResidual
};
// One star's residual: the recorded position plus offsets against a modern direction.
OffsetResidual offsetResidual(double recordedLonRad, double recordedLatRad, double lonOffsetRad,
                              double latOffsetRad, const Vector3& modernDir);

// An angle brought into [-pi, pi).
double wrapToHalfTurn(double angleRad);

constexpr double kArcminPerRad = 60.0 * kRadToDeg;
