// glfwAttachX11Window against a real X server: the test's own X connection
// plays the host that owns the window; GLFW, on its own connection, is a
// second client, as the screensaver is.
// GoogleTest first: X11's headers define macros (None, Bool) that clash with it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xutil.h>

#define GLFW_EXPOSE_NATIVE_X11
#define GLFW_EXPOSE_NATIVE_GLX
#include "glfw-addition/glfw_attach.h"
#include <GLFW/glfw3native.h>

namespace {

const int kWidth = 48;
const int kHeight = 36;
const unsigned long kHostBackground = 0x00FF00;  // green in a 24-bit TrueColor visual
const long kHostEvents = ExposureMask;           // what the host itself selects

struct Events {
    std::vector<int> errors;
    int width = 0, height = 0, sizeCalls = 0;
    int key = GLFW_KEY_UNKNOWN, keyAction = -1;
    int button = -1;
} g_events;

// Errors that reach the handler in place before GLFW's connection attached a window.
std::vector<XErrorEvent> g_hostErrors;

int RecordHostError(Display*, XErrorEvent* event) {
    g_hostErrors.push_back(*event);
    return 0;
}

class AttachX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        g_events = Events();
        g_hostErrors.clear();
        host = XOpenDisplay(nullptr);
        ASSERT_NE(host, nullptr);
        glfwSetErrorCallback([](int code, const char*) { g_events.errors.push_back(code); });
        ASSERT_TRUE(glfwInit());
    }

    void TearDown() override {
        glfwTerminate();
        XCloseDisplay(host);
        XSetErrorHandler(nullptr);
    }

    // A mapped window of the host, child of the root, with the given visual
    // (null: the default one) or class.
    Window MakeHostWindow(Visual* visual = nullptr, int depth = CopyFromParent, unsigned windowClass = InputOutput) {
        XSetWindowAttributes attributes;
        std::memset(&attributes, 0, sizeof(attributes));
        unsigned long mask = 0;
        if (windowClass == InputOutput) {
            attributes.background_pixel = kHostBackground;
            attributes.border_pixel = 0;
            mask |= CWBackPixel | CWBorderPixel;
            if (visual != nullptr) {
                attributes.colormap = XCreateColormap(host, DefaultRootWindow(host), visual, AllocNone);
                mask |= CWColormap;
            }
        }
        const Window window = XCreateWindow(host, DefaultRootWindow(host), 0, 0, kWidth, kHeight, 0, depth,
                                            windowClass, visual, mask, &attributes);
        XSelectInput(host, window, kHostEvents);
        XMapWindow(host, window);
        XSync(host, False);
        return window;
    }

    GLFWwindow* Attach(Window window, GLFWwindow* share = nullptr) {
        GLFWwindow* attached = glfwAttachX11Window(window, share);
        if (attached != nullptr) {
            glfwSetWindowSizeCallback(attached, [](GLFWwindow*, int width, int height) {
                g_events.width = width;
                g_events.height = height;
                ++g_events.sizeCalls;
            });
            glfwSetKeyCallback(attached, [](GLFWwindow*, int key, int, int action, int) {
                g_events.key = key;
                g_events.keyAction = action;
            });
            glfwSetMouseButtonCallback(attached, [](GLFWwindow*, int button, int, int) { g_events.button = button; });
        }
        return attached;
    }

    XWindowAttributes Attributes(Window window) {
        XWindowAttributes attributes;
        std::memset(&attributes, 0, sizeof(attributes));
        EXPECT_NE(XGetWindowAttributes(host, window, &attributes), 0);
        return attributes;
    }

    // The events some client other than the host has selected on the window.
    long OthersEvents(Window window) {
        const XWindowAttributes attributes = Attributes(window);
        return attributes.all_event_masks & ~attributes.your_event_mask;
    }

    // Every pixel of the window as the host reads it back, as 0xRRGGBB.
    std::vector<unsigned long> Pixels(Window window) {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(host, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        }
        XDestroyImage(image);
        return pixels;
    }

    void SendToWindow(Window window, XEvent event, long mask) {
        event.xany.window = window;
        event.xany.display = host;
        XSendEvent(host, window, False, mask, &event);
        XSync(host, False);
    }

    // Polls until `done` holds; a generous limit keeps a fault from hanging the test.
    template <typename Condition>
    bool PollUntil(Condition done) {
        for (int i = 0; i < 2000 && !done(); ++i) {
            glfwPollEvents();
            XSync(host, False);
        }
        return done();
    }

    Display* host = nullptr;
};

