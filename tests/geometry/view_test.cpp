#include <gtest/gtest.h>

#include <cmath>

#include "catalog/precession.h"
#include "geometry/view.h"

namespace {

SkyView makeView(double lonDeg, double latDeg, double rollDeg, double d, int w, int h) {
    SkyView v;
    v.centerLon = lonDeg * kDegToRad;
    v.centerLat = latDeg * kDegToRad;
    v.roll = rollDeg * kDegToRad;
    v.focalScale = d;
    v.width = w;
    v.height = h;
    viewUpdate(v);
    return v;
}

// Projects a direction given in degrees; the sentinels show whether the position was written.
int project(const SkyView& v, double lonDeg, double latDeg, float& sx, float& sy) {
    Vector3 u, p;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, u);
    vec3TimesMat4(u, v.skyToScreen, p);
    return viewProject(v, p, sx, sy);
}

// Angle between two directions, degrees.
double separation(double lon1, double lat1, double lon2, double lat2) {
    Vector3 a, b;
    lonLatToVec3(lon1, lat1, a);
    lonLatToVec3(lon2, lat2, b);
    return std::acos(std::fmin(1.0, vec3Dot(a, b))) * kRadToDeg;
}

}  // namespace

TEST(ViewProjection, CentreAndCompassDirectionsLandWhereTheStereographicPictureSays) {
    const SkyView v = makeView(40, 20, 0, 8, 800, 600);
    float sx = -1, sy = -1;
    ASSERT_EQ(project(v, 40, 20, sx, sy), 1);
    EXPECT_NEAR(sx, 400.0, 1e-3);
    EXPECT_NEAR(sy, 300.0, 1e-3);

    // A direction theta from the centre lands d tan(theta / 2) plane units away (300 px each).
    const double oneDegree = 8 * std::tan(0.5 * kDegToRad) * 300;
    ASSERT_EQ(project(v, 40, 21, sx, sy), 1);  // north: straight up
    EXPECT_NEAR(sx, 400.0, 1e-3);
    EXPECT_NEAR(sy, 300.0 - oneDegree, 1e-3);
    ASSERT_EQ(project(v, 40, 19, sx, sy), 1);  // south: straight down
    EXPECT_NEAR(sy, 300.0 + oneDegree, 1e-3);

    // East at the centre on the ecliptic: to the left, at the same height.
    const SkyView onEcliptic = makeView(40, 0, 0, 8, 800, 600);
    ASSERT_EQ(project(onEcliptic, 41, 0, sx, sy), 1);
    EXPECT_NEAR(sx, 400.0 - oneDegree, 1e-3);
    EXPECT_NEAR(sy, 300.0, 1e-3);

    // A positive roll turns the picture clockwise: with a quarter turn north points right.
    const SkyView rolled = makeView(40, 20, 90, 8, 800, 600);
    ASSERT_EQ(project(rolled, 40, 21, sx, sy), 1);
    EXPECT_NEAR(sx, 400.0 + oneDegree, 1e-3);
    EXPECT_NEAR(sy, 300.0, 1e-3);
}

TEST(ViewProjection, OnlyTheFrontHemisphereInsideTheAreaIsOnScreen) {
    const SkyView v = makeView(0, 0, 0, 2.5, 800, 600);
    float sx = 1234.5f, sy = 6789.5f;
    // Exactly 90 degrees away and the antipode: rejected, position untouched.
    EXPECT_EQ(project(v, 90, 0, sx, sy), 0);
    EXPECT_EQ(project(v, 180, 0, sx, sy), 0);
    Vector3 nanPoint = {0, 0, std::nan("")};
    EXPECT_EQ(viewProject(v, nanPoint, sx, sy), 0);
    EXPECT_EQ(sx, 1234.5f);
    EXPECT_EQ(sy, 6789.5f);

    // In front but outside the area: rejected with the position written, for clipping.
    EXPECT_EQ(project(v, 0, 80, sx, sy), 0);
    EXPECT_NEAR(sx, 400.0, 1e-3);
    EXPECT_NEAR(sy, 300.0 - 2.5 * std::tan(40 * kDegToRad) * 300, 1e-2);
    EXPECT_LT(sy, 0.0f);

    // The area is [0, width) x [0, height): 0 is inside, width and height are not.
    const SkyView box = makeView(0, 0, 0, 1, 400, 200);  // 100 px per plane unit
    const Vector3 left = {-2, 0, 1}, right = {2, 0, 1}, top = {0, 1, 1}, bottom = {0, -1, 1};
    EXPECT_EQ(viewProject(box, left, sx, sy), 1);
    EXPECT_EQ(sx, 0.0f);
    EXPECT_EQ(viewProject(box, right, sx, sy), 0);
    EXPECT_EQ(sx, 400.0f);
    EXPECT_EQ(viewProject(box, top, sx, sy), 1);
    EXPECT_EQ(sy, 0.0f);
    EXPECT_EQ(viewProject(box, bottom, sx, sy), 0);
    EXPECT_EQ(sy, 200.0f);

    // An area of height 0 shows nothing.
    const SkyView flat = makeView(0, 0, 0, 8, 800, 0);
    EXPECT_EQ(flat.pixelsPerDegree, 0.0);
    EXPECT_EQ(project(flat, 0, 0, sx, sy), 0);
}

