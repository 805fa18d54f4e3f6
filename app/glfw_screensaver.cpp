#include "app/glfw_screensaver.h"

#include <string>

#include <GLFW/glfw3.h>

#include "app/command_line.h"
#include "app/window_icon.h"
#include "gl/gl_loader.h"
#include "platform/platform.h"

std::int32_t windowWidth = 0;
std::int32_t windowHeight = 0;
float windowAspect = 0.0f;

void SetWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    windowAspect = static_cast<float>(width) / static_cast<float>(height);
}

GLFWScreensaver::GLFWScreensaver(CCommandLine* commandLine) : window(nullptr), commandLine(commandLine) {
    InitGlfw();
    ChooseWindowSize();
    OpenWindow();
    InitGlState();
}

void GLFWScreensaver::InitGlfw() {
    glfwSetErrorCallback(OnGlfwError);  // before glfwInit, so its own failures are reported too
    if (!glfwInit()) platform::ShowMessage("Failed to initialize GLFW", "Debug");
}

void GLFWScreensaver::ChooseWindowSize() {
    int width = 0;
    int height = 0;
    if (commandLine->mode == Preview) {
        if (!platform::GetWindowClientSize(commandLine->parentWindow, &width, &height)) width = height = 0;
    } else if (GetWindowsVersion() >= 60) {
        width = GetPrimaryVideoModeSize(0);
        height = GetPrimaryVideoModeSize(1);
    } else {
        width = 800;
        height = 600;
    }
    SetWindowSize(width, height);
}

// Ends start-up after a failure that leaves no window to draw in.
static void FailStartUp(const char* message) {
    platform::ShowMessage(message, "Debug");
    glfwTerminate();
    platform::ExitProcess(0);
}

void ApplyScreensaverWindowHints() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_STEREO, GLFW_FALSE);
}

void GLFWScreensaver::OpenWindow() {
    ApplyScreensaverWindowHints();

    if (commandLine->mode == Preview) {
        window = platform::AttachPreviewWindow(commandLine->parentWindow);
    } else {
        window = glfwCreateWindow(windowWidth, windowHeight, "Corvelle Screensaver", glfwGetPrimaryMonitor(), nullptr);
    }
    if (window == nullptr) FailStartUp("Failed to open window");

    glfwSetWindowSizeCallback(window, OnWindowSize);
    glfwSetKeyCallback(window, OnKey);
    glfwSetMouseButtonCallback(window, OnMouseButton);
    glfwSetCursorPosCallback(window, OnCursorPos);
    glfwSetScrollCallback(window, OnScroll);
    glfwMakeContextCurrent(window);
    SetWindowIcon(window);

    GLLoaderInit();
    // Every GL function is called through a pointer: refuse to start on a
    // context that lacks any we call, instead of crashing on the first frame.
    std::string problem;
    if (!GLLoaderCheckRequirements(&problem)) FailStartUp(problem.c_str());
}

void GLFWScreensaver::InitGlState() {
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    SetSwapInterval(true);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}

int GLFWScreensaver::GetPrimaryVideoModeSize(int which) {
    const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor());
    if (mode == nullptr) return 0;  // only after a failed glfwInit; the window cannot open then anyway
    return which == 0 ? mode->width : mode->height;
}

int GLFWScreensaver::GetWindowsVersion() { return platform::GetOsVersion(); }

void GLFWScreensaver::SetWindowIcon(GLFWwindow* target) {
    static unsigned char pixels[kWindowIconBytes];
    CopyWindowIconRows(pixels);
    GLFWimage image = {kWindowIconSize, kWindowIconSize, pixels};
    glfwSetWindowIcon(target, 1, &image);
}

void GLFWScreensaver::SetSwapInterval(bool enabled) { glfwSwapInterval(enabled ? 1 : 0); }

void GLFWScreensaver::OnWindowSize(GLFWwindow*, int width, int height) { SetWindowSize(width, height); }

// Any key or mouse button ends the screensaver at once.
void GLFWScreensaver::OnKey(GLFWwindow*, int, int, int, int) { platform::ExitProcess(0); }
void GLFWScreensaver::OnMouseButton(GLFWwindow*, int, int, int) { platform::ExitProcess(0); }

// Moving the mouse or turning the wheel does not.
void GLFWScreensaver::OnCursorPos(GLFWwindow*, double, double) {}
void GLFWScreensaver::OnScroll(GLFWwindow*, double, double) {}

void GLFWScreensaver::OnGlfwError(int, const char* description) { platform::ShowMessage(description, "Error"); }
