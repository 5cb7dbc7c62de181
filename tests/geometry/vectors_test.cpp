#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vectors.h"

namespace {

void expectMatrixEq(const Matrix3& a, const Matrix3& b) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(a.m[r][c], b.m[r][c]) << r << "," << c;
}

Vector3 direction(double lon, double lat) {
    Vector3 v;
    lonLatToVec3(lon, lat, v);
    return v;
}

}  // namespace

TEST(Vectors, LengthsAndTheZeroVector) {
    Vector3 v = {3, 4, 12};
    EXPECT_EQ(vec3Length(v), 13.0);
    vec3SetLength(v, 26.0);
    EXPECT_DOUBLE_EQ(v.z, 24.0);
    vec3Normalize(v);
    EXPECT_DOUBLE_EQ(v.y, 4.0 / 13.0);
    // The zero vector has no direction: it is left as it is rather than divided by zero.
    Vector3 zero = {0, 0, 0};
    vec3Normalize(zero);
    vec3SetLength(zero, 5.0);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);
    // Sky convention: (cos b cos l, sin b, cos b sin l), the pole on +y.
    v = direction(0.7, -0.3);
    EXPECT_NEAR(v.x, std::cos(-0.3) * std::cos(0.7), 1e-15);
    EXPECT_NEAR(v.y, std::sin(-0.3), 1e-15);
    EXPECT_NEAR(v.z, std::cos(-0.3) * std::sin(0.7), 1e-15);
}

TEST(Vectors, LongitudeAndLatitudeOfSpecialDirections) {
    double lon = -1, lat = -1;
    vec3ToLonLat(Vector3{0, 1, 0}, lon, lat);
    EXPECT_EQ(lon, kHalfPi);
    EXPECT_EQ(lat, kHalfPi);
    vec3ToLonLat(Vector3{0, -1, 0}, lon, lat);
    EXPECT_EQ(lon, kHalfPi);
    EXPECT_EQ(lat, -kHalfPi);
    vec3ToLonLat(Vector3{0, 0, 0}, lon, lat);
    EXPECT_EQ(lon, kHalfPi);
    EXPECT_EQ(lat, 0.0);
    vec3ToLonLat(Vector3{1, 0, 0}, lon, lat);
    EXPECT_EQ(lon, 0.0);
    EXPECT_EQ(lat, 0.0);
    vec3ToLonLat(Vector3{0, 0, -1}, lon, lat);
    EXPECT_DOUBLE_EQ(lon, 1.5 * kPi);
    vec3ToLonLat(Vector3{-1, 0, 0}, lon, lat);
    EXPECT_DOUBLE_EQ(lon, kPi);
    // Any length will do, and the vector itself is not touched.
    Vector3 long_ = {0, 250, 250};
    vec3ToLonLat(long_, lon, lat);
    EXPECT_DOUBLE_EQ(lon, kHalfPi);
    EXPECT_DOUBLE_EQ(lat, kPi / 4);
    EXPECT_EQ(long_.y, 250.0);
    // Just below the equinox and all round the sky the longitude is never negative.
    for (int i = 0; i < 720; ++i) {
        double a = i * kTwoPi / 720 - 1e-9;
        vec3ToLonLat(Vector3{std::cos(a), 0.2, std::sin(a)}, lon, lat);
        ASSERT_GE(lon, 0.0) << i;
        ASSERT_LE(lon, kTwoPi) << i;
    }
}

TEST(Vectors, LonLatRoundTrips) {
    for (double lon = -7.0; lon <= 13.0; lon += 0.37) {
        for (double lat = -1.5; lat <= 1.5; lat += 0.25) {
            double outLon, outLat;
            vec3ToLonLat(direction(lon, lat), outLon, outLat);
            double expectedLon = lon - kTwoPi * std::floor(lon / kTwoPi);
            double d = std::fabs(outLon - expectedLon);
            d = std::fmin(d, kTwoPi - d);  // 0 and 2 pi are the same longitude
            EXPECT_LT(d, 1e-12) << lon << " " << lat;
            EXPECT_NEAR(outLat, lat, 1e-12) << lon << " " << lat;
        }
    }
}

