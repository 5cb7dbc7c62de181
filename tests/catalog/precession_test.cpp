#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "catalog/calendar.h"
#include "catalog/precession.h"

namespace {

constexpr double kArcsec = 4.84813681109536e-6;
constexpr double kMeanObliquityJ2000Arcsec = 84381.448;
constexpr double kDaysPerMillennium = 365250.0;

double angleBetween(const Vector3& a, const Vector3& b) {
    Vector3 u = a, v = b;
    vec3Normalize(u);
    vec3Normalize(v);
    Vector3 cross = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    return std::atan2(vec3Length(cross), vec3Dot(u, v));
}

// Difference of two longitudes brought into (-pi, pi].
double lonDifference(double a, double b) {
    double d = std::fmod(a - b, kTwoPi);
    if (d > kPi) d -= kTwoPi;
    if (d <= -kPi) d += kTwoPi;
    return d;
}

Vector3 direction(double lon, double lat) {
    Vector3 v;
    lonLatToVec3(lon, lat, v);
    return v;
}

ReferenceStar makeStar(double raDeg, double decDeg, float distance, float pmRa, float pmDec,
                       float radialVelocity, float magnitude) {
    ReferenceStar star;
    star.ra = float(raDeg * kDegToRad);
    star.dec = float(decDeg * kDegToRad);
    star.distance = distance;
    star.pmRa = pmRa;
    star.pmDec = pmDec;
    star.radialVelocity = radialVelocity;
    star.fileMagnitude = magnitude;
    star.magnitude = 99.0f;  // whatever an earlier epoch left there
    return star;
}

// The long-term precession quantities of Laskar (1986) as explicit power series in t,
// Julian millennia from J2000.0: general precession (arcsec), node and inclination (radians).
double powerSeries(const double* ascending, int count, double t) {
    double sum = 0.0;
    for (int k = 0; k < count; ++k) sum += ascending[k] * std::pow(t, k);
    return sum;
}
const double kPrecessionSeries[] = {0.0,       50290.966,  111.1971, 0.07732,
                                    -0.235316, -1.8055e-3, 1.7451e-4, 1.3095e-5,
                                    2.424e-7,  -4.759e-8,  -8.66e-10};
const double kNodeSeries[] = {3.052112654975,  -0.042078604317, 7.4394531426e-5,
                              2.75036225e-8,   -1.813065896e-7, -3.48388152e-9,
                              6.3190131e-10,   7.521313e-12,    -1.547021e-12,
                              -2.69151e-15,    6.6402e-16};
const double kInclinationSeries[] = {0.0,            0.002278495537, -1.6242797091e-5,
                                     -5.998737027e-7, 1.32115526e-9, -5.4000441e-11,
                                     2.4650839e-11,  2.50341e-13,    -8.26287e-14,
                                     7.3759e-17,     1.2147e-16};

}  // namespace

TEST(Nutation, AbridgedSeriesAtJ2000AndTheObliquity) {
    Nutation n = nutation(0.0);
    EXPECT_NEAR(n.longitude / kArcsec, -14.03, 0.01);
    EXPECT_NEAR(n.obliquity / kArcsec, -5.76, 0.01);
    EXPECT_NEAR(trueObliquity(kJ2000) / kArcsec, 84375.69, 0.01);
    // Take the nutation away and the mean obliquity of J2000.0 remains, 23 deg 26' 21.448".
    EXPECT_NEAR(trueObliquity(kJ2000) - nutation(0.0).obliquity,
                kMeanObliquityJ2000Arcsec * kArcsec, 1e-12);
    // The obliquity falls by some 47" a century today; in the second century it was close
    // to 23 deg 40.5'.
    double secondCentury = trueObliquity(1771298.0) * kRadToDeg;
    EXPECT_NEAR(secondCentury, 23.676, 0.003);
    double earlier = trueObliquity(kJ2000 - 36525.0) - nutation(-1.0).obliquity;
    double now = trueObliquity(kJ2000) - nutation(0.0).obliquity;
    EXPECT_NEAR((earlier - now) / kArcsec, 46.8, 0.2);
}