TEST(ViewScale, PixelsPerDegreeAndFieldFollowHeightAndFocalScaleOnly) {
    EXPECT_NEAR(makeView(0, 0, 0, 8, 800, 600).pixelsPerDegree, 21.37, 0.01);
    EXPECT_NEAR(makeView(0, 0, 0, 2.5, 800, 600).pixelsPerDegree, 7.76, 0.01);

    // Vertical half-field: the angle from the centre to the top edge's middle pixel.
    auto halfField = [](const SkyView& v) {
        float lon, lat;
        viewUnproject(v, v.width / 2, 0, lon, lat);
        return separation(v.centerLon, v.centerLat, lon, lat);
    };
    const SkyView near = makeView(100, 30, 0, 8, 800, 600);
    const SkyView closer = makeView(100, 30, 0, 16, 800, 600);
    const SkyView wider = makeView(100, 30, 0, 8, 1600, 600);
    EXPECT_NEAR(halfField(near), 4 * std::atan(1 / 8.0) * kRadToDeg / 2, 1e-3);
    EXPECT_NEAR(halfField(closer) / halfField(near), 0.5, 0.01);
    EXPECT_NEAR(halfField(wider), halfField(near), 1e-4);
    EXPECT_EQ(wider.pixelsPerDegree, near.pixelsPerDegree);
}

TEST(ViewUnproject, IsTheInverseOfTheProjectionForEveryPixel) {
    const SkyView views[] = {makeView(0, 0, 0, 8, 640, 480), makeView(146, -22, 0, 2.5, 1920, 1080),
                             makeView(300, 75, 33, 4.5, 500, 700),
                             makeView(10, 120, -70, 0.4, 300, 300)};  // latitude past the pole
    for (const SkyView& v : views) {
        float lon, lat;
        viewUnproject(v, v.width / 2, v.height / 2, lon, lat);
        EXPECT_LT(separation(lon, lat, v.centerLon, v.centerLat), 1e-4);

        for (int py = 0; py < v.height; py += 37) {
            for (int px = 0; px < v.width; px += 41) {
                viewUnproject(v, px, py, lon, lat);
                ASSERT_GE(lon, 0.0f);
                ASSERT_LT(lon, float(kTwoPi));
                Vector3 u, p, centre;
                lonLatToVec3(lon, lat, u);
                lonLatToVec3(v.centerLon, v.centerLat, centre);
                vec3TimesMat4(u, v.skyToScreen, p);
                // Pixels beyond the visible hemisphere map to directions behind the viewer.
                const double planeX = (px - v.width * 0.5) / (v.height * 0.5);
                const double planeY = (v.height * 0.5 - py) / (v.height * 0.5);
                const double r = std::hypot(planeX, planeY);
                if (r > v.focalScale * 0.999) {
                    if (r > v.focalScale * 1.001) {
                        EXPECT_LT(vec3Dot(u, centre), 0.0);
                    }
                    continue;
                }
                // In front of the viewer; only the edge pixels may come back a hair outside.
                float sx, sy;
                const int onScreen = viewProject(v, p, sx, sy);
                ASSERT_GT(p.z, 0.0) << px << "," << py;
                if (px > 0 && py > 0) {
                    EXPECT_EQ(onScreen, 1) << px << "," << py;
                }
                viewScreenPosition(v, p, sx, sy);
                EXPECT_NEAR(sx, px, 0.02);
                EXPECT_NEAR(sy, py, 0.02);
            }
        }
    }
}

TEST(ViewUnproject, GivesEquatorialCoordinatesOfTheEpoch) {
    const double jd = 1771298.0;
    const double obliquity = trueObliquity(jd);
    ASSERT_GT(obliquity, 22 * kDegToRad);
    ASSERT_LT(obliquity, 25 * kDegToRad);

    // On the ecliptic at longitude 90 the equator lies obliquity to the south.
    const SkyView v = makeView(90, 0, 0, 8, 800, 600);
    float lon, lat, ra, dec;
    viewUnprojectBoth(v, 400, 300, jd, lon, lat, ra, dec);
    EXPECT_NEAR(lon, 90 * kDegToRad, 1e-6);
    EXPECT_NEAR(lat, 0.0, 1e-6);
    EXPECT_NEAR(ra, 90 * kDegToRad, 1e-6);
    EXPECT_NEAR(dec, obliquity, 1e-6);

    // The equinox is on both circles.
    const SkyView equinox = makeView(0, 0, 0, 8, 800, 600);
    viewUnprojectBoth(equinox, 400, 300, jd, lon, lat, ra, dec);
    EXPECT_NEAR(std::fmin(ra, kTwoPi - ra), 0.0, 1e-6);
    EXPECT_NEAR(dec, 0.0, 1e-6);
}
