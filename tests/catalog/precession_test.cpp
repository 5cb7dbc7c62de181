#include "catalog/precession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "catalog/calendar.h"

namespace {

constexpr double kArcsec = kDegToRad / 3600.0;
constexpr double kMaridonJd = 1771298.0;  // 20 July 137

double degreesBetween(double lon1, double lat1, double lon2, double lat2) {
    Vector3 a, b;
    lonLatToVec3(lon1, lat1, a);
    lonLatToVec3(lon2, lat2, b);
    return std::acos(std::fmin(1.0, vec3Dot(a, b))) * kRadToDeg;
}

// Ecliptic longitude and latitude, degrees, of a J2000 ecliptic direction carried to `jd`.
void precessed(double lonDeg, double latDeg, double jd, double& lon, double& lat) {
    Matrix3 m;
    mat3Identity(m);
    appendPrecession(m, jd);
    Vector3 v;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, v);
    vec3TimesMat3(v, m, v);
    vec3ToLonLat(v, lon, lat);
    lon *= kRadToDeg, lat *= kRadToDeg;
}

// A reference star whose epoch magnitude still holds what an earlier epoch left there.
ReferenceStar star(double raDeg, double decDeg, float distance, float pmRa, float pmDec,
                   float radialVelocity = 0, float magnitude = 3) {
    return {0,    0,     "", float(raDeg * kDegToRad), float(decDeg * kDegToRad), distance,
            pmRa, pmDec, radialVelocity, 99, magnitude};
}

}  // namespace

TEST(Nutation, ValuesAtJ2000AndTheObliquityOverTheCenturies) {
    EXPECT_NEAR(nutation(0.0).longitude / kArcsec, -14.03, 0.01);
    EXPECT_NEAR(nutation(0.0).obliquity / kArcsec, -5.76, 0.01);
    // Without the nutation, 23 deg 26' 21.448"; it falls some 47" a century.
    double mean2000 = trueObliquity(kJ2000) - nutation(0.0).obliquity;
    double mean1900 = trueObliquity(kJ2000 - 36525.0) - nutation(-1.0).obliquity;
    EXPECT_NEAR(mean2000 / kArcsec, 84381.448, 1e-6);
    EXPECT_NEAR((mean1900 - mean2000) / kArcsec, 46.8, 0.2);
    EXPECT_NEAR(trueObliquity(kMaridonJd) * kRadToDeg, 23.676, 0.003);
    // The last argument is remembered; another moment, even half a minute later, is new.
    const Nutation a = nutation(0.3);
    EXPECT_NE(nutation(0.3 + 1e-8).longitude, a.longitude);
}

TEST(Precession, EclipticOfDateAtJ2000AndTheSecondCentury) {
    // At J2000.0 only the nutation in longitude turns the sky, about the ecliptic pole.
    double lon, lat;
    for (double l : {0.0, 100.0, 300.0}) {
        precessed(l, 40.0, kJ2000, lon, lat);
        EXPECT_NEAR(std::remainder(lon - l, 360.0) * 3600, -14.03, 0.01) << l;
        EXPECT_NEAR(lat, 40.0, 1e-9) << l;
    }
    precessed(150.0, 0.0, kMaridonJd, lon, lat);
    EXPECT_NEAR(lon, 124.09, 0.005);
    EXPECT_LT(std::fabs(lat), 0.3);
    const double lat137 = lat;

    // applyEpoch turns the catalogue's equator with the true obliquity of J2000.0 first: the
    // equator's point at 90 deg lies that far south, and the J2000 ecliptic star moves as above.
    const double e = trueObliquity(kJ2000), l = 150 * kDegToRad;
    auto catalog = std::make_unique<ReferenceCatalog>();
    catalog->stars[0] = star(90, 0, 10, 0, 0);
    catalog->stars[1] = star(std::atan2(std::cos(e) * std::sin(l), std::cos(l)) * kRadToDeg,
                             std::asin(std::sin(e) * std::sin(l)) * kRadToDeg, 50, 0, 0);
    applyEpoch(*catalog, kJ2000);
    vec3ToLonLat(catalog->stars[0].dir, lon, lat);
    EXPECT_NEAR(lat / kArcsec, -84375.69, 0.05);
    applyEpoch(*catalog, kMaridonJd);
    vec3ToLonLat(catalog->stars[1].dir, lon, lat);
    EXPECT_NEAR(lon * kRadToDeg, 124.09, 0.005);
    EXPECT_NEAR(lat * kRadToDeg, lat137, 1e-4);
    EXPECT_EQ(catalog->stars[1].magnitude, 3.0f);
    // A near star receding fast is fainter at the epoch, by just what its own motion gives.
    ReferenceStar receding = star(10, -20, 10, 0.02f, 0, 100, 1.0f);
    catalog->stars[2] = receding;
    const double later = kJ2000 + 10000 * 365.25;
    applyEpoch(*catalog, later);
    starAtEpoch(receding, properMotionYears(later));
    EXPECT_EQ(catalog->stars[2].magnitude, receding.magnitude);
    EXPECT_GT(receding.magnitude, 1.2f);
}

