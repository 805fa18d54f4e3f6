// The camera: construction, pitch, the view bank and the projection.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "math/glfw_camera.h"
#include "tests/math/math_expect.h"

namespace {

const double kPi = 3.14159265358979323846;

TEST(GLFWCamera, NewCameraLooksDownMinusZ) {
    const GLFWCamera camera(0, 0, 100);
    ExpectVec3Near(camera.eye, Vec3(0, 0, 100), 0.0f);
    ExpectVec3Near(camera.target, Vec3(0, 0, 99), 0.0f);
    ExpectVec3Near(camera.direction, Vec3(0, 0, -1), 0.0f);
    ExpectVec3Near(camera.right, Vec3(1, 0, 0), 0.0f);
    ExpectVec3Near(camera.up, Vec3(0, 1, 0), 0.0f);
    EXPECT_EQ(camera.currentView, 0);
}

TEST(GLFWCamera, PitchTurnsAboutTheRightAxis) {
    const float s1 = static_cast<float>(std::sin(kPi / 180));
    const float c1 = static_cast<float>(std::cos(kPi / 180));
    struct Case {
        float angle;
        Vec3 direction, up;
        float tolerance;
    };
    const std::vector<Case> cases = {
        {0, {0, 0, -1}, {0, 1, 0}, 0.0f},
        {1, {0, 0.0174524f, -0.9998477f}, {0, 0.9998477f, 0.0174524f}, 1e-7f},
        {1, {0, s1, -c1}, {0, c1, s1}, 1e-7f},
        {90, {0, 1, 0}, {0, 0, 1}, 1e-7f},
        {-90, {0, -1, 0}, {0, 0, -1}, 1e-7f},
        {180, {0, 0, 1}, {0, -1, 0}, 1e-7f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Pitch(" << c.angle << ")");
        GLFWCamera camera(0, 0, 100);
        camera.Pitch(c.angle);
        ExpectVec3Near(camera.direction, c.direction, c.tolerance);
        ExpectVec3Near(camera.up, c.up, c.tolerance);
        ExpectVec3Near(camera.right, Vec3(1, 0, 0), 0.0f);
        ExpectVec3Near(camera.target, camera.eye + camera.direction, 0.0f);
    }
}

TEST(GLFWCamera, PitchesAccumulate) {
    GLFWCamera twice(0, 0, 100);
    twice.Pitch(30);
    twice.Pitch(15);
    GLFWCamera once(0, 0, 100);
    once.Pitch(45);
    ExpectVec3Near(twice.direction, once.direction, 1e-6f);
    ExpectVec3Near(twice.up, once.up, 1e-6f);
}

TEST(GLFWCamera, SceneSetUpGivesTheTiltedView) {
    GLFWCamera camera(0, 0, 100);
    camera.Pitch(1);
    camera.UpdateView(0);
    ExpectVec3Near(camera.target, Vec3(0, 0.0174524f, 99.000153f), 1e-5f);
    const float s = static_cast<float>(std::sin(kPi / 180));
    const float c = static_cast<float>(std::cos(kPi / 180));
    // Rows (1, 0, 0), (0, c, s), (0, -s, c) of the rotation, times translate(0, 0, -100).
    const Mat4 expected(Vec4(1, 0, 0, 0), Vec4(0, c, -s, 0), Vec4(0, s, c, 0), Vec4(0, -100 * s, -100 * c, 1));
    ExpectMatNear(camera.GetView(), expected, 2e-5f);
}

TEST(GLFWCamera, UnturnedViewIsATranslation) {
    GLFWCamera camera(0, 0, 100);
    camera.UpdateView(0);
    ExpectMatEq(camera.GetView(), translate(0, 0, -100));
}

TEST(GLFWCamera, SelectViewReturnsTheStoredSlot) {
    GLFWCamera camera(0, 0, 100);
    camera.UpdateView(0);
    camera.Pitch(10);
    camera.UpdateView(1);
    EXPECT_EQ(camera.currentView, 1);
    const Mat4 tilted = lookAt(camera.eye, camera.target, camera.up);
    ExpectMatEq(camera.GetView(), tilted);

    camera.SelectView(0);
    EXPECT_EQ(camera.currentView, 0);
    ExpectMatEq(camera.GetView(), translate(0, 0, -100));
    EXPECT_NE(camera.GetView()[1][1], tilted[1][1]);
}

TEST(GLFWCamera, ProjectionIsStoredAsGiven) {
    GLFWCamera camera(0, 0, 100);
    const Mat4 p = perspective(50, 1.5f, 0.1f, 1000);
    camera.SetProjection(p);
    ExpectMatEq(camera.GetProjection(), p);
}

}  // namespace
