#include "catalog/precession.h"

#include <cmath>
#include <cstddef>

#include "catalog/calendar.h"

namespace {

constexpr double kDaysPerMillennium = 365250.0;
constexpr double kDaysPerTenMillennia = 3652500.0;
constexpr double kArcsecPerDegree = 3600.0;

// Mean obliquity of the ecliptic at J2000.0: 84381.448", that is 23 deg 26' 21.448".
constexpr double kMeanObliquityJ2000 = 0.4090928042223289;

// Laskar (1986), highest power first. Mean obliquity: arcseconds, times U, added to the J2000
// value (U in units of ten thousand Julian years).
constexpr double kObliquityTerms[] = {2.45,   5.79,    27.87,  7.12,    -39.05,
                                      -249.67, -51.38, 1999.25, -1.55, -4680.93};
// General precession in longitude: arcseconds, times t (t in Julian millennia).
constexpr double kGeneralPrecessionTerms[] = {-8.66e-10,  -4.759e-8, 2.424e-7, 1.3095e-5,
                                              1.7451e-4,  -1.8055e-3, -0.235316, 0.07732,
                                              111.1971,   50290.966};
// Longitude of the ascending node of the ecliptic of date on that of J2000.0, radians.
constexpr double kNodeTerms[] = {6.6402e-16,      -2.69151e-15,    -1.547021e-12,
                                 7.521313e-12,    6.3190131e-10,   -3.48388152e-9,
                                 -1.813065896e-7, 2.75036225e-8,   7.4394531426e-5,
                                 -0.042078604317, 3.052112654975};
// Inclination of the ecliptic of date to that of J2000.0, radians.
constexpr double kInclinationTerms[] = {1.2147e-16,     7.3759e-17,      -8.26287e-14,
                                        2.50341e-13,    2.4650839e-11,   -5.4000441e-11,
                                        1.32115526e-9,  -5.998737027e-7, -1.6242797091e-5,
                                        0.002278495537, 0.0};

// Stars slower than this in both directions, arcseconds per year, or at least this far away,
// parsecs, move linearly on the sphere and keep their magnitude.
constexpr double kSlowProperMotion = 0.01;
constexpr double kNearDistance = 200.0;
// Parsecs per year in one km/s, and km/s in one astronomical unit per year.
constexpr double kParsecsPerYearPerKmS = 1.02272495e-6;
constexpr double kKmSPerAuPerYear = 4.74;

// Memo of the last nutation argument and its two results. One epoch asks for the nutation of
// the same moment several times (the obliquity and the precession), so a repeated argument is
// served from here. The remembered argument starts far from any real one: the first call
// always computes.
struct NutationMemo {
    double argument = -1.0e10;
    Nutation result = {0.0, 0.0};
};
NutationMemo lastNutation;

// Horner's rule over coefficients given from the highest power down to the constant.
template <std::size_t N>
double horner(const double (&terms)[N], double x) {
    double sum = 0.0;
    for (double term : terms) sum = sum * x + term;
    return sum;
}

struct MovedStar {
    EquatorialPosition position;  // J2000.0 equator, at the epoch
    float magnitude;
};

// The star's J2000 position carried `years` along its motion, with its magnitude then.
MovedStar moveStar(const ReferenceStar& star, double years) {
    double ra = star.ra, dec = star.dec, distance = star.distance;
    double pmRa = star.pmRa, pmDec = star.pmDec;
    bool fast = std::fabs(pmRa) > kSlowProperMotion || std::fabs(pmDec) > kSlowProperMotion;
    if (fast && distance > 0.0 && distance < kNearDistance) {
        // Carry the star along its space motion in a straight line, in parsecs.
        double sinRa = std::sin(ra), cosRa = std::cos(ra);
        double sinDec = std::sin(dec), cosDec = std::cos(dec);
        Vector3 toward = {cosDec * cosRa, sinDec, cosDec * sinRa};  // the star's direction
        Vector3 east = {-sinRa, 0.0, cosRa};                        // increasing right ascension
        Vector3 north = {-sinDec * cosRa, cosDec, -sinDec * sinRa};  // increasing declination
        double radial = kParsecsPerYearPerKmS * star.radialVelocity;
        double alongRa = kParsecsPerYearPerKmS * kKmSPerAuPerYear * pmRa * distance;
        double alongDec = kParsecsPerYearPerKmS * kKmSPerAuPerYear * pmDec * distance;
        Vector3 moved;
        moved.x = distance * toward.x + years * (radial * toward.x + alongRa * east.x + alongDec * north.x);
        moved.y = distance * toward.y + years * (radial * toward.y + alongRa * east.y + alongDec * north.y);
        moved.z = distance * toward.z + years * (radial * toward.z + alongRa * east.z + alongDec * north.z);
        double newDistance = vec3Length(moved);
        // A star whose path runs exactly through the Sun has no direction or magnitude there;
        // it keeps its catalogue values at that one moment.
        if (newDistance > 0.0) {
            MovedStar result;
            vec3ToLonLat(moved, result.position.ra, result.position.dec);
            result.magnitude = float(star.fileMagnitude + 5.0 * std::log10(newDistance / distance));
            return result;
        }
        return {{ra, dec}, star.fileMagnitude};
    }
    // A slow or distant star moves linearly on the sphere.
    MovedStar result;
    result.position.ra = ra + (pmRa * years / (std::cos(dec) * kArcsecPerDegree)) * kDegToRad;
    result.position.dec = dec + (pmDec * years / kArcsecPerDegree) * kDegToRad;
    result.magnitude = star.fileMagnitude;
    return result;
}

}  // namespace

