/* Attaching GLFW to a window that already exists.
 *
 * The window stays its owner's: GLFW wraps it in a window record with a GL
 * context, routes its events to the window's callbacks while attached, and
 * hands it back unchanged when the record is destroyed (glfwDestroyWindow or
 * glfwTerminate) instead of destroying it.
 *
 * Like glfw3native.h, define GLFW_EXPOSE_NATIVE_WIN32 or GLFW_EXPOSE_NATIVE_X11
 * before including this header to get the declaration for that platform.
 */
#ifndef CORVELLE_GLFW_ATTACH_H
#define CORVELLE_GLFW_ATTACH_H

#include <GLFW/glfw3.h>

#if defined(GLFW_EXPOSE_NATIVE_WIN32)
 #include <windows.h>
#endif
#if defined(GLFW_EXPOSE_NATIVE_X11)
 #include <X11/Xlib.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(GLFW_EXPOSE_NATIVE_WIN32)
/* Wraps `handle` with a WGL context (sharing objects with `share` when not
 * null). Returns null on failure, after reporting GLFW's error. While
 * attached, GLFW's window procedure replaces the window's own. */
GLFWAPI GLFWwindow* glfwAttachWin32Window(HWND handle, GLFWwindow* share);
#endif

#if defined(GLFW_EXPOSE_NATIVE_X11)
/* Wraps the X window `handle`, which any client may own, with a GLX context
 * whose visual is the window's own. Returns null on failure, after reporting
 * GLFW's error. While attached, the events another client may select on the
 * window reach GLFW; X errors about the window (it may vanish at any moment)
 * do not end the process. */
GLFWAPI GLFWwindow* glfwAttachX11Window(Window handle, GLFWwindow* share);
#endif

#ifdef __cplusplus
}
#endif

#endif /* CORVELLE_GLFW_ATTACH_H */
