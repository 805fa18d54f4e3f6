#include "platform/win32_preview.h"

namespace platform {

GLFWwindow* Win32AttachWindow(HWND) {
    // Attaching needs GLFW's internals; until that addition exists the preview
    // fails like a failed attach.
    return nullptr;
}

}  // namespace platform
