// The platform-independent half of attaching GLFW to an existing window:
// the steps glfwCreateWindow takes before and after it makes its own native
// window. The per-platform files (win32_attach_window.c, x11_attach_window.c)
// fill in the native part between them.
#ifndef CORVELLE_ATTACH_WINDOW_H
#define CORVELLE_ATTACH_WINDOW_H

#include "internal.h"

// The current hints, with `share` as the context's share window, checked as
// glfwCreateWindow checks them. False (after reporting GLFW's error) when a
// share window without a context is given or the context hints are invalid.
GLFWbool _glfwAttachReadHints(GLFWwindow* share,
                              _GLFWfbconfig* fbconfig,
                              _GLFWctxconfig* ctxconfig);

// A zero-filled window record at the head of GLFW's window list, with the
// window-independent fields set; the caller adds the native part.
_GLFWwindow* _glfwAttachNewRecord(void);

// Creates the context the hints ask for (if any) on the record's native
// window and reads back its attributes. Returns the finished record, or null
// after reporting GLFW's error and destroying the record (which hands the
// window back).
GLFWwindow* _glfwAttachFinish(_GLFWwindow* window,
                              const _GLFWctxconfig* ctxconfig,
                              const _GLFWfbconfig* fbconfig);

// The platform's own context API (WGL, GLX): initialises it and creates the
// context for the record's native window. Defined by each platform file.
GLFWbool _glfwAttachCreateNativeContext(_GLFWwindow* window,
                                        const _GLFWctxconfig* ctxconfig,
                                        const _GLFWfbconfig* fbconfig);

#endif // CORVELLE_ATTACH_WINDOW_H
