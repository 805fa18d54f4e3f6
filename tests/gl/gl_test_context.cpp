#include "tests/gl/gl_test_context.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "gl/gl_loader.h"

namespace {

GLFWwindow* s_window = nullptr;
int s_loaderResult = -2;

class GLContextEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(glfwInit(), GLFW_TRUE) << "no display for the GL tests";
        // The screensaver's hints, on a hidden 16 x 16 window.
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
        glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
        glfwWindowHint(GLFW_SAMPLES, 0);
        glfwWindowHint(GLFW_STEREO, GLFW_FALSE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        s_window = glfwCreateWindow(16, 16, "Corvelle GL test", nullptr, nullptr);
        ASSERT_NE(s_window, nullptr) << "no GL context for the GL tests";
        glfwMakeContextCurrent(s_window);
        s_loaderResult = GLLoaderInit();
    }

    void TearDown() override {
        if (s_window != nullptr) glfwDestroyWindow(s_window);
        s_window = nullptr;
        glfwTerminate();
    }
};

testing::Environment* const s_environment = testing::AddGlobalTestEnvironment(new GLContextEnvironment);

}  // namespace

GLFWwindow* TestContextWindow() { return s_window; }

int TestContextLoaderResult() { return s_loaderResult; }
