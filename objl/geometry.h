// Vector geometry of the face triangulator, in 32-bit floats.
#pragma once

#include "objl/records.h"

namespace objl {

// The right-handed cross product a x b.
Vector3 crossProduct(const Vector3& a, const Vector3& b);
// a.x*b.x + a.y*b.y + a.z*b.z, summed left to right.
float dotProduct(const Vector3& a, const Vector3& b);
// The length of v.
float magnitude(const Vector3& v);
// The angle between a and b in radians; NaN for a zero vector or when
// rounding pushes the cosine past +-1.
float angleBetween(const Vector3& a, const Vector3& b);
// Whether p, projected onto the triangle's plane, lies inside the triangle or
// on its edges. False for a degenerate triangle.
bool pointInTriangle(const Vector3& p, const Vector3& t1, const Vector3& t2, const Vector3& t3);

}  // namespace objl
