// Vectors, matrices and the projection and view builders.
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "math/vector_math.h"
#include "tests/math/math_expect.h"

namespace {

TEST(VectorMath, Vec3OperationsWorkComponentByComponent) {
    const Vec3 a(1.5f, -2.0f, 4.0f);
    const Vec3 b(0.5f, 3.0f, -1.0f);
    ExpectVec3Near(a + b, Vec3(2.0f, 1.0f, 3.0f), 0.0f);
    ExpectVec3Near(a - b, Vec3(1.0f, -5.0f, 5.0f), 0.0f);
    ExpectVec3Near(-a, Vec3(-1.5f, 2.0f, -4.0f), 0.0f);
    ExpectVec3Near(a * 2.0f, Vec3(3.0f, -4.0f, 8.0f), 0.0f);
    // The operands are left unchanged.
    ExpectVec3Near(a, Vec3(1.5f, -2.0f, 4.0f), 0.0f);
    EXPECT_EQ(Vec3::Size, 3);
}

TEST(VectorMath, DivisionIsATrueDivisionPerComponent) {
    // Each of these quotients differs from a multiplication by 1/49.
    const Vec3 q = Vec3(0.1f, 0.3f, 0.7f) / 49.0f;
    const float expected[3] = {0.1f / 49.0f, 0.3f / 49.0f, 0.7f / 49.0f};
    const float viaReciprocal[3] = {0.1f * (1.0f / 49.0f), 0.3f * (1.0f / 49.0f), 0.7f * (1.0f / 49.0f)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(q[i], expected[i]) << i;
        EXPECT_NE(q[i], viaReciprocal[i]) << i;
    }
}

TEST(VectorMath, SmallVectorsConstructAndSubtract) {
    const Vec2 d = Vec2(1.0f, 0.25f) - Vec2(0.5f, 1.0f);
    EXPECT_EQ(d[0], 0.5f);
    EXPECT_EQ(d[1], -0.75f);
    ExpectVec4Eq(Vec4(2.5f), Vec4(2.5f, 2.5f, 2.5f, 2.5f));
    Vec3 v(0.0f, 0.0f, 0.0f);
    v[1] = 7.0f;  // components are writable through []
    EXPECT_EQ(v[1], 7.0f);
}

TEST(VectorMath, CrossIsRightHanded) {
    struct Case {
        Vec3 a, b, expected;
    };
    const std::vector<Case> cases = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.a[0] << "," << c.a[1] << "," << c.a[2] << ") x (" << c.b[0] << ","
                                        << c.b[1] << "," << c.b[2] << ")");
        ExpectVec3Near(cross(c.a, c.b), c.expected, 0.0f);
    }
}

TEST(VectorMath, LengthAndNormalize) {
    EXPECT_EQ(length(Vec3(3.0f, 4.0f, 0.0f)), 5.0f);
    EXPECT_EQ(length(Vec3(-2.0f, 3.0f, 6.0f)), 7.0f);
    ExpectVec3Near(normalize(Vec3(0.0f, 3.0f, -4.0f)), Vec3(0.0f, 0.6f, -0.8f), 1e-7f);
    // Divided by the length, not multiplied by its reciprocal (0.57735026).
    ExpectVec3Near(normalize(Vec3(3.0f, 3.0f, 3.0f)), Vec3(0.5773503f, 0.5773503f, 0.5773503f), 0.0f);
    const Vec3 degenerate = normalize(Vec3(0.0f, 0.0f, 0.0f));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(std::isfinite(degenerate[i])) << i;
}

TEST(VectorMath, Radians) {
    EXPECT_EQ(radians(180.0f), 3.1415927f);
    EXPECT_EQ(radians(1.0f), 0.017453292f);
    EXPECT_EQ(radians(0.0f), 0.0f);
    EXPECT_EQ(radians(-90.0f), -1.5707964f);
}

