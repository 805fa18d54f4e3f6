// The platform-independent steps of attaching GLFW to an existing window.
#include "attach_window.h"

#include <stdlib.h>

GLFWbool _glfwAttachReadHints(GLFWwindow* share,
                              _GLFWfbconfig* fbconfig,
                              _GLFWctxconfig* ctxconfig)
{
    _GLFWwindow* shared = (_GLFWwindow*) share;

    *fbconfig = _glfw.hints.framebuffer;
    *ctxconfig = _glfw.hints.context;
    ctxconfig->share = shared;

    if (shared &&
        (ctxconfig->client == GLFW_NO_API ||
         shared->context.client == GLFW_NO_API))
    {
        _glfwInputError(GLFW_NO_WINDOW_CONTEXT, NULL);
        return GLFW_FALSE;
    }

    return _glfwIsValidContextConfig(ctxconfig);
}

_GLFWwindow* _glfwAttachNewRecord(void)
{
    _GLFWwindow* window = calloc(1, sizeof(_GLFWwindow));
    window->next = _glfw.windowListHead;
    _glfw.windowListHead = window;

    // No monitor and no video mode: an attached window counts as windowed
    window->autoIconify = _glfw.hints.window.autoIconify;
    window->cursorMode  = GLFW_CURSOR_NORMAL;

    window->minwidth    = GLFW_DONT_CARE;
    window->minheight   = GLFW_DONT_CARE;
    window->maxwidth    = GLFW_DONT_CARE;
    window->maxheight   = GLFW_DONT_CARE;
    window->numer       = GLFW_DONT_CARE;
    window->denom       = GLFW_DONT_CARE;

    return window;
}

static GLFWbool createContext(_GLFWwindow* window,
                              const _GLFWctxconfig* ctxconfig,
                              const _GLFWfbconfig* fbconfig)
{
    if (ctxconfig->client == GLFW_NO_API)
        return GLFW_TRUE;

    if (ctxconfig->source == GLFW_NATIVE_CONTEXT_API)
    {
        if (!_glfwAttachCreateNativeContext(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }
    else if (ctxconfig->source == GLFW_EGL_CONTEXT_API)
    {
        if (!_glfwInitEGL())
            return GLFW_FALSE;
        if (!_glfwCreateContextEGL(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }
    else if (ctxconfig->source == GLFW_OSMESA_CONTEXT_API)
    {
        if (!_glfwInitOSMesa())
            return GLFW_FALSE;
        if (!_glfwCreateContextOSMesa(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }

    return _glfwRefreshContextAttribs(window, ctxconfig);
}

GLFWwindow* _glfwAttachFinish(_GLFWwindow* window,
                              const _GLFWctxconfig* ctxconfig,
                              const _GLFWfbconfig* fbconfig)
{
    if (!createContext(window, ctxconfig, fbconfig))
    {
        glfwDestroyWindow((GLFWwindow*) window);
        return NULL;
    }

    return (GLFWwindow*) window;
}