// A double-buffered DirectColor visual. The server lets a GLX window be made
// only with a GLXFBConfig of the window's visual class, and GLFW's own choice
// for the same hints is the TrueColor one.
Visual* DirectColorVisual(Display* display, int* depth) {
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
    Visual* found = nullptr;
    for (int i = 0; i < count && found == nullptr; ++i) {
        int doubleBuffer = 0, visualType = 0, drawable = 0;
        glXGetFBConfigAttrib(display, configs[i], GLX_DOUBLEBUFFER, &doubleBuffer);
        glXGetFBConfigAttrib(display, configs[i], GLX_X_VISUAL_TYPE, &visualType);
        glXGetFBConfigAttrib(display, configs[i], GLX_DRAWABLE_TYPE, &drawable);
        if (!doubleBuffer || visualType != GLX_DIRECT_COLOR || !(drawable & GLX_WINDOW_BIT)) continue;
        XVisualInfo* info = glXGetVisualFromFBConfig(display, configs[i]);
        if (info != nullptr) {
            found = info->visual;
            *depth = info->depth;
            XFree(info);
        }
    }
    if (configs != nullptr) XFree(configs);
    return found;
}

// The visual of the GLXFBConfig that the window's context was made with.
VisualID ContextVisual(GLFWwindow* window) {
    Display* display = glfwGetX11Display();
    int configId = 0;
    glXQueryContext(display, glfwGetGLXContext(window), GLX_FBCONFIG_ID, &configId);
    const int wanted[] = {GLX_FBCONFIG_ID, configId, 0};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), wanted, &count);
    int visual = 0;
    if (count == 1) glXGetFBConfigAttrib(display, configs[0], GLX_VISUAL_ID, &visual);
    if (configs != nullptr) XFree(configs);
    return static_cast<VisualID>(visual);
}

