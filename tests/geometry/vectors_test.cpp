#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vectors.h"

TEST(Vectors, LengthsDirectionsAndTheSkyConvention) {
    Vector3 v = {3, 4, 12}, zero = {0, 0, 0};
    vec3SetLength(v, 26.0);
    EXPECT_TRUE(vec3Length(Vector3{3, 4, 12}) == 13 && v.z == 24);
    vec3Normalize(zero);  // no direction: left as it is rather than divided by zero
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0);
    const struct {
        Vector3 v;
        double lon, lat;
    } special[] = {{{0, -1, 0}, kHalfPi, -kHalfPi}, {{0, 0, 0}, kHalfPi, 0},
                   {{0, 0, -1}, 1.5 * kPi, 0},      {{0, 250, 250}, kHalfPi, kPi / 4}};
    double lon, lat;
    for (const auto& s : special) {
        vec3ToLonLat(s.v, lon, lat);
        EXPECT_TRUE(std::fabs(lon - s.lon) < 1e-15 && std::fabs(lat - s.lat) < 1e-15) << s.v.y;
    }
    // (cos b cos l, sin b, cos b sin l), and back with the longitude in [0, 2 pi).
    for (double l = -7.0; l <= 13.0; l += 0.37) {
        for (double b = -1.5; b <= 1.5; b += 0.25) {
            lonLatToVec3(l, b, v);
            EXPECT_NEAR(vec3Dot(v, Vector3{std::cos(b) * std::cos(l), std::sin(b),
                                           std::cos(b) * std::sin(l)}), 1.0, 1e-15);
            vec3ToLonLat(v, lon, lat);
            ASSERT_TRUE(lon >= 0 && lon < kTwoPi) << l;
            EXPECT_NEAR(std::remainder(lon - l, kTwoPi), 0.0, 1e-12) << l << " " << b;
            EXPECT_NEAR(lat, b, 1e-12) << l << " " << b;
        }
    }
}

TEST(Matrices, RotationsInTheOrderAppendedTheProjectiveDivideAndAngles) {
    // Axis 0 lowers longitudes by the angle; 1 carries +y toward +z; 2 carries +x toward +y;
    // a turn acts after those appended before it; any other axis code changes nothing.
    const double c = std::cos(0.25), s = std::sin(0.25), c1 = std::cos(1.0), c6 = std::cos(0.6);
    const struct {
        double angle[2];
        int axis[2];
        Vector3 from, to;
    } turns[] = {{{0.4, 1}, {0, 3}, {c1, 0, std::sin(1.0)}, {c6, 0, std::sin(0.6)}},
                 {{kHalfPi, 1}, {1, -1}, {0, 1, 0}, {0, 0, 1}},
                 {{0.25, 0}, {2, 2}, {1, 0, 0}, {c, s, 0}},
                 {{kHalfPi, kHalfPi}, {0, 1}, {0, 0, 1}, {1, 0, 0}},
                 {{kHalfPi, kHalfPi}, {1, 0}, {0, 0, 1}, {0, -1, 0}}};
    for (const auto& t : turns) {
        Matrix3 m;
        mat3Identity(m);
        for (int i = 0; i < 2; ++i) mat3AppendRotation(m, t.angle[i], t.axis[i]);
        Vector3 v = t.from;
        vec3TimesMat3(v, m, v);
        EXPECT_NEAR(vec3Dot(v, t.to), 1.0, 1e-15) << t.axis[0] << " then " << t.axis[1];
    }
    const Matrix4 p = {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 1}, {1, 1, 1, 2}}};
    Vector3 v;
    vec3TimesMat4(Vector3{1, 1, 2}, p, v);  // w = 4
    EXPECT_TRUE(v.x == 0.75 && v.y == 1.0 && v.z == 2.25);
    vec3TimesMat4(Vector3{1, 1, -2}, p, v);  // w = 0: left undivided
    EXPECT_TRUE(v.x == 3 && v.y == 4 && v.z == -7);

    EXPECT_TRUE(angleComplement(kHalfPi) == 0 && angleComplement(0) == kHalfPi);
    EXPECT_DOUBLE_EQ(angleComplement(kPi), 1.5 * kPi);
    EXPECT_TRUE(floorMod(370.0, 360.0) == 10 && floorMod(-370.0, 360.0) == 350);
}
