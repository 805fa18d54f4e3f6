// Vector and matrix arithmetic; the conventions are at the top of vector_math.h.
#include "math/vector_math.h"

#include <cmath>

Vec2 operator-(const Vec2& a, const Vec2& b) {
    return Vec2(a[0] - b[0], a[1] - b[1]);
}

Vec3 operator+(const Vec3& a, const Vec3& b) {
    return Vec3(a[0] + b[0], a[1] + b[1], a[2] + b[2]);
}

Vec3 operator-(const Vec3& a, const Vec3& b) {
    return Vec3(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

Vec3 operator-(const Vec3& v) {
    return Vec3(-v[0], -v[1], -v[2]);
}

Vec3 operator*(const Vec3& v, float s) {
    return Vec3(v[0] * s, v[1] * s, v[2] * s);
}

Vec3 operator/(const Vec3& v, float s) {
    return Vec3(v[0] / s, v[1] / s, v[2] / s);
}

float length(const Vec3& v) {
    float sum = 0.0f;
    for (int i = 0; i < Vec3::Size; ++i) sum += v[i] * v[i];
    return std::sqrt(sum);
}

Vec3 normalize(const Vec3& v) {
    return v / length(v);
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a[1] * b[2] - a[2] * b[1],
                a[2] * b[0] - a[0] * b[2],
                a[0] * b[1] - a[1] * b[0]);
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 result(0.0f);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) result[i][j] += a[k][j] * b[i][k];
    return result;
}

Vec4 operator*(const Mat4& m, const Vec4& v) {
    Vec4 result(0.0f);
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k) result[j] += m[k][j] * v[k];
    return result;
}

float radians(float degrees) {
    constexpr float kRadiansPerDegree = static_cast<float>(3.14159265358979323846 / 180.0);
    return degrees * kRadiansPerDegree;
}

Mat4 perspective(float fovY, float aspect, float nearPlane, float farPlane) {
    const float f = 1.0f / std::tan(radians(0.5f * fovY));
    const float sx = f / aspect;
    const float a = (nearPlane + farPlane) / (nearPlane - farPlane);
    const float b = (2.0f * nearPlane * farPlane) / (nearPlane - farPlane);
    return Mat4(Vec4(sx, 0.0f, 0.0f, 0.0f),
                Vec4(0.0f, f, 0.0f, 0.0f),
                Vec4(0.0f, 0.0f, a, -1.0f),
                Vec4(0.0f, 0.0f, b, 0.0f));
}

Mat4 translate(float x, float y, float z) {
    return Mat4(Vec4(1.0f, 0.0f, 0.0f, 0.0f),
                Vec4(0.0f, 1.0f, 0.0f, 0.0f),
                Vec4(0.0f, 0.0f, 1.0f, 0.0f),
                Vec4(x, y, z, 1.0f));
}

Mat4 translate(const Vec3& v) {
    return translate(v[0], v[1], v[2]);
}

Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = normalize(target - eye);
    const Vec3 s = cross(f, normalize(up));
    const Vec3 u = cross(s, f);
    const Mat4 rotation(Vec4(s[0], u[0], -f[0], 0.0f),
                        Vec4(s[1], u[1], -f[1], 0.0f),
                        Vec4(s[2], u[2], -f[2], 0.0f),
                        Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    return rotation * translate(-eye);
}