TEST(StarMotion, SlowOrDistantStarsMoveLinearlyNearFastOnesAlongTheirSpaceMotion) {
    // Exactly 0.01"/yr either way is slow, however near; 200 pc is distant, however fast.
    ReferenceStar slow = star(100, 30, 1.3f, 0.01f, -0.01f, -300, 4.25f);
    EquatorialPosition p = starAtEpoch(slow, 2000);
    EXPECT_EQ(slow.magnitude, 4.25f);
    EXPECT_NEAR(degreesBetween(p.ra, p.dec, slow.ra, slow.dec) * 3600, 20 * std::sqrt(2.0), 2e-3);
    EXPECT_TRUE(std::fabs((p.dec - slow.dec) / kArcsec + 20) < 1e-6 && p.ra > slow.ra);
    ReferenceStar justFast = star(100, 30, 1.3f, 0.0101f, 0, -300, 4.25f);
    starAtEpoch(justFast, 2000);
    EXPECT_LT(justFast.magnitude, 4.0f);  // 0.6 pc nearer after 2000 years at 300 km/s
    ReferenceStar far = star(250, -70, 200, 0, 1, -100, 5.5f);
    p = starAtEpoch(far, -2000);
    EXPECT_EQ(far.magnitude, 5.5f);
    EXPECT_TRUE(std::fabs((p.dec - far.dec) / kArcsec + 2000) < 1e-6 && p.ra == far.ra);

    // A star d parsecs away moving mu"/yr goes d mu t arcsec-radians in t years along a
    // straight line, so its direction turns by atan(mu t ") and its distance grows.
    const double years = 20000, x = 5.0 * years * kArcsec;
    for (double t : {years, -years}) {
        ReferenceStar north = star(200, 40, 10, 0, 5.0f), east = star(200, 40, 10, 5.0f, 0);
        p = starAtEpoch(north, t);
        EXPECT_NEAR(p.ra, north.ra, 1e-12);
        EXPECT_NEAR(p.dec - north.dec, std::atan(t / years * x), 2e-4);
        EXPECT_NEAR(north.magnitude, 3 + 5 * std::log10(std::hypot(1.0, x)), 1e-3);
        p = starAtEpoch(east, t);
        EXPECT_NEAR(degreesBetween(p.ra, p.dec, east.ra, east.dec), std::atan(x) * kRadToDeg, 0.01);
        EXPECT_EQ(p.ra > east.ra, t > 0);
    }
    // Receding at 100 km/s, 1.0227 pc in ten thousand years, while 0.02"/yr carries it
    // 200 arcsec-radians of 10 pc across.
    ReferenceStar receding = star(10, -20, 10, 0.02f, 0, 100, 1.0f);
    p = starAtEpoch(receding, 10000);
    EXPECT_NEAR(receding.magnitude, 1 + 5 * std::log10(11.0227 / 10), 1e-3);
    EXPECT_NEAR(degreesBetween(p.ra, p.dec, receding.ra, receding.dec),
                std::atan(10 * 200 * kArcsec / 11.0227) * kRadToDeg, 1e-4);
}

TEST(ApplyEpoch, RunningTwiceOrComingBackGivesTheSameSky) {
    auto catalog = std::make_unique<ReferenceCatalog>();
    for (int i = 0; i < kReferenceStarCount; ++i) {
        float pm = float(i % 13 - 6) * 0.4f;
        catalog->stars[i] = star(std::fmod(i * 137.508, 360), (i % 170) - 85.0, 1.0f + i % 997,
                                 pm, -0.5f * pm, float(i % 41 - 20) * 5, float(i % 9) - 1);
    }
    auto sky = [&] {
        std::vector<double> values;
        for (const ReferenceStar& s : catalog->stars)
            values.insert(values.end(), {s.dir.x, s.dir.y, s.dir.z, s.magnitude});
        return values;
    };
    applyEpoch(*catalog, kMaridonJd);
    const std::vector<double> first = sky();
    for (double jd : {kMaridonJd, jdFromDecimalYear(-3000.0), kMaridonJd}) {
        applyEpoch(*catalog, jd);
        EXPECT_EQ(sky() == first, jd == kMaridonJd) << jd;
    }
    // The years of motion follow the elapsed time on both sides of AD 1, with no year 0.
    for (double jd : {kJ2000, kMaridonJd, dayNumber(12, 31, -1), dayNumber(4, 1, -1000),
                      dayNumber(1, 1, -7000), dayNumber(9, 1, 5000)})
        EXPECT_NEAR(properMotionYears(jd), (jd - kJ2000) / 365.25, 0.1) << jd;
}