TEST(Matrices, ProductsAndRotations) {
    Matrix3 a = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}};
    Matrix3 b = {{{0, 1, 0}, {-1, 0, 2}, {3, 0, 1}}};
    Matrix3 p;
    mat3Multiply(a, b, p);
    Matrix3 expected = {{{7, 1, 7}, {13, 4, 16}, {22, 7, 26}}};
    expectMatrixEq(p, expected);
    mat3Multiply(a, b, a);  // the product may overwrite a factor
    expectMatrixEq(a, expected);

    // Row vectors: v x M; the output may be the input.
    Vector3 v = {1, 2, 3};
    vec3TimesMat3(v, b, v);
    EXPECT_EQ(v.x, 7.0);
    EXPECT_EQ(v.y, 1.0);
    EXPECT_EQ(v.z, 7.0);

    // Axis 0 lowers every longitude by the angle and keeps the latitude.
    Matrix3 m;
    mat3Identity(m);
    mat3AppendRotation(m, 0.4, 0);
    double lon, lat;
    vec3TimesMat3(direction(1.0, 0.3), m, v);
    vec3ToLonLat(v, lon, lat);
    EXPECT_NEAR(lon, 0.6, 1e-14);
    EXPECT_NEAR(lat, 0.3, 1e-14);
    // Axis 1 carries +y toward +z, axis 2 carries +x toward +y.
    mat3Identity(m);
    mat3AppendRotation(m, kHalfPi, 1);
    vec3TimesMat3(Vector3{0, 1, 0}, m, v);
    EXPECT_NEAR(v.y, 0.0, 1e-15);
    EXPECT_NEAR(v.z, 1.0, 1e-15);
    mat3Identity(m);
    mat3AppendRotation(m, 0.25, 2);
    vec3TimesMat3(Vector3{1, 0, 0}, m, v);
    EXPECT_NEAR(v.x, std::cos(0.25), 1e-15);
    EXPECT_NEAR(v.y, std::sin(0.25), 1e-15);
    // An appended rotation acts after what is already there: turn about the pole, then tilt.
    mat3Identity(m);
    mat3AppendRotation(m, kHalfPi, 0);  // +z comes to +x
    mat3AppendRotation(m, kHalfPi, 1);  // then +y goes to +z; +x stays
    vec3TimesMat3(Vector3{0, 0, 1}, m, v);
    EXPECT_NEAR(v.x, 1.0, 1e-15);
    EXPECT_NEAR(v.z, 0.0, 1e-15);
    // Any other axis code changes nothing.
    Matrix3 before = b;
    mat3AppendRotation(b, 0.7, 3);
    mat3AppendRotation(b, 0.7, -1);
    expectMatrixEq(b, before);
}

TEST(Matrices, ProjectiveTransformDividesOnlyByANonZeroW) {
    Matrix4 m = {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 1}, {1, 1, 1, 2}}};
    Vector3 o;
    vec3TimesMat4(Vector3{1, 1, 2}, m, o);  // w = 2 + 2 = 4
    EXPECT_EQ(o.x, (2.0 + 1.0) / 4.0);
    EXPECT_EQ(o.y, (3.0 + 1.0) / 4.0);
    EXPECT_EQ(o.z, (8.0 + 1.0) / 4.0);
    vec3TimesMat4(Vector3{1, 1, -2}, m, o);  // w = -2 + 2 = 0: left undivided
    EXPECT_EQ(o.x, 3.0);
    EXPECT_EQ(o.y, 4.0);
    EXPECT_EQ(o.z, -7.0);
}

TEST(Angles, ComplementAndFloorMod) {
    EXPECT_EQ(angleComplement(kHalfPi), 0.0);
    EXPECT_EQ(angleComplement(0.0), kHalfPi);
    EXPECT_DOUBLE_EQ(angleComplement(kPi), 1.5 * kPi);
    for (double x = 0.0; x < kTwoPi; x += 0.01) {
        double y = angleComplement(x);
        ASSERT_GE(y, 0.0) << x;
        ASSERT_LT(y, kTwoPi) << x;
    }
    EXPECT_DOUBLE_EQ(floorMod(-0.1, kTwoPi), kTwoPi - 0.1);
    EXPECT_EQ(floorMod(370.0, 360.0), 10.0);
    EXPECT_EQ(floorMod(-370.0, 360.0), 350.0);
}
