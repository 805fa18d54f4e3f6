// Win32 side of the preview: wrapping the host's window.
#pragma once

#include <windows.h>

struct GLFWwindow;

namespace platform {

// Wraps the window in a GLFW window with a WGL context; null on failure.
GLFWwindow* Win32AttachWindow(HWND window);

}  // namespace platform
