#include "objl/geometry.h"

#include <cmath>

namespace objl {

Vector3 crossProduct(const Vector3& a, const Vector3& b) {
    return Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float dotProduct(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float magnitude(const Vector3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

float angleBetween(const Vector3& a, const Vector3& b) {
    return std::acos(dotProduct(a, b) / (magnitude(a) * magnitude(b)));
}

// Barycentric coordinates of p in the triangle's plane; a NaN fails every range test.
bool pointInTriangle(const Vector3& p, const Vector3& t1, const Vector3& t2, const Vector3& t3) {
    const Vector3 u = t2 - t1;
    const Vector3 v = t3 - t1;
    const Vector3 w = p - t1;
    const Vector3 n = crossProduct(u, v);
    const float nn = dotProduct(n, n);
    const float gamma = dotProduct(crossProduct(u, w), n) / nn;
    const float beta = dotProduct(crossProduct(w, v), n) / nn;
    const float alpha = 1.0f - gamma - beta;
    const auto inUnitRange = [](float x) { return x >= 0.0f && x <= 1.0f; };
    return inUnitRange(alpha) && inUnitRange(beta) && inUnitRange(gamma);
}

}  // namespace objl
