// glfwAttachWin32Window: a GLFW window record around a window that another
// owner made. GLFW's window procedure takes the window's messages while it is
// attached; _glfwPlatformDestroyWindow (patched) puts the owner's procedure
// back instead of destroying the window.
//
// The window procedure is read and replaced with the pointer-sized
// GetWindowLongPtrW/SetWindowLongPtrW: the 32-bit GetWindowLongW/SetWindowLongW
// would cut a 64-bit procedure address in half, and the window would crash
// on its next message once handed back.
#include "attach_window.h"

#include "glfw_attach.h"

// GLFW's own window procedure: the one its window class was registered with
static WNDPROC glfwWindowProcedure(void)
{
    WNDCLASSEXW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(_glfw.win32.instance, _GLFW_WNDCLASSNAME, &wc))
        return NULL;
    return wc.lpfnWndProc;
}

// Hands the window's messages to GLFW, keeping its own procedure for later
static void replaceWindowProcedure(_GLFWwindow* window)
{
    const HWND handle = window->win32.handle;
    const WNDPROC procedure = glfwWindowProcedure();

    SetPropW(handle, L"GLFW", window);
    window->win32.attached = GLFW_TRUE;
    window->win32.savedWndProc =
        (WNDPROC) GetWindowLongPtrW(handle, GWLP_WNDPROC);
    if (procedure)
        SetWindowLongPtrW(handle, GWLP_WNDPROC, (LONG_PTR) procedure);
}

// The window attributes follow the styles the owner gave the window
static void readStyleAttributes(_GLFWwindow* window)
{
    const HWND handle = window->win32.handle;
    const DWORD style = (DWORD) GetWindowLongW(handle, GWL_STYLE);
    const DWORD exStyle = (DWORD) GetWindowLongW(handle, GWL_EXSTYLE);

    window->resizable = (style & WS_THICKFRAME) ? GLFW_TRUE : GLFW_FALSE;
    window->decorated = (style & (WS_BORDER | WS_THICKFRAME)) ? GLFW_TRUE : GLFW_FALSE;
    window->floating = (exStyle & WS_EX_TOPMOST) ? GLFW_TRUE : GLFW_FALSE;
    window->win32.maximized = IsZoomed(handle) ? GLFW_TRUE : GLFW_FALSE;
    window->win32.iconified = IsIconic(handle) ? GLFW_TRUE : GLFW_FALSE;
}

GLFWbool _glfwAttachCreateNativeContext(_GLFWwindow* window,
                                        const _GLFWctxconfig* ctxconfig,
                                        const _GLFWfbconfig* fbconfig)
{
    if (!_glfwInitWGL())
        return GLFW_FALSE;
    return _glfwCreateContextWGL(window, ctxconfig, fbconfig);
}

GLFWAPI GLFWwindow* glfwAttachWin32Window(HWND handle, GLFWwindow* share)
{
    _GLFWfbconfig fbconfig;
    _GLFWctxconfig ctxconfig;
    _GLFWwindow* window;

    _GLFW_REQUIRE_INIT_OR_RETURN(NULL);

    if (!_glfwAttachReadHints(share, &fbconfig, &ctxconfig))
        return NULL;

    window = _glfwAttachNewRecord();
    window->win32.handle = handle;
    replaceWindowProcedure(window);
    readStyleAttributes(window);

    // A handle that is no window at all fails here, as no context can be made on it
    return _glfwAttachFinish(window, &ctxconfig, &fbconfig);
}