TEST_F(AttachX11Test, DrawsIntoWindowsOfAnyGlxVisual) {
    int directDepth = 0;
    Visual* direct = DirectColorVisual(host, &directDepth);
    ASSERT_NE(direct, nullptr) << "the server offers no double-buffered DirectColor visual";
    struct Case {
        const char* name;
        Visual* visual;
        int depth;
    } cases[] = {
        {"the default visual", nullptr, CopyFromParent},
        {"a DirectColor visual", direct, directDepth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Window window = MakeHostWindow(c.visual, c.depth);
        GLFWwindow* attached = Attach(window);
        ASSERT_NE(attached, nullptr);
        EXPECT_EQ(ContextVisual(attached), XVisualIDFromVisual(Attributes(window).visual));
        glfwMakeContextCurrent(attached);
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(attached);
        glFinish();
        XSync(host, False);
        // Raw pixel values: a DirectColor colormap does not change what is read back.
        const std::vector<unsigned long> pixels = Pixels(window);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
        for (unsigned long pixel : pixels) ASSERT_EQ(pixel, 0xFF00FFu);
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(attached);
    }
    EXPECT_TRUE(g_events.errors.empty());
}

TEST_F(AttachX11Test, EventsOfTheWindowReachTheCallbacks) {
    const Window window = MakeHostWindow();
    GLFWwindow* attached = Attach(window);
    ASSERT_NE(attached, nullptr);

    XResizeWindow(host, window, kWidth + 10, kHeight + 6);
    XSync(host, False);
    EXPECT_TRUE(PollUntil([] { return g_events.sizeCalls > 0; }));
    EXPECT_EQ(g_events.width, kWidth + 10);
    EXPECT_EQ(g_events.height, kHeight + 6);

    XEvent key;
    std::memset(&key, 0, sizeof(key));
    key.xkey.type = KeyPress;
    key.xkey.keycode = XKeysymToKeycode(host, XK_A);
    key.xkey.same_screen = True;
    SendToWindow(window, key, KeyPressMask);
    EXPECT_TRUE(PollUntil([] { return g_events.keyAction != -1; }));
    EXPECT_EQ(g_events.key, GLFW_KEY_A);
    EXPECT_EQ(g_events.keyAction, GLFW_PRESS);

    XEvent button;
    std::memset(&button, 0, sizeof(button));
    button.xbutton.type = ButtonPress;
    button.xbutton.button = Button3;
    button.xbutton.same_screen = True;
    SendToWindow(window, button, ButtonPressMask);
    EXPECT_TRUE(PollUntil([] { return g_events.button != -1; }));
    EXPECT_EQ(g_events.button, GLFW_MOUSE_BUTTON_RIGHT);
}

TEST_F(AttachX11Test, ButtonPressIsLeftToAHostThatHoldsIt) {
    // X lets one client select ButtonPress; a host that did keeps it, and the
    // attach selects everything else.
    struct Case {
        const char* name;
        bool hostTakesButtons;
    } cases[] = {{"host without ButtonPress", false}, {"host holding ButtonPress", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Window window = MakeHostWindow();
        if (c.hostTakesButtons) XSelectInput(host, window, kHostEvents | ButtonPressMask);
        XSync(host, False);
        GLFWwindow* attached = Attach(window);
        ASSERT_NE(attached, nullptr);
        const XWindowAttributes attributes = Attributes(window);
        EXPECT_EQ(attributes.all_event_masks & (KeyPressMask | StructureNotifyMask),
                  KeyPressMask | StructureNotifyMask);
        EXPECT_EQ((attributes.your_event_mask & ButtonPressMask) != 0, c.hostTakesButtons);
        EXPECT_NE(attributes.all_event_masks & ButtonPressMask, 0);
        glfwDestroyWindow(attached);
    }
    EXPECT_TRUE(g_events.errors.empty());
}

TEST_F(AttachX11Test, DestroyingTheRecordHandsTheWindowBack) {
    struct Case {
        const char* name;
        void (*release)(GLFWwindow*);
    } cases[] = {
        {"glfwDestroyWindow", [](GLFWwindow* window) { glfwDestroyWindow(window); }},
        {"glfwTerminate", [](GLFWwindow*) { glfwTerminate(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(glfwInit());
        const Window window = MakeHostWindow();
        GLFWwindow* attached = Attach(window);
        ASSERT_NE(attached, nullptr);
        ASSERT_NE(OthersEvents(window), 0);
        c.release(attached);
        const XWindowAttributes attributes = Attributes(window);
        EXPECT_EQ(attributes.map_state, IsViewable);
        EXPECT_EQ(attributes.width, kWidth);
        EXPECT_EQ(OthersEvents(window), 0) << "the attach's events are still selected";
    }
}

TEST_F(AttachX11Test, AVanishedWindowDoesNotEndTheProcess) {
    // The handler in place before the attach still gets every other error.
    XSetErrorHandler(RecordHostError);
    const Window window = MakeHostWindow();
    GLFWwindow* attached = Attach(window);
    ASSERT_NE(attached, nullptr);
    glfwMakeContextCurrent(attached);
    XDestroyWindow(host, window);
    XSync(host, False);
    for (int frame = 0; frame < 3; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(attached);
        glfwPollEvents();
    }
    glfwSetWindowIcon(attached, 0, nullptr);
    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(attached);
    XSync(glfwGetX11Display(), False);
    EXPECT_TRUE(g_hostErrors.empty()) << "an error about the vanished window reached the earlier handler";

    // An error about anything else still reaches it.
    const Window unrelated = MakeHostWindow();
    XDestroyWindow(host, unrelated);
    XSync(host, False);
    XMapWindow(glfwGetX11Display(), unrelated);
    XSync(glfwGetX11Display(), False);
    ASSERT_EQ(g_hostErrors.size(), 1u);
    EXPECT_EQ(g_hostErrors[0].error_code, BadWindow);
    EXPECT_EQ(g_hostErrors[0].resourceid, unrelated);
}

TEST_F(AttachX11Test, WindowsThatCannotBeDrawnIntoAreRefused) {
    const Window gone = MakeHostWindow();
    XDestroyWindow(host, gone);
    const Pixmap pixmap = XCreatePixmap(host, DefaultRootWindow(host), 8, 8, DefaultDepth(host, DefaultScreen(host)));
    const Window inputOnly = MakeHostWindow(nullptr, 0, InputOnly);
    XSync(host, False);
    struct Case {
        const char* name;
        Window window;
    } cases[] = {{"no window", 0}, {"a destroyed window", gone}, {"a pixmap", pixmap}, {"an InputOnly window", inputOnly}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_events.errors.clear();
        EXPECT_EQ(Attach(c.window), nullptr);
        EXPECT_EQ(g_events.errors, std::vector<int>{GLFW_PLATFORM_ERROR});
    }
    EXPECT_EQ(OthersEvents(inputOnly), 0);
    XFreePixmap(host, pixmap);
}

TEST_F(AttachX11Test, ShareWindowWithoutContextIsRefused) {
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);
    GLFWwindow* noContext = glfwCreateWindow(16, 16, "no context", nullptr, nullptr);
    ASSERT_NE(noContext, nullptr);
    glfwDefaultWindowHints();
    const Window window = MakeHostWindow();
    EXPECT_EQ(Attach(window, noContext), nullptr);
    EXPECT_EQ(g_events.errors, std::vector<int>{GLFW_NO_WINDOW_CONTEXT});
    EXPECT_EQ(OthersEvents(window), 0) << "the refused attach touched the window";

    // With a share window that has a context, the attach works.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* withContext = glfwCreateWindow(16, 16, "context", nullptr, nullptr);
    ASSERT_NE(withContext, nullptr);
    glfwDefaultWindowHints();
    EXPECT_NE(Attach(window, withContext), nullptr);
}

TEST(AttachX11BeforeInitTest, ReportsNotInitialized) {
    static int code = 0;
    glfwSetErrorCallback([](int error, const char*) { code = error; });
    EXPECT_EQ(glfwAttachX11Window(1, nullptr), nullptr);
    EXPECT_EQ(code, GLFW_NOT_INITIALIZED);
}

}  // namespace
