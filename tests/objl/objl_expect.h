// Comparisons of loader records for the loader tests.
#pragma once

#include <gtest/gtest.h>

#include "objl/records.h"

// Float equality per component (0 equals -0).
inline void ExpectVector3Eq(const objl::Vector3& actual, const objl::Vector3& expected) {
    EXPECT_EQ(actual.x, expected.x) << "x";
    EXPECT_EQ(actual.y, expected.y) << "y";
    EXPECT_EQ(actual.z, expected.z) << "z";
}

inline void ExpectVector2Eq(const objl::Vector2& actual, const objl::Vector2& expected) {
    EXPECT_EQ(actual.x, expected.x) << "x";
    EXPECT_EQ(actual.y, expected.y) << "y";
}
