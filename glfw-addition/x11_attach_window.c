// glfwAttachX11Window: a GLFW window record around an X window that another
// client made (a screensaver host's preview area, for one).
//
// Any client may draw into any window with GLX, as long as the context's
// GLXFBConfig has the window's own visual. Events reach GLFW because this
// client selects them on the window; X lets only one client select
// ButtonPress, so that one is asked for separately and may be refused.
// _glfwPlatformDestroyWindow (patched) deselects the events and leaves the
// window to its owner.
//
// The owner may destroy the window at any moment, and every later request
// about it then fails. Xlib's default error handler would end the process
// with exit code 1, so while a window is attached, errors about it (or its
// GLX drawable) are ignored; all other errors go to the handler that was in
// place before.
#include "attach_window.h"

#include "glfw_attach.h"

// The events GLFW's own windows select, except ButtonPress
#define ATTACHED_EVENT_MASK (StructureNotifyMask | KeyPressMask | KeyReleaseMask | \
                             PointerMotionMask | ButtonReleaseMask | ExposureMask | \
                             FocusChangeMask | VisibilityChangeMask | \
                             EnterWindowMask | LeaveWindowMask | PropertyChangeMask)

// The error handler that was in place before ours
static XErrorHandler previousErrorHandler;

static GLFWbool isAttachedWindowResource(XID resource)
{
    _GLFWwindow* window;

    for (window = _glfw.windowListHead;  window;  window = window->next)
    {
        if (!window->x11.attached)
            continue;
        if (resource == window->x11.handle)
            return GLFW_TRUE;
        if (window->context.glx.window && resource == window->context.glx.window)
            return GLFW_TRUE;
    }

    return GLFW_FALSE;
}

static int handleAttachedWindowError(Display* display, XErrorEvent* event)
{
    if (display == _glfw.x11.display && isAttachedWindowResource(event->resourceid))
        return 0;

    if (previousErrorHandler)
        return previousErrorHandler(display, event);
    return 0;
}

static void keepAttachedWindowErrorsNonFatal(void)
{
    const XErrorHandler current = XSetErrorHandler(handleAttachedWindowError);
    if (current != handleAttachedWindowError)
        previousErrorHandler = current;
}

// The window's attributes, or false (after reporting GLFW's error) when the
// handle is no window this client could draw into
static GLFWbool readWindowAttributes(Window handle, XWindowAttributes* attributes)
{
    Status status;

    _glfwGrabErrorHandlerX11();
    status = XGetWindowAttributes(_glfw.x11.display, handle, attributes);
    _glfwReleaseErrorHandlerX11();

    if (!status || _glfw.x11.errorCode != Success)
    {
        _glfwInputErrorX11(GLFW_PLATFORM_ERROR,
                           "X11: Failed to read the attributes of the window to attach");
        return GLFW_FALSE;
    }

    if (attributes->class != InputOutput)
    {
        _glfwInputError(GLFW_PLATFORM_ERROR,
                        "X11: Cannot draw into an InputOnly window");
        return GLFW_FALSE;
    }

    return GLFW_TRUE;
}

// Where the window is: its parent, and its position on the root window
static void readWindowPlacement(_GLFWwindow* window)
{
    Window root, parent, child;
    Window* children = NULL;
    unsigned int count = 0;

    _glfwGrabErrorHandlerX11();
    if (XQueryTree(_glfw.x11.display, window->x11.handle,
                   &root, &parent, &children, &count))
    {
        window->x11.parent = parent;
    }
    XTranslateCoordinates(_glfw.x11.display, window->x11.handle, _glfw.x11.root,
                          0, 0, &window->x11.xpos, &window->x11.ypos, &child);
    _glfwReleaseErrorHandlerX11();

    if (children)
        XFree(children);
}

static void selectEvents(Window handle)
{
    XSelectInput(_glfw.x11.display, handle, ATTACHED_EVENT_MASK);

    // BadAccess when the owner (or another client) holds ButtonPress; the
    // selection above then stays in place
    _glfwGrabErrorHandlerX11();
    XSelectInput(_glfw.x11.display, handle, ATTACHED_EVENT_MASK | ButtonPressMask);
    _glfwReleaseErrorHandlerX11();
}

GLFWbool _glfwAttachCreateNativeContext(_GLFWwindow* window,
                                        const _GLFWctxconfig* ctxconfig,
                                        const _GLFWfbconfig* fbconfig)
{
    if (!_glfwInitGLX())
        return GLFW_FALSE;
    return _glfwCreateContextGLX(window, ctxconfig, fbconfig);
}

GLFWAPI GLFWwindow* glfwAttachX11Window(Window handle, GLFWwindow* share)
{
    _GLFWfbconfig fbconfig;
    _GLFWctxconfig ctxconfig;
    XWindowAttributes attributes;
    _GLFWwindow* window;

    _GLFW_REQUIRE_INIT_OR_RETURN(NULL);

    if (!_glfwAttachReadHints(share, &fbconfig, &ctxconfig))
        return NULL;
    if (!readWindowAttributes(handle, &attributes))
        return NULL;

    keepAttachedWindowErrorsNonFatal();

    window = _glfwAttachNewRecord();
    window->x11.handle = handle;
    window->x11.attached = GLFW_TRUE;
    window->x11.attachedVisual = XVisualIDFromVisual(attributes.visual);
    window->x11.transparent = _glfwIsVisualTransparentX11(attributes.visual);
    window->x11.width = attributes.width;
    window->x11.height = attributes.height;
    readWindowPlacement(window);

    XSaveContext(_glfw.x11.display, handle, _glfw.x11.context, (XPointer) window);
    selectEvents(handle);

    return _glfwAttachFinish(window, &ctxconfig, &fbconfig);
}
