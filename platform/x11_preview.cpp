#include "platform/x11_preview.h"

#define GLFW_EXPOSE_NATIVE_X11
#include "glfw-addition/glfw_attach.h"

namespace platform {

namespace {

// Xlib's default error handler ends the process; while we look at a window
// that another client may destroy at any moment, errors are only counted.
int g_trappedErrors = 0;

int CountError(Display*, XErrorEvent*) {
    ++g_trappedErrors;
    return 0;
}

bool ReadAttributes(Display* display, Window window, XWindowAttributes* attributes) {
    if (display == nullptr || window == 0) return false;
    XSync(display, False);
    g_trappedErrors = 0;
    XErrorHandler previous = XSetErrorHandler(CountError);
    const Status status = XGetWindowAttributes(display, window, attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return status != 0 && g_trappedErrors == 0;
}

}  // namespace

bool X11WindowSize(Display* display, Window window, int* width, int* height) {
    XWindowAttributes attributes;
    if (!ReadAttributes(display, window, &attributes)) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

bool X11WindowIsViewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return ReadAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window X11DefaultRootWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    const Window root = DefaultRootWindow(display);
    XCloseDisplay(display);
    return root;
}

GLFWwindow* X11AttachWindow(Window window) { return glfwAttachX11Window(window, nullptr); }

}  // namespace platform
