#include "platform/win32_preview.h"

#define GLFW_EXPOSE_NATIVE_WIN32
#include "glfw-addition/glfw_attach.h"

namespace platform {

GLFWwindow* Win32AttachWindow(HWND window) { return glfwAttachWin32Window(window, nullptr); }

}  // namespace platform
