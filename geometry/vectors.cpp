#include "geometry/vectors.h"

#include <cmath>

double vec3Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double vec3Length(const Vector3& v) { return std::sqrt(vec3Dot(v, v)); }

void vec3Scale(Vector3& v, double factor) {
    v.x *= factor;
    v.y *= factor;
    v.z *= factor;
}

void vec3SetLength(Vector3& v, double length) {
    double current = vec3Length(v);
    if (current != 0.0) vec3Scale(v, length / current);
}

void vec3Normalize(Vector3& v) { vec3SetLength(v, 1.0); }

void vec3TimesMat3(const Vector3& v, const Matrix3& m, Vector3& out) {
    Vector3 r;
    r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0];
    r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1];
    r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2];
    out = r;
}

void vec3TimesMat4(const Vector3& v, const Matrix4& m, Vector3& out) {
    out.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
    out.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
    out.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
    double w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
    if (w != 0.0) {
        out.x /= w;
        out.y /= w;
        out.z /= w;
    }
}

void lonLatToVec3(double lon, double lat, Vector3& out) {
    double a = angleComplement(lon);
    double b = -lat;
    out.x = std::cos(b) * std::sin(a);
    out.y = -std::sin(b);
    out.z = std::cos(b) * std::cos(a);
}

void vec3ToLonLat(const Vector3& v, double& lon, double& lat) {
    Vector3 u = v;
    vec3Normalize(u);
    lat = -std::asin(-u.y);
    double azimuth = 0.0;
    if (u.x != 0.0 || u.z != 0.0) {
        azimuth = std::atan2(u.x, u.z);
        if (azimuth < 0.0) azimuth += kTwoPi;
    }
    lon = angleComplement(azimuth);
}

void mat3Identity(Matrix3& m) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m.m[r][c] = r == c ? 1.0 : 0.0;
}

void mat3Multiply(const Matrix3& a, const Matrix3& b, Matrix3& product) {
    Matrix3 p;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            p.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    product = p;
}

void mat3AppendRotation(Matrix3& m, double angle, int axis) {
    double s = std::sin(angle), c = std::cos(angle);
    Matrix3 r;
    switch (axis) {
    case 0: r = {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}}; break;
    case 1: r = {{{1, 0, 0}, {0, c, s}, {0, -s, c}}}; break;
    case 2: r = {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}}; break;
    default: return;
    }
    mat3Multiply(m, r, m);
}

double angleComplement(double x) {
    double y = kHalfPi - x;
    if (y < 0.0) y += kTwoPi;
    return y;
}

double floorMod(double a, double b) { return a - b * std::floor(a / b); }
