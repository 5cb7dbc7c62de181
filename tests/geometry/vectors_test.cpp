#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vectors.h"

// The view and precession tests carry directions through every conversion and turn; these are
// the cases they never meet: the poles, the zero vector, the undivided w = 0 and negative angles.
TEST(Vectors, PolesZeroVectorsAndTheSkyConvention) {
    Vector3 zero = {0, 0, 0};
    vec3Normalize(zero);  // no direction: left as it is rather than divided by zero
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0);
    const struct {
        Vector3 v;
        double lon, lat;
    } special[] = {{{0, -1, 0}, kHalfPi, -kHalfPi}, {{0, 0, 0}, kHalfPi, 0},
                   {{0, 0, -1}, 1.5 * kPi, 0},      {{0, 250, 250}, kHalfPi, kPi / 4},
                   {{-3, 0, 0}, kPi, 0}};
    double lon, lat;
    for (const auto& s : special) {
        vec3ToLonLat(s.v, lon, lat);
        EXPECT_TRUE(std::fabs(lon - s.lon) < 1e-15 && std::fabs(lat - s.lat) < 1e-15) << s.v.y;
    }
    // (cos b cos l, sin b, cos b sin l)
    Vector3 v;
    lonLatToVec3(-7.0, 1.25, v);
    EXPECT_NEAR(vec3Dot(v, Vector3{std::cos(1.25) * std::cos(-7.0), std::sin(1.25),
                                   std::cos(1.25) * std::sin(-7.0)}), 1.0, 1e-15);

    const Matrix4 p = {{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 1}, {1, 1, 1, 2}}};
    vec3TimesMat4(Vector3{1, 1, 2}, p, v);  // w = 4
    EXPECT_TRUE(v.x == 0.75 && v.y == 1.0 && v.z == 2.25);
    vec3TimesMat4(Vector3{1, 1, -2}, p, v);  // w = 0: left undivided
    EXPECT_TRUE(v.x == 3 && v.y == 4 && v.z == -7);
    Matrix3 m;
    mat3Identity(m);
    mat3AppendRotation(m, 1.0, 7);  // no such axis: nothing turns
    vec3TimesMat3(Vector3{1, 2, 3}, m, v);
    EXPECT_TRUE(v.x == 1 && v.y == 2 && v.z == 3);
    EXPECT_TRUE(floorMod(370.0, 360.0) == 10 && floorMod(-370.0, 360.0) == 350);
}