TEST(Nutation, RemembersOnlyTheLastArgument) {
    Nutation first = nutation(0.3);
    Nutation second = nutation(-0.7);
    // The two moments differ by far more than rounding.
    EXPECT_GT(std::fabs(first.longitude - second.longitude), 0.1 * kArcsec);
    EXPECT_GT(std::fabs(first.obliquity - second.obliquity), 0.1 * kArcsec);
    // Alternating arguments: each call gives the value of its own argument.
    Nutation a = nutation(0.3);
    Nutation again = nutation(0.3);  // served from the memo
    Nutation b = nutation(-0.7);
    EXPECT_EQ(a.longitude, first.longitude);
    EXPECT_EQ(a.obliquity, first.obliquity);
    EXPECT_EQ(again.longitude, first.longitude);
    EXPECT_EQ(b.longitude, second.longitude);
    EXPECT_EQ(b.obliquity, second.obliquity);
    // Half a minute later (1e-8 century) is a new moment, computed afresh: the fast lunar
    // terms change the nutation in longitude by a few 1e-5" in that time.
    nutation(0.3);
    Nutation later = nutation(0.3 + 1e-8);
    EXPECT_NE(later.longitude, first.longitude);
    EXPECT_NEAR(later.longitude, first.longitude, 1e-3 * kArcsec);
    // The obliquity of an epoch does not depend on what was asked before it.
    double direct = trueObliquity(1771298.0);
    nutation(5.0);
    Matrix3 m;
    mat3Identity(m);
    appendPrecession(m, kJ2000 + 12345.0);
    EXPECT_EQ(trueObliquity(1771298.0), direct);
}

TEST(FrameRotations, EquatorAndEclipticOfOneDate) {
    double jd = 1771298.0;
    double obliquity = trueObliquity(jd);
    Matrix3 toEcliptic, toEquator;
    mat3Identity(toEcliptic);
    mat3Identity(toEquator);
    appendEquatorToEcliptic(toEcliptic, jd);
    appendEclipticToEquator(toEquator, jd);
    // The ecliptic pole lies at right ascension 270 deg, declination 90 deg minus the obliquity.
    Vector3 pole = {0, 1, 0}, onEquator;
    vec3TimesMat3(pole, toEquator, onEquator);
    double ra, dec;
    vec3ToLonLat(onEquator, ra, dec);
    EXPECT_NEAR(ra, 1.5 * kPi, 1e-12);
    EXPECT_NEAR(dec, kHalfPi - obliquity, 1e-12);
    // The two turns undo each other.
    Vector3 back;
    vec3TimesMat3(onEquator, toEcliptic, back);
    EXPECT_NEAR(back.y, 1.0, 1e-15);
}

TEST(Precession, AtJ2000OnlyTheNutationInLongitudeRemains) {
    Matrix3 m;
    mat3Identity(m);
    appendPrecession(m, kJ2000);
    double dPsi = nutation(0.0).longitude;
    const double samples[][2] = {{0.0, 0.0}, {1.0, 0.5}, {3.0, -1.2}, {5.5, 1.4}, {6.2, -0.1}};
    for (const auto& s : samples) {
        Vector3 v = direction(s[0], s[1]);
        vec3TimesMat3(v, m, v);
        double lon, lat;
        vec3ToLonLat(v, lon, lat);
        EXPECT_NEAR(lonDifference(lon, s[0]), dPsi, 1e-12) << s[0];
        EXPECT_NEAR(lat, s[1], 1e-12) << s[1];
    }
}

