// X11 side of the preview: reading and wrapping a window that another client owns.
#pragma once

#include <X11/Xlib.h>

struct GLFWwindow;

namespace platform {

// Both survive a window that has vanished: X errors are caught, not fatal.
bool X11WindowSize(Display* display, Window window, int* width, int* height);
bool X11WindowIsViewable(Display* display, Window window);

// The root window of the default screen of $DISPLAY; 0 when the display
// cannot be opened.
Window X11DefaultRootWindow();

// Wraps the window in a GLFW window with a GLX context; null on failure.
GLFWwindow* X11AttachWindow(Window window);

}  // namespace platform
