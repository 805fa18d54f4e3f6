// Comparisons of vectors and matrices for the math tests.
#pragma once

#include <gtest/gtest.h>

#include "math/vector_math.h"

// Every element equal as floats (0 and -0 compare equal).
inline void ExpectMatEq(const Mat4& actual, const Mat4& expected) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_EQ(actual[c][r], expected[c][r]) << "column " << c << ", row " << r;
}

inline void ExpectMatNear(const Mat4& actual, const Mat4& expected, float tolerance) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "column " << c << ", row " << r;
}

inline void ExpectVec3Near(const Vec3& actual, const Vec3& expected, float tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

inline void ExpectVec4Eq(const Vec4& actual, const Vec4& expected) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(actual[i], expected[i]) << "component " << i;
}

// The 4x4 identity, written out.
inline Mat4 Identity() {
    return Mat4(Vec4(1, 0, 0, 0), Vec4(0, 1, 0, 0), Vec4(0, 0, 1, 0), Vec4(0, 0, 0, 1));
}
