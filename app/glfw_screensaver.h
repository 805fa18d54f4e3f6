// The screensaver application: GLFW, the window, its callbacks and the fixed GL state.
#pragma once

#include <cstdint>

struct GLFWwindow;
class CCommandLine;

// The current window size, kept by the size callback, read by the render pass.
extern std::int32_t windowWidth;
extern std::int32_t windowHeight;
extern float windowAspect;

class GLFWScreensaver {
public:
    explicit GLFWScreensaver(CCommandLine* commandLine);

    void InitGlfw();
    void ChooseWindowSize();
    void OpenWindow();
    void InitGlState();

    int GetPrimaryVideoModeSize(int which);
    int GetWindowsVersion();
    void SetWindowIcon(GLFWwindow* target);
    void SetSwapInterval(bool enabled);

    static void OnWindowSize(GLFWwindow* window, int width, int height);
    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnCursorPos(GLFWwindow* window, double x, double y);
    static void OnScroll(GLFWwindow* window, double xOffset, double yOffset);
    static void OnGlfwError(int code, const char* description);

    GLFWwindow* window;
    CCommandLine* commandLine;
};

// Sets windowWidth, windowHeight and windowAspect together.
void SetWindowSize(int width, int height);

// The window hints the screensaver opens its window with (OpenGL 2.0 asked,
// robustness, no multisampling, no stereo); everything else stays GLFW's default.
void ApplyScreensaverWindowHints();
