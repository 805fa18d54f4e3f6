// Small float vectors and the 4x4 matrix of the scene, with the projection
// and view builders.
//
// Conventions, for everything in math/:
// - All arithmetic is in 32-bit floats; trigonometry and square roots use the
//   single-precision functions. Sums are accumulated from index 0 upwards.
// - Mat4 is column-major: four Vec4 columns, m[c][r] is row r of column c,
//   and the sixteen floats lie in memory column after column, ready for
//   glUniformMatrix4fv with transpose GL_FALSE.
// - Vectors are column vectors: (A * B) * v == A * (B * v), the right-most
//   matrix acts first.
// - View space is right-handed and the camera looks down -Z; projections map
//   view depths [-near, -far] to clip depth -1..1.
// - Angles are given in degrees at every interface and converted inside.
// - Default construction leaves components unset; nothing checks indices, and
//   degenerate input (zero vectors, near == far) gives non-finite results.
#pragma once

struct Vec2 {
    float c[2];

    Vec2() = default;
    Vec2(float x, float y) : c{x, y} {}

    float& operator[](int i) { return c[i]; }
    const float& operator[](int i) const { return c[i]; }
};

struct Vec3 {
    static constexpr int Size = 3;
    float c[Size];

    Vec3() = default;
    Vec3(float x, float y, float z) : c{x, y, z} {}

    float& operator[](int i) { return c[i]; }
    const float& operator[](int i) const { return c[i]; }
};

struct Vec4 {
    float c[4];

    Vec4() = default;
    explicit Vec4(float s) : c{s, s, s, s} {}
    Vec4(float x, float y, float z, float w) : c{x, y, z, w} {}

    float& operator[](int i) { return c[i]; }
    const float& operator[](int i) const { return c[i]; }
};

struct Mat4 {
    Vec4 columns[4];

    Mat4() = default;
    // Every one of the sixteen elements is s: Mat4(1) is all ones, not the identity.
    explicit Mat4(float s) : columns{Vec4(s), Vec4(s), Vec4(s), Vec4(s)} {}
    Mat4(const Vec4& c0, const Vec4& c1, const Vec4& c2, const Vec4& c3) : columns{c0, c1, c2, c3} {}

    Vec4& operator[](int c) { return columns[c]; }
    const Vec4& operator[](int c) const { return columns[c]; }

    // The first of the 16 contiguous floats, element [0][0].
    float* Data() { return &columns[0][0]; }
    const float* Data() const { return &columns[0][0]; }
};

// Component-wise difference.
Vec2 operator-(const Vec2& a, const Vec2& b);

// Component-wise sum and difference.
Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
// Every component with its sign flipped.
Vec3 operator-(const Vec3& v);
// Every component multiplied by s.
Vec3 operator*(const Vec3& v, float s);
// Every component divided by s (a true division, not a multiplication by 1/s).
Vec3 operator/(const Vec3& v, float s);

// Square root of the sum of the squared components.
float length(const Vec3& v);
// v divided by its length; a zero vector gives non-finite components.
Vec3 normalize(const Vec3& v);
// The right-handed cross product a x b.
Vec3 cross(const Vec3& a, const Vec3& b);

// The matrix product: [i][j] = sum over k of a[k][j] * b[i][k].
Mat4 operator*(const Mat4& a, const Mat4& b);
// The matrix applied to a column vector: [j] = sum over k of m[k][j] * v[k].
Vec4 operator*(const Mat4& m, const Vec4& v);

// Degrees to radians, with the float nearest to pi/180.
float radians(float degrees);
// OpenGL perspective projection; fovY is the vertical field of view in degrees.
Mat4 perspective(float fovY, float aspect, float nearPlane, float farPlane);
// The identity with (x, y, z, 1) as column 3.
Mat4 translate(float x, float y, float z);
Mat4 translate(const Vec3& v);
// The view transform of a camera at eye looking at target. The side vector is
// not normalised again: the result is orthonormal only when up is
// perpendicular to the viewing direction.
Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
