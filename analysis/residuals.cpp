#include "analysis/residuals.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "catalog/precession.h"

namespace {

// The stars a constellation really holds: its count, but never more than its stored records.
int heldStarCount(const Constellation& constellation) {
    return std::max(0, std::min(constellation.starCount, int(constellation.stars.size())));
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

double wrapToHalfTurn(double angleRad) { return floorMod(angleRad + kPi, kTwoPi) - kPi; }

Alignment alignmentOf(const EpochSetting& setting) {
    return {setting.epoch, double(setting.offsetLon), double(setting.offsetLat)};
}

MatchedStars matchStars(const AncientCatalog& edition, const ReferenceCatalog& reference) {
    MatchedStars matched;
    int number = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        const Constellation& constellation = edition.constellations[c];
        const int count = heldStarCount(constellation);
        for (int i = 0; i < count; ++i) {
            const AncientStar& ancient = constellation.stars[size_t(i)];
            StarLabel label;
            label.number = ++number;
            label.catalogNumber = ancient.catalogNumber;
            label.constellation = c;
            label.numberInConstellation = ancient.numberInConstellation;
            label.designation.assign(ancient.designation,
                                     strnlen(ancient.designation, sizeof ancient.designation));
            label.identification = ancient.identification;
            int entry = lookUpReferenceStar(reference.index, ancient.identification);
            if (ancient.identification == 0 || entry < 0) {
                matched.unresolved.push_back(
                    {label, ancient.identification == 0 ? UnresolvedReason::NoIdentification
                                                        : UnresolvedReason::NotInReference});
                continue;
            }
            matched.labels.push_back(label);
            matched.recordedLonRad.push_back(ancientLonDegrees(ancient) * kDegToRad);
            matched.recordedLatRad.push_back(ancientLatDegrees(ancient) * kDegToRad);
            matched.modern.push_back(reference.stars[entry]);
        }
    }
    return matched;
}

std::vector<Vector3> carryToEpoch(const std::vector<ReferenceStar>& stars, double jd) {
    const EpochCarry carry = epochCarry(jd);
    std::vector<Vector3> dirs(stars.size());
    for (size_t i = 0; i < stars.size(); ++i) dirs[i] = carryStar(stars[i], carry).dir;
    return dirs;
}

OffsetResidual offsetResidual(double recordedLonRad, double recordedLatRad, double lonOffsetRad,
                              double latOffsetRad, const Vector3& modernDir) {
    // Through the direction, as the picture places the star, so a latitude pushed past a pole
    // by the offset lands where it is drawn.
    Vector3 shifted;
    lonLatToVec3(recordedLonRad + lonOffsetRad, recordedLatRad + latOffsetRad, shifted);
    OffsetResidual r;
    vec3ToLonLat(shifted, r.shiftedLonRad, r.shiftedLatRad);
    vec3ToLonLat(modernDir, r.modernLonRad, r.modernLatRad);
    r.lonArcmin = wrapToHalfTurn(r.shiftedLonRad - r.modernLonRad) * std::cos(r.modernLatRad) *
                  kArcminPerRad;
    r.latArcmin = (r.shiftedLatRad - r.modernLatRad) * kArcminPerRad;
    r.separationArcmin =
        std::atan2(vec3Length(cross(shifted, modernDir)), vec3Dot(shifted, modernDir)) *
        kArcminPerRad;
    return r;
}

ResidualSet computeResiduals(const AncientCatalog& edition, const ReferenceCatalog& reference,
                             const Alignment& alignment) {
    MatchedStars matched = matchStars(edition, reference);
    const std::vector<Vector3> dirs = carryToEpoch(matched.modern, alignment.epochJd);
    ResidualSet set;
    set.alignment = alignment;
    set.unresolved = matched.unresolved;
    for (const UnresolvedStar& star : set.unresolved)
        ++(star.reason == UnresolvedReason::NoIdentification ? set.unidentifiedCount
                                                              : set.notInReferenceCount);
    set.stars.reserve(size_t(matched.size()));
    for (int i = 0; i < matched.size(); ++i) {
        const double lonRad = matched.recordedLonRad[size_t(i)];
        const double latRad = matched.recordedLatRad[size_t(i)];
        OffsetResidual r = offsetResidual(lonRad, latRad, alignment.lonOffsetRad,
                                          alignment.latOffsetRad, dirs[size_t(i)]);
        StarResidual out;
        out.star = matched.labels[size_t(i)];
        out.recordedLonDeg = lonRad * kRadToDeg;
        out.recordedLatDeg = latRad * kRadToDeg;
        out.shiftedLonDeg = r.shiftedLonRad * kRadToDeg;
        out.shiftedLatDeg = r.shiftedLatRad * kRadToDeg;
        out.modernLonDeg = r.modernLonRad * kRadToDeg;
        out.modernLatDeg = r.modernLatRad * kRadToDeg;
        out.lonResidualArcmin = r.lonArcmin;
        out.latResidualArcmin = r.latArcmin;
        out.separationArcmin = r.separationArcmin;
        const ReferenceStar& modern = matched.modern[size_t(i)];
        out.properMotionArcsecPerYr = std::hypot(double(modern.pmRa), double(modern.pmDec));
        set.stars.push_back(std::move(out));
    }
    return set;
}