TEST(Precession, MatrixAgreesWithTheClosedFormAtFarEpochs) {
    const double epochs[] = {kJ2000 - 8 * kDaysPerMillennium, 1771298.0,
                             kJ2000 + 3 * kDaysPerMillennium};
    const double stars[][2] = {{0.3, 0.1}, {2.0, -0.6}, {3.9, 1.1}, {5.0, -1.3}, {6.0, 0.0}};
    for (double jd : epochs) {
        double t = (jd - kJ2000) / kDaysPerMillennium;
        double p = powerSeries(kPrecessionSeries, 11, t) * kArcsec;
        double node = powerSeries(kNodeSeries, 11, t);
        double tilt = powerSeries(kInclinationSeries, 11, t);
        double dPsi = nutation(10 * t).longitude;
        Matrix3 m;
        mat3Identity(m);
        appendPrecession(m, jd);
        for (const auto& s : stars) {
            double lon0 = s[0], lat0 = s[1];
            double sinLat = std::cos(tilt) * std::sin(lat0) +
                            std::sin(tilt) * std::cos(lat0) * std::sin(node - lon0);
            double A = std::cos(tilt) * std::cos(lat0) * std::sin(node - lon0) -
                       std::sin(tilt) * std::sin(lat0);
            double B = std::cos(lat0) * std::cos(node - lon0);
            double expectedLon = node + p + dPsi - std::atan2(A, B);
            Vector3 v = direction(lon0, lat0);
            vec3TimesMat3(v, m, v);
            double lon, lat;
            vec3ToLonLat(v, lon, lat);
            EXPECT_NEAR(lonDifference(lon, expectedLon), 0.0, 1e-10) << jd << " " << lon0;
            EXPECT_NEAR(lat, std::asin(sinLat), 1e-10) << jd << " " << lon0;
        }
    }
}

TEST(Precession, EclipticStarOfJ2000InTheSecondCentury) {
    Matrix3 m;
    mat3Identity(m);
    appendPrecession(m, 1771298.0);  // 20 July 137
    Vector3 v = direction(150.0 * kDegToRad, 0.0);
    vec3TimesMat3(v, m, v);
    double lon, lat;
    vec3ToLonLat(v, lon, lat);
    EXPECT_NEAR(lon * kRadToDeg, 124.09, 0.005);
    EXPECT_LT(std::fabs(lat), 0.3 * kDegToRad);  // the ecliptic itself has tilted a little

    // The same star given by its J2000 equatorial place, without motion, through applyEpoch.
    auto catalog = std::make_unique<ReferenceCatalog>();
    Matrix3 toEquator;
    mat3Identity(toEquator);
    mat3AppendRotation(toEquator, -kMeanObliquityJ2000Arcsec * kArcsec, 1);
    Vector3 equatorial = direction(150.0 * kDegToRad, 0.0);
    vec3TimesMat3(equatorial, toEquator, equatorial);
    double ra, dec;
    vec3ToLonLat(equatorial, ra, dec);
    catalog->stars[0] = makeStar(ra * kRadToDeg, dec * kRadToDeg, 50.0f, 0, 0, 0, 3.0f);
    applyEpoch(*catalog, 1771298.0);
    vec3ToLonLat(catalog->stars[0].dir, lon, lat);
    EXPECT_NEAR(lon * kRadToDeg, 124.09, 0.005);
    EXPECT_EQ(catalog->stars[0].magnitude, 3.0f);
}

TEST(Precession, CatalogueEquatorIsTurnedWithTheObliquityOfJ2000) {
    // At J2000.0 the point of right ascension 90 deg on the catalogue's equator lies as far
    // south of the ecliptic as the true obliquity of J2000.0, 84375.69".
    auto catalog = std::make_unique<ReferenceCatalog>();
    catalog->stars[0] = makeStar(90.0, 0.0, 10.0f, 0, 0, 0, 1.0f);
    catalog->stars[1] = makeStar(0.0, 0.0, 10.0f, 0, 0, 0, 1.0f);
    applyEpoch(*catalog, kJ2000);
    double lon, lat;
    vec3ToLonLat(catalog->stars[0].dir, lon, lat);
    EXPECT_NEAR(lat / kArcsec, -84375.69, 0.05);
    // The equinox itself stays on the ecliptic, moved only by the nutation in longitude.
    vec3ToLonLat(catalog->stars[1].dir, lon, lat);
    EXPECT_NEAR(lat / kArcsec, 0.0, 0.05);
    EXPECT_NEAR(lonDifference(lon, 0.0) / kArcsec, -14.03, 0.01);
}