TEST(VectorMath, ScalarMatrixFillsEveryElement) {
    const Mat4 ones(1.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_EQ(ones[c][r], 1.0f) << c << "," << r;
    const Mat4 zero(0.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_EQ(zero[c][r], 0.0f) << c << "," << r;
}

TEST(VectorMath, MatrixMemoryIsColumnMajor) {
    const Mat4 m(Vec4(0, 1, 2, 3), Vec4(4, 5, 6, 7), Vec4(8, 9, 10, 11), Vec4(12, 13, 14, 15));
    const float* data = m.Data();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(data[i], static_cast<float>(i)) << i;
    EXPECT_EQ(sizeof(Mat4), 16 * sizeof(float));
    // A translation sits in floats 12..14, where glUniformMatrix4fv expects it.
    const Mat4 t = translate(7.0f, 8.0f, 9.0f);
    EXPECT_EQ(t.Data()[12], 7.0f);
    EXPECT_EQ(t.Data()[13], 8.0f);
    EXPECT_EQ(t.Data()[14], 9.0f);
    EXPECT_EQ(t.Data()[15], 1.0f);
}

TEST(VectorMath, MatrixProducts) {
    // A and B written as columns; the products worked out by hand in row-column form.
    const Mat4 a(Vec4(1, 0, 2, 0), Vec4(2, 1, 0, 0), Vec4(0, 3, 1, 0), Vec4(4, -1, 0, 1));
    const Mat4 b(Vec4(0, 1, 0, 1), Vec4(1, 0, 0, 0), Vec4(0, 0, 2, 0), Vec4(2, 0, 1, 1));
    const Mat4 scale(Vec4(2, 0, 0, 0), Vec4(0, 3, 0, 0), Vec4(0, 0, 4, 0), Vec4(0, 0, 0, 1));
    struct Case {
        const char* name;
        Mat4 left, right, expected;
    };
    const std::vector<Case> cases = {
        {"A x B", a, b, Mat4(Vec4(6, 0, 0, 1), Vec4(1, 0, 2, 0), Vec4(0, 6, 2, 0), Vec4(6, 2, 5, 1))},
        {"B x A", b, a, Mat4(Vec4(0, 1, 4, 1), Vec4(1, 2, 0, 2), Vec4(3, 0, 2, 0), Vec4(1, 4, 1, 5))},
        {"A x I", a, Identity(), a},
        {"I x A", Identity(), a, a},
        {"translations add", translate(1, 2, 3), translate(4, 5, 6), translate(5, 7, 9)},
        {"scale after translation", scale, translate(1, 1, 1),
         Mat4(Vec4(2, 0, 0, 0), Vec4(0, 3, 0, 0), Vec4(0, 0, 4, 0), Vec4(2, 3, 4, 1))},
        {"translation after scale", translate(1, 1, 1), scale,
         Mat4(Vec4(2, 0, 0, 0), Vec4(0, 3, 0, 0), Vec4(0, 0, 4, 0), Vec4(1, 1, 1, 1))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectMatEq(c.left * c.right, c.expected);
    }
}

TEST(VectorMath, ProductAccumulatesInIncreasingOrderFromZero) {
    // Row j of A is (1e8, 1, -1e8, 1): summed from k = 0 upwards the first 1 is
    // absorbed by 1e8 and the result is 1; summed backwards it is 0.
    const Mat4 a(Vec4(1e8f), Vec4(1.0f), Vec4(-1e8f), Vec4(1.0f));
    const Mat4 ab = a * Mat4(1.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_EQ(ab[c][r], 1.0f) << c << "," << r;
    // Starting from +0, a sum of negative zeros is +0.
    const Mat4 signs = Mat4(-1.0f) * Mat4(0.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_FALSE(std::signbit(signs[c][r])) << c << "," << r;
}

TEST(VectorMath, MatrixTimesVector) {
    const Mat4 a(Vec4(1, 0, 2, 0), Vec4(2, 1, 0, 0), Vec4(0, 3, 1, 0), Vec4(4, -1, 0, 1));
    const Mat4 b(Vec4(0, 1, 0, 1), Vec4(1, 0, 0, 0), Vec4(0, 0, 2, 0), Vec4(2, 0, 1, 1));
    const Vec4 v(1, 2, 3, 1);
    ExpectVec4Eq(a * v, Vec4(9, 10, 5, 1));
    ExpectVec4Eq((a * b) * v, Vec4(14, 20, 15, 2));
    ExpectVec4Eq(a * (b * v), Vec4(14, 20, 15, 2));
    ExpectVec4Eq(translate(0, 0, -100) * Vec4(3, -4, 5, 1), Vec4(3, -4, -95, 1));
    ExpectVec4Eq(translate(Vec3(1, 2, 3)) * Vec4(0, 0, 0, 1), Vec4(1, 2, 3, 1));
}

TEST(VectorMath, Perspective) {
    struct Case {
        float fovY, aspect, nearPlane, farPlane;
        float sx, f, a, b;
        float tolerance;
    };
    const std::vector<Case> cases = {
        // f = 1 / tan 25 degrees; A = -1000.1 / 999.9; B = -200 / 999.9.
        {50, 1, 0.1f, 1000, 2.1445069f, 2.1445069f, -1.0001999f, -0.2000200f, 4e-7f},
        {50, 2, 0.1f, 1000, 1.0722535f, 2.1445069f, -1.0001999f, -0.2000200f, 4e-7f},
        {90, 2, 1, 3, 0.5f, 1.0f, -2.0f, -3.0f, 2e-7f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "perspective(" << c.fovY << ", " << c.aspect << ", " << c.nearPlane << ", "
                                        << c.farPlane << ")");
        const Mat4 expected(Vec4(c.sx, 0, 0, 0), Vec4(0, c.f, 0, 0), Vec4(0, 0, c.a, -1), Vec4(0, 0, c.b, 0));
        ExpectMatNear(perspective(c.fovY, c.aspect, c.nearPlane, c.farPlane), expected, c.tolerance);
    }
    // The near and far planes land on clip depths -1 and 1.
    const Mat4 p = perspective(50, 1, 0.1f, 1000);
    const Vec4 nearPoint = p * Vec4(0, 0, -0.1f, 1);
    const Vec4 farPoint = p * Vec4(0, 0, -1000, 1);
    EXPECT_NEAR(nearPoint[2] / nearPoint[3], -1.0f, 1e-5f);
    EXPECT_NEAR(farPoint[2] / farPoint[3], 1.0f, 1e-5f);
    EXPECT_EQ(p[2][3], -1.0f);
    EXPECT_EQ(p[3][3], 0.0f);
}

TEST(VectorMath, DegenerateProjectionIsNotFinite) {
    EXPECT_FALSE(std::isfinite(perspective(50, 1, 1, 1)[2][2]));
    EXPECT_FALSE(std::isfinite(perspective(50, 0, 0.1f, 1000)[0][0]));
}

TEST(VectorMath, LookAtMovesPointsIntoViewSpace) {
    struct Case {
        const char* name;
        Vec3 eye, target, up;
        Vec4 point, expected;
    };
    const std::vector<Case> cases = {
        {"along -z from z=100", {0, 0, 100}, {0, 0, 99}, {0, 1, 0}, {1, 2, 3, 1}, {1, 2, -97, 1}},
        {"along +x", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0, 1}, {0, 0, -5, 1}},
        {"along +x, up stays up", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0, 1}, {0, 1, 0, 1}},
        {"up not of unit length", {1, 2, 3}, {1, 2, 2}, {0, 2, 0}, {1, 2, -7, 1}, {0, 0, -10, 1}},
        {"looking down, -z up", {0, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, -3, -1, 1}, {0, 1, -3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vec4 v = lookAt(c.eye, c.target, c.up) * c.point;
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(v[i], c.expected[i], 1e-6f) << i;
    }
}

TEST(VectorMath, LookAtDownMinusZIsATranslation) {
    ExpectMatEq(lookAt(Vec3(0, 0, 100), Vec3(0, 0, 99), Vec3(0, 1, 0)), translate(0, 0, -100));
}

TEST(VectorMath, LookAtDoesNotRepairASlantedUpVector) {
    // Up (0, 1, 1) is at 45 degrees to the viewing direction (0, 0, -1): the
    // side vector is sin 45 long and is used as it is.
    const Mat4 view = lookAt(Vec3(0, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, 1));
    const float side = std::sqrt(view[0][0] * view[0][0] + view[1][0] * view[1][0] + view[2][0] * view[2][0]);
    const float upLength = std::sqrt(view[0][1] * view[0][1] + view[1][1] * view[1][1] + view[2][1] * view[2][1]);
    EXPECT_NEAR(side, 0.70710678f, 1e-6f);
    EXPECT_NEAR(upLength, 0.70710678f, 1e-6f);
}

TEST(VectorMath, DegenerateLookAtIsNotFinite) {
    const Mat4 sameSpot = lookAt(Vec3(1, 2, 3), Vec3(1, 2, 3), Vec3(0, 1, 0));
    EXPECT_FALSE(std::isfinite(sameSpot[0][2]));
}

}  // namespace
