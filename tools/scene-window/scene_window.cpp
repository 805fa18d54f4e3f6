#include "tools/scene-window/scene_window.h"

#include <GLFW/glfw3.h>

#include "app/glfw_screensaver.h"
#include "gl/gl_loader.h"

GLFWwindow* OpenSceneWindow(int width, int height, const char* title, std::string* problem) {
    if (!glfwInit()) {
        *problem = "cannot initialise GLFW (is there a display?)";
        return nullptr;
    }
    // The screensaver's own context hints, in a window nobody sees.
    ApplyScreensaverWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (window == nullptr) {
        *problem = "cannot open a window for rendering";
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    GLLoaderInit();
    if (!GLLoaderCheckRequirements(problem)) return nullptr;
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(window, &framebufferWidth, &framebufferHeight);
    SetWindowSize(framebufferWidth, framebufferHeight);
    return window;
}

std::vector<unsigned char> ReadSceneFrame() {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(windowWidth) * windowHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
