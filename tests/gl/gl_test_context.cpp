#include "tests/gl/gl_test_context.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "tests/gl/test_context_window.h"

namespace {

GLFWwindow* s_window = nullptr;
int s_loaderResult = -2;

class GLContextEnvironment : public testing::Environment {
public:
    void SetUp() override {
        s_window = OpenTestContextWindow(&s_loaderResult);
        ASSERT_NE(s_window, nullptr) << "no GL context for the GL tests";
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
