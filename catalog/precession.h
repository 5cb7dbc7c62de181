// Carrying the modern sky to an epoch: nutation, the true obliquity, the rotations between
// equator and ecliptic of a date, the long-term precession of the ecliptic, and each reference
// star's own motion. Start-up and the epoch dialog run applyEpoch; the view, the nearest-stars
// search and the equatorial grid build their frame rotations here; the analysis carries its own
// copies of stars with epochCarry and carryStar, exactly as applyEpoch carries the catalogue.
#pragma once

#include "catalog/catalog.h"
#include "geometry/vectors.h"

constexpr double kJ2000 = 2451545.0;
constexpr double kArcsecToRad = 4.84813681109536e-6;

struct Nutation {
    double longitude;  // delta psi, radians
    double obliquity;  // delta epsilon, radians
};

// Nutation for T Julian centuries from J2000; the last argument and result are remembered,
// since one epoch asks for the same value several times.
Nutation nutation(double T);
// Mean obliquity of the ecliptic (Laskar 1986) plus the nutation in obliquity, radians.
double trueObliquity(double jd);
// Append the turn from the equator of `jd` to its ecliptic, or back.
void appendEquatorToEcliptic(Matrix3& m, double jd);
void appendEclipticToEquator(Matrix3& m, double jd);
// Appends the turn from the ecliptic of J2000.0 to the ecliptic and equinox of `jd`.
void appendPrecession(Matrix3& m, double jd);

struct EquatorialPosition {
    double ra, dec;  // radians
};

// Years of a star's own motion from J2000.0 to the Julian Date `jd`, counted across the
// change from 1 BC to AD 1 without a year 0.
double properMotionYears(double jd);
// The star's J2000 position carried `years` along its motion; sets its epoch magnitude from
// the magnitude read from the file.
EquatorialPosition starAtEpoch(ReferenceStar& star, double years);
// What carrying any star to one epoch shares: the turn from the catalogue's J2000.0 equator onto
// the ecliptic and equinox of the epoch, and the years of the stars' own motion to it.
struct EpochCarry {
    Matrix3 rotation;
    double years;
};
EpochCarry epochCarry(double jd);

struct CarriedStar {
    Vector3 dir;      // in the ecliptic frame of the epoch
    float magnitude;  // at the epoch
};
// The star carried to the epoch of `carry`; the star itself is left as it is.
CarriedStar carryStar(const ReferenceStar& star, const EpochCarry& carry);

// Sets dir and the epoch magnitude of every reference star for the epoch `jd`, always starting
// from the values read from the file.
void applyEpoch(ReferenceCatalog& catalog, double jd);