TEST(StarMotion, SlowOrDistantStarsMoveOnTheSphereAndKeepTheirMagnitude) {
    // Slow: at most 0.01"/yr either way, even though very near.
    ReferenceStar slow = makeStar(100.0, 30.0, 1.3f, 0.008f, -0.006f, -300.0f, 4.25f);
    double years = 2000.0;
    EquatorialPosition moved = starAtEpoch(slow, years);
    EXPECT_EQ(slow.magnitude, 4.25f);
    // It has gone 20" in all (16" east, 12" south) and its distance played no part.
    Vector3 from = direction(slow.ra, slow.dec), to = direction(moved.ra, moved.dec);
    EXPECT_NEAR(angleBetween(from, to) / kArcsec, 20.0, 0.001);
    EXPECT_NEAR((moved.dec - slow.dec) / kArcsec, -12.0, 1e-6);
    EXPECT_GT(moved.ra, slow.ra);
    // Exactly 0.01"/yr is still slow.
    ReferenceStar edge = makeStar(10.0, -20.0, 1.3f, 0.01f, -0.01f, 50.0f, 2.0f);
    starAtEpoch(edge, -5000.0);
    EXPECT_EQ(edge.magnitude, 2.0f);

    // Distant: 200 pc or more, however fast; the same 2000 years carry it 2000" north.
    ReferenceStar far = makeStar(250.0, -70.0, 200.0f, 0.0f, 1.0f, -100.0f, 5.5f);
    moved = starAtEpoch(far, years);
    EXPECT_EQ(far.magnitude, 5.5f);
    EXPECT_NEAR((moved.dec - far.dec) / kArcsec, 2000.0, 1e-6);
    EXPECT_NEAR(moved.ra, far.ra, 1e-15);
}

TEST(StarMotion, NearFastStarFollowsItsSpaceMotion) {
    const ReferenceStar original = makeStar(219.9, -60.8, 1.3f, -3.7f, 0.7f, -22.0f, -0.27f);
    double ra = original.ra, dec = original.dec, d = original.distance;
    // An independent straight-line path: the star's direction and the unit vectors toward
    // increasing right ascension and declination, taken from the sphere by central differences.
    const double h = 1e-5;
    Vector3 r = direction(ra, dec);
    Vector3 east, north;
    Vector3 ePlus = direction(ra + h, dec), eMinus = direction(ra - h, dec);
    Vector3 nPlus = direction(ra, dec + h), nMinus = direction(ra, dec - h);
    east = {(ePlus.x - eMinus.x) / (2 * h * std::cos(dec)),
            (ePlus.y - eMinus.y) / (2 * h * std::cos(dec)),
            (ePlus.z - eMinus.z) / (2 * h * std::cos(dec))};
    north = {(nPlus.x - nMinus.x) / (2 * h), (nPlus.y - nMinus.y) / (2 * h),
             (nPlus.z - nMinus.z) / (2 * h)};
    const double parsecsPerYear = 1.02272495e-6;  // in one km/s
    double vRadial = parsecsPerYear * original.radialVelocity;
    double vEast = parsecsPerYear * 4.74 * original.pmRa * d;  // 4.74 km/s = 1 AU/yr
    double vNorth = parsecsPerYear * 4.74 * original.pmDec * d;

    for (double years : {-2000.0, 2000.0}) {
        Vector3 p;
        p.x = d * r.x + years * (vRadial * r.x + vEast * east.x + vNorth * north.x);
        p.y = d * r.y + years * (vRadial * r.y + vEast * east.y + vNorth * north.y);
        p.z = d * r.z + years * (vRadial * r.z + vEast * east.z + vNorth * north.z);
        double distance = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        double expectedRa = std::atan2(p.z, p.x);
        if (expectedRa < 0) expectedRa += kTwoPi;
        double expectedDec = std::asin(p.y / distance);

        ReferenceStar star = original;
        EquatorialPosition moved = starAtEpoch(star, years);
        EXPECT_NEAR(moved.ra, expectedRa, 1e-9) << years;
        EXPECT_NEAR(moved.dec, expectedDec, 1e-9) << years;
        EXPECT_NEAR(star.magnitude, original.fileMagnitude + 5.0 * std::log10(distance / d), 1e-5)
            << years;
        // It is coming closer: some 0.075 mag fainter in the past, brighter in the future.
        EXPECT_NEAR(star.magnitude - original.fileMagnitude, years > 0 ? -0.075 : 0.075, 0.005);
    }

    // Over a single year the space motion is the proper motion to first order.
    ReferenceStar star = original;
    EquatorialPosition oneYear = starAtEpoch(star, 1.0);
    double movedEast = lonDifference(oneYear.ra, ra) * std::cos(dec) / kArcsec;
    double movedNorth = (oneYear.dec - dec) / kArcsec;
    EXPECT_NEAR(movedEast, original.pmRa, 2e-3);
    EXPECT_NEAR(movedNorth, original.pmDec, 2e-3);
}

