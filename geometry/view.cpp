#include "geometry/view.h"

#include <cmath>

#include "catalog/precession.h"

void viewUpdate(SkyView& view) {
    // The height divided by the vertical field as the status line reports it, 2 atan2(2, d).
    view.pixelsPerDegree = view.height * kDegToRad / (2.0 * std::atan2(2.0, view.focalScale));
    viewBuildMatrices(view);
}

void viewBuildMatrices(SkyView& view) {
    const double sinLon = std::sin(view.centerLon), cosLon = std::cos(view.centerLon);
    const double sinLat = std::sin(view.centerLat), cosLat = std::cos(view.centerLat);
    const double sinRoll = std::sin(view.roll), cosRoll = std::cos(view.roll);
    const double d = view.focalScale;

    // Centre, north and west (decreasing longitude) at the view centre.
    const Vector3 V = {cosLat * cosLon, sinLat, cosLat * sinLon};
    const Vector3 N = {-sinLat * cosLon, cosLat, -sinLat * sinLon};
    const Vector3 W = {sinLon, 0.0, -cosLon};
    // Screen right and screen up; a positive roll turns the picture clockwise.
    const Vector3 A = {cosRoll * W.x + sinRoll * N.x, cosRoll * W.y + sinRoll * N.y,
                       cosRoll * W.z + sinRoll * N.z};
    const Vector3 B = {cosRoll * N.x - sinRoll * W.x, cosRoll * N.y - sinRoll * W.y,
                       cosRoll * N.z - sinRoll * W.z};

    const double a[3] = {A.x, A.y, A.z}, b[3] = {B.x, B.y, B.z}, v[3] = {V.x, V.y, V.z};
    Matrix4& s = view.skyToScreen;
    Matrix4& u = view.screenToSky;
    for (int r = 0; r < 3; ++r) {
        s.m[r][0] = a[r];
        s.m[r][1] = b[r];
        s.m[r][2] = v[r];
        s.m[r][3] = v[r] / d;
        u.m[0][r] = a[r];
        u.m[1][r] = b[r];
        u.m[2][r] = v[r];
    }
    s.m[3][0] = s.m[3][1] = s.m[3][2] = 0.0;
    s.m[3][3] = 1.0 / d;
    u.m[0][3] = u.m[1][3] = 0.0;
    u.m[2][3] = -1.0;
    u.m[3][0] = u.m[3][1] = u.m[3][2] = 0.0;
    u.m[3][3] = d;
}

void viewScreenPosition(const SkyView& view, const Vector3& p, float& sx, float& sy) {
    // One plane unit is half the drawing area's height, in both directions.
    const double half = view.height * 0.5;
    sy = float(half - half * p.y);
    sx = float(half * p.x + view.width * 0.5);
}

int viewProject(const SkyView& view, const Vector3& p, float& sx, float& sy) {
    if (!(p.z > 0.0)) return 0;
    viewScreenPosition(view, p, sx, sy);
    return sx >= 0.0f && sx < float(view.width) && sy >= 0.0f && sy < float(view.height);
}

void viewUnproject(const SkyView& view, int px, int py, float& lon, float& lat) {
    const double half = view.height * 0.5;
    const double d = view.focalScale;
    const double X = (px - view.width * 0.5) / half;
    const double Y = (half - py) / half;
    const double r2 = X * X + Y * Y;
    const Vector3 plane = {X, Y, (d - r2 / d) * 0.5};
    Vector3 q;
    vec3TimesMat4(plane, view.screenToSky, q);
    vec3Normalize(q);
    double l, b;
    vec3ToLonLat(q, l, b);
    lon = float(l);
    lat = float(b);
}

void viewUnprojectBoth(const SkyView& view, int px, int py, double jd, float& lon, float& lat,
                       float& ra, float& dec) {
    viewUnproject(view, px, py, lon, lat);
    Matrix3 toEquator;
    mat3Identity(toEquator);
    appendEclipticToEquator(toEquator, jd);
    Vector3 v;
    lonLatToVec3(lon, lat, v);
    vec3TimesMat3(v, toEquator, v);
    double a, d;
    vec3ToLonLat(v, a, d);
    ra = float(a);
    dec = float(d);
}