Nutation nutation(double T) {
    if (std::fabs(T - lastNutation.argument) < 1.0e-10) return lastNutation.result;
    double node = (125.04452 - 1934.136261 * T) * kDegToRad;     // Moon's ascending node
    double sun = (280.4665 + 36000.7698 * T) * kDegToRad;        // Sun's mean longitude
    double moon = (218.3165 + 481267.8813 * T) * kDegToRad;      // Moon's mean longitude
    double dPsi = -17.20 * std::sin(node) - 1.32 * std::sin(2 * sun) -
                  0.23 * std::sin(2 * moon) + 0.21 * std::sin(2 * node);
    double dEps = 9.20 * std::cos(node) + 0.57 * std::cos(2 * sun) +
                  0.10 * std::cos(2 * moon) - 0.09 * std::cos(2 * node);
    lastNutation.argument = T;
    lastNutation.result = {dPsi * kArcsecToRad, dEps * kArcsecToRad};
    return lastNutation.result;
}

double trueObliquity(double jd) {
    double U = (jd - kJ2000) / kDaysPerTenMillennia;
    Nutation n = nutation(100 * U);
    double P = horner(kObliquityTerms, U);
    return kMeanObliquityJ2000 + P * U * kArcsecToRad + n.obliquity;
}

void appendEquatorToEcliptic(Matrix3& m, double jd) { mat3AppendRotation(m, trueObliquity(jd), 1); }

void appendEclipticToEquator(Matrix3& m, double jd) { mat3AppendRotation(m, -trueObliquity(jd), 1); }

void appendPrecession(Matrix3& m, double jd) {
    double t = (jd - kJ2000) / kDaysPerMillennium;
    double generalPrecession = t * horner(kGeneralPrecessionTerms, t) * kArcsecToRad;
    double node = horner(kNodeTerms, t);
    double inclination = horner(kInclinationTerms, t);
    Nutation n = nutation(10 * t);
    mat3AppendRotation(m, node, 0);         // longitudes now count from the node
    mat3AppendRotation(m, inclination, 1);  // tilt onto the ecliptic of date
    // Longitudes count again from the equinox of date, with the nutation in longitude.
    mat3AppendRotation(m, -(node + generalPrecession + n.longitude), 0);
}

double properMotionYears(double jd) {
    double years = decimalYear(jd) - 2000.0;
    // A BC decimal year counts from the negative historical year, which is one less than the
    // astronomical year: 1 January 1 BC is -1.0 but lies one year, not two, before AD 1.
    if (calendarDate(jd).year < 0) years += 1.0;
    return years;
}

EquatorialPosition starAtEpoch(ReferenceStar& star, double years) {
    MovedStar moved = moveStar(star, years);
    star.magnitude = moved.magnitude;
    return moved.position;
}

EpochCarry epochCarry(double jd) {
    // Turn the catalogue's J2000.0 equator onto the ecliptic with the true obliquity of J2000.0,
    // then carry the ecliptic to the epoch: one matrix for every star.
    EpochCarry carry;
    mat3Identity(carry.rotation);
    appendEquatorToEcliptic(carry.rotation, kJ2000);
    appendPrecession(carry.rotation, jd);
    carry.years = properMotionYears(jd);
    return carry;
}

CarriedStar carryStar(const ReferenceStar& star, const EpochCarry& carry) {
    MovedStar moved = moveStar(star, carry.years);
    Vector3 direction;
    lonLatToVec3(moved.position.ra, moved.position.dec, direction);
    CarriedStar carried;
    vec3TimesMat3(direction, carry.rotation, carried.dir);
    carried.magnitude = moved.magnitude;
    return carried;
}

void applyEpoch(ReferenceCatalog& catalog, double jd) {
    const EpochCarry carry = epochCarry(jd);
    for (ReferenceStar& star : catalog.stars) {
        CarriedStar carried = carryStar(star, carry);
        star.dir = carried.dir;
        star.magnitude = carried.magnitude;
    }
}
