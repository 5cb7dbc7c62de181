// Vectors, rotations and angles: the small numeric toolkit every sky computation rests on.
// A leaf module: the catalogue's precession, the view, the nearest-stars search and the sky
// layers all build on it. Directions are unit vectors (cos b cos l, sin b, cos b sin l), so +y
// is the frame's pole; matrices act on row vectors (v' = v x M). Nothing here allocates.
#pragma once

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
// The degree mark of angles written as text: the byte 0xBA of the Western code page, "º".
constexpr char kDegreeMark = '\xBA';

struct Vector3 {
    double x, y, z;
};

// Row-major, m[row][column].
struct Matrix3 {
    double m[3][3];
};

struct Matrix4 {
    double m[4][4];
};

double vec3Dot(const Vector3& a, const Vector3& b);
double vec3Length(const Vector3& v);
void vec3Scale(Vector3& v, double factor);
void vec3SetLength(Vector3& v, double length);  // leaves a zero vector unchanged
void vec3Normalize(Vector3& v);
void vec3TimesMat3(const Vector3& v, const Matrix3& m, Vector3& out);  // out may be v
void vec3TimesMat4(const Vector3& v, const Matrix4& m, Vector3& out);  // out must not be v
void lonLatToVec3(double lon, double lat, Vector3& out);
void vec3ToLonLat(const Vector3& v, double& lon, double& lat);

void mat3Identity(Matrix3& m);
void mat3Multiply(const Matrix3& a, const Matrix3& b, Matrix3& product);  // product may be a or b
// m = m x R(axis, angle). Axis 0 turns about the pole (every longitude falls by the angle),
// 1 about x (+y toward +z), 2 about z (+x toward +y); any other code leaves m unchanged.
void mat3AppendRotation(Matrix3& m, double angle, int axis);

double angleComplement(double x);  // pi/2 - x, brought into [0, 2 pi) for x in [0, 2 pi)
double floorMod(double a, double b);  // a - b floor(a / b): in [0, b) for b > 0
