#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vectors.h"

TEST(Vectors, LengthsAndTheSkyConvention) {
    Vector3 v = {3, 4, 12}, zero = {0, 0, 0};
    EXPECT_EQ(vec3Length(v), 13.0);
    vec3SetLength(v, 26.0);
    EXPECT_DOUBLE_EQ(v.z, 24.0);
    vec3Normalize(v);
    EXPECT_DOUBLE_EQ(v.y, 4.0 / 13.0);
    vec3Normalize(zero);  // no direction: left as it is rather than divided by zero
    vec3SetLength(zero, 5.0);
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0);

    const struct {
        Vector3 v;
        double lon, lat;
    } special[] = {{{0, 1, 0}, kHalfPi, kHalfPi}, {{0, -1, 0}, kHalfPi, -kHalfPi},
                   {{0, 0, 0}, kHalfPi, 0},       {{1, 0, 0}, 0, 0},
                   {{0, 0, -1}, 1.5 * kPi, 0},    {{0, 250, 250}, kHalfPi, kPi / 4}};
    double lon, lat;
    for (const auto& s : special) {
        vec3ToLonLat(s.v, lon, lat);
        EXPECT_NEAR(lon, s.lon, 1e-15) << s.v.x << " " << s.v.y << " " << s.v.z;
        EXPECT_NEAR(lat, s.lat, 1e-15) << s.v.x << " " << s.v.y << " " << s.v.z;
    }
    // (cos b cos l, sin b, cos b sin l), and back to the longitude in [0, 2 pi).
    for (double l = -7.0; l <= 13.0; l += 0.37) {
        for (double b = -1.5; b <= 1.5; b += 0.25) {
            lonLatToVec3(l, b, v);
            EXPECT_NEAR(v.x, std::cos(b) * std::cos(l), 1e-15);
            EXPECT_NEAR(v.y, std::sin(b), 1e-15);
            EXPECT_NEAR(v.z, std::cos(b) * std::sin(l), 1e-15);
            vec3ToLonLat(v, lon, lat);
            ASSERT_TRUE(lon >= 0 && lon < kTwoPi) << l;
            EXPECT_NEAR(std::remainder(lon - l, kTwoPi), 0.0, 1e-12) << l << " " << b;
            EXPECT_NEAR(lat, b, 1e-12) << l << " " << b;
        }
    }
}

TEST(Matrices, ProductsRotationsAndTheProjectiveDivide) {
    Matrix3 a = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}}, b = {{{0, 1, 0}, {-1, 0, 2}, {3, 0, 1}}};
    const double product[3][3] = {{7, 1, 7}, {13, 4, 16}, {22, 7, 26}};
    mat3Multiply(a, b, a);  // the product may overwrite a factor
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(a.m[r][c], product[r][c]) << r << c;
    Vector3 v = {1, 2, 3};
    vec3TimesMat3(v, b, v);  // a row vector, v x M
    EXPECT_TRUE(v.x == 7 && v.y == 1 && v.z == 7);

    // Axis 0 lowers longitudes by the angle; 1 carries +y toward +z; 2 carries +x toward +y;
    // an appended turn acts after those already there; other codes change nothing.
    const struct {
        double angles[2];
        int axes[2];
        Vector3 from, to;
    } turns[] = {{{0.4, 0}, {0, 3}, {std::cos(1.0), 0, std::sin(1.0)}, {std::cos(0.6), 0, std::sin(0.6)}},
                 {{kHalfPi, 0}, {1, -1}, {0, 1, 0}, {0, 0, 1}},
                 {{0.25, 0}, {2, 0}, {1, 0, 0}, {std::cos(0.25), std::sin(0.25), 0}},
                 {{kHalfPi, kHalfPi}, {0, 1}, {0, 0, 1}, {1, 0, 0}},
                 {{kHalfPi, kHalfPi}, {1, 0}, {0, 0, 1}, {0, -1, 0}}};
    for (const auto& t : turns) {
        Matrix3 m;
        mat3Identity(m);
        for (int i = 0; i < 2; ++i) mat3AppendRotation(m, t.angles[i], t.axes[i]);
        vec3TimesMat3(t.from, m, v);
        EXPECT_NEAR(v.x, t.to.x, 1e-15) << t.axes[0] << t.axes[1];
        EXPECT_NEAR(v.y, t.to.y, 1e-15) << t.axes[0] << t.axes[1];
        EXPECT_NEAR(v.z, t.to.z, 1e-15) << t.axes[0] << t.axes[1];
    }

    const Matrix4 p = {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 1}, {1, 1, 1, 2}}};
    vec3TimesMat4(Vector3{1, 1, 2}, p, v);  // w = 4
    EXPECT_TRUE(v.x == 0.75 && v.y == 1.0 && v.z == 2.25);
    vec3TimesMat4(Vector3{1, 1, -2}, p, v);  // w = 0: left undivided
    EXPECT_TRUE(v.x == 3 && v.y == 4 && v.z == -7);
}

TEST(Angles, ComplementAndFloorMod) {
    EXPECT_EQ(angleComplement(kHalfPi), 0.0);
    EXPECT_EQ(angleComplement(0.0), kHalfPi);
    EXPECT_DOUBLE_EQ(angleComplement(kPi), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(floorMod(-0.1, kTwoPi), kTwoPi - 0.1);
    EXPECT_EQ(floorMod(370.0, 360.0), 10.0);
    EXPECT_EQ(floorMod(-370.0, 360.0), 350.0);
}