TEST(ApplyEpoch, EveryRunStartsFromTheFileValues) {
    auto catalog = std::make_unique<ReferenceCatalog>();
    for (int i = 0; i < kReferenceStarCount; ++i) {
        double raDeg = std::fmod(i * 137.508, 360.0);
        double decDeg = std::asin(2.0 * ((i + 0.5) / kReferenceStarCount) - 1.0) * kRadToDeg;
        float distance = 1.0f + float(i % 997);
        float pm = float((i % 13) - 6) * 0.4f;
        catalog->stars[i] = makeStar(raDeg, decDeg, distance, pm, -0.5f * pm,
                                     float((i % 41) - 20) * 5.0f, float(i % 9) - 1.0f);
    }
    double epoch = dayNumber(7, 20, 137);
    applyEpoch(*catalog, epoch);
    auto first = std::make_unique<ReferenceCatalog>(*catalog);
    applyEpoch(*catalog, epoch);
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ASSERT_EQ(catalog->stars[i].dir.x, first->stars[i].dir.x) << i;
        ASSERT_EQ(catalog->stars[i].dir.y, first->stars[i].dir.y) << i;
        ASSERT_EQ(catalog->stars[i].dir.z, first->stars[i].dir.z) << i;
        ASSERT_EQ(catalog->stars[i].magnitude, first->stars[i].magnitude) << i;
    }
    // Going elsewhere and coming back gives the same sky again.
    applyEpoch(*catalog, jdFromDecimalYear(-3000.0));
    int changed = 0;
    for (int i = 0; i < kReferenceStarCount; ++i)
        if (catalog->stars[i].magnitude != first->stars[i].magnitude) ++changed;
    EXPECT_GT(changed, 100);
    applyEpoch(*catalog, epoch);
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ASSERT_EQ(catalog->stars[i].dir.x, first->stars[i].dir.x) << i;
        ASSERT_EQ(catalog->stars[i].magnitude, first->stars[i].magnitude) << i;
        ASSERT_NEAR(vec3Length(catalog->stars[i].dir), 1.0, 1e-12) << i;
    }
}

TEST(ApplyEpoch, ProperMotionTimeRunsEvenlyThroughTheChangeOfEra) {
    // The years of motion follow the elapsed Julian Date to within the drift between the
    // calendar year and 365.25 days, on both sides of AD 1.
    const double epochs[] = {kJ2000, 1771298.0, dayNumber(6, 1, 1), dayNumber(12, 31, -1),
                             dayNumber(1, 1, -1), dayNumber(4, 1, -1000), dayNumber(1, 1, -7000),
                             dayNumber(9, 1, 5000)};
    for (double jd : epochs) {
        double elapsed = (jd - kJ2000) / 365.25;
        EXPECT_NEAR(properMotionYears(jd), elapsed, 0.1) << jd;
    }
    // The last day of 1 BC and the first of AD 1 are a day apart, not a year.
    double step = properMotionYears(dayNumber(1, 1, 1)) - properMotionYears(dayNumber(12, 31, -1));
    EXPECT_GE(step, 0.0);
    EXPECT_LT(step, 0.01);
    EXPECT_EQ(properMotionYears(kJ2000), 0.0);
}
