#include <gtest/gtest.h>

#include <cmath>

#include "catalog/precession.h"
#include "geometry/view.h"

namespace {

SkyView makeView(double lonDeg, double latDeg, double rollDeg, double d, int w, int h) {
    SkyView v{lonDeg * kDegToRad, latDeg * kDegToRad, rollDeg * kDegToRad, d, {}, {}, w, h};
    viewUpdate(v);
    return v;
}

// Projects a direction given in degrees through the view's matrix.
int project(const SkyView& v, double lonDeg, double latDeg, float& sx, float& sy) {
    Vector3 u, p;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, u);
    vec3TimesMat4(u, v.skyToScreen, p);
    return viewProject(v, p, sx, sy);
}

}  // namespace

// The cases the view and precession tests never meet: poles, zero vectors, negative angles.
TEST(Vectors, PolesZeroVectorsAndTheSkyConvention) {
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
    EXPECT_TRUE(floorMod(370.0, 360.0) == 10 && floorMod(-370.0, 360.0) == 350);
}

TEST(ViewProjection, CentreCompassRollAndTheEdgesOfTheArea) {
    // A direction theta from the centre lands d tan(theta / 2) half-heights (300 px) away.
    const double deg = 8 * std::tan(0.5 * kDegToRad) * 300;
    const struct {
        double centreLat, roll, lon, lat, sx, sy;
    } cases[] = {{20, 0, 40, 20, 400, 300},        {20, 0, 40, 21, 400, 300 - deg},  // north up
                 {20, 0, 40, 19, 400, 300 + deg},  {0, 0, 41, 0, 400 - deg, 300},    // east left
                 {20, 90, 40, 21, 400 + deg, 300}};  // a positive roll turns it clockwise
    float sx, sy;
    for (const auto& c : cases) {
        ASSERT_EQ(project(makeView(40, c.centreLat, c.roll, 8, 800, 600), c.lon, c.lat, sx, sy), 1);
        EXPECT_TRUE(std::fabs(sx - c.sx) < 1e-3 && std::fabs(sy - c.sy) < 1e-3)
            << c.lon << " " << c.lat << " roll " << c.roll << ": " << sx << " " << sy;
    }
    // 90 degrees away, the antipode and NaN: off-screen with the position left unwritten.
    const SkyView v = makeView(0, 0, 0, 2.5, 800, 600);
    sx = 1234.5f, sy = 6789.5f;
    EXPECT_EQ(project(v, 90, 0, sx, sy) + project(v, 180, 0, sx, sy), 0);
    EXPECT_EQ(viewProject(v, Vector3{0, 0, std::nan("")}, sx, sy), 0);
    EXPECT_TRUE(sx == 1234.5f && sy == 6789.5f);
    // In front but outside: off-screen with the position written, for clipping.
    EXPECT_EQ(project(v, 0, 80, sx, sy), 0);
    EXPECT_NEAR(sy, 300.0 - 2.5 * std::tan(40 * kDegToRad) * 300, 1e-2);
    // The area is [0, width) x [0, height), here 100 px to a plane unit.
    const struct {
        Vector3 p;
        int onScreen;
        float sx, sy;
    } edges[] = {{{-2, 0, 1}, 1, 0, 100}, {{2, 0, 1}, 0, 400, 100}, {{0, 1, 1}, 1, 200, 0},
                 {{0, -1, 1}, 0, 200, 200}};
    for (const auto& e : edges) {
        EXPECT_EQ(viewProject(makeView(0, 0, 0, 1, 400, 200), e.p, sx, sy), e.onScreen) << e.p.x;
        EXPECT_TRUE(sx == e.sx && sy == e.sy) << e.p.x << " " << e.p.y;
    }
    EXPECT_EQ(project(makeView(0, 0, 0, 8, 800, 0), 0, 0, sx, sy), 0);  // no height, nothing
}

TEST(ViewScale, PixelsPerDegreeAndFieldFollowHeightAndFocalScale) {
    EXPECT_NEAR(makeView(0, 0, 0, 8, 800, 600).pixelsPerDegree, 21.37, 0.01);
    // The middle of the top edge lies half the field, 2 atan(1 / d), north of the centre.
    const SkyView v = makeView(100, 30, 0, 8, 1600, 600);
    float lon, lat;
    viewUnproject(v, v.width / 2, 0, lon, lat);
    EXPECT_NEAR(lat * kRadToDeg, 30 + 2 * std::atan(1 / 8.0) * kRadToDeg, 1e-3);
}

TEST(ViewUnproject, InvertsTheProjectionAndGivesEquatorialCoordinates) {
    for (const SkyView& v : {makeView(146, -22, 0, 2.5, 1920, 1080),
                             makeView(10, 120, -70, 0.4, 300, 300)}) {  // latitude past the pole
        float lon, lat, sx, sy;
        for (int py = 0; py < v.height; py += 37) {
            for (int px = 0; px < v.width; px += 41) {
                viewUnproject(v, px, py, lon, lat);
                ASSERT_TRUE(lon >= 0.0f && lon < float(kTwoPi));
                Vector3 u, p;
                lonLatToVec3(lon, lat, u);
                vec3TimesMat4(u, v.skyToScreen, p);
                // Pixels beyond the disc of radius d map to directions behind the viewer.
                double r = std::hypot(px - v.width * 0.5, v.height * 0.5 - py) / v.height * 2;
                const double d = v.focalScale;
                EXPECT_TRUE(std::fabs(r / d - 1) < 1e-3 || (p.z > 0) == (r < d)) << px << "," << py;
                viewScreenPosition(v, p, sx, sy);
                EXPECT_TRUE(r > d * 0.999 || std::hypot(sx - px, sy - py) < 0.02)
                    << px << "," << py;
            }
        }
    }
    // On the ecliptic at longitude 90 the equator lies the obliquity to the south.
    float lon, lat, ra, dec;
    viewUnprojectBoth(makeView(90, 0, 0, 8, 800, 600), 400, 300, 1771298.0, lon, lat, ra, dec);
    EXPECT_TRUE(std::fabs(lon - kHalfPi) < 1e-6 && std::fabs(lat) < 1e-6);
    EXPECT_TRUE(std::fabs(ra - kHalfPi) < 1e-6 && std::fabs(dec - trueObliquity(1771298.0)) < 1e-6)
        << ra << " " << dec;
}
