// glfwAttachWin32Window in one process (under Wine, a window of another
// process cannot get a GL context): this program makes its own windows,
// attaches GLFW to them and checks what the attach and the hand-back do.
//
// Standard output, one line per check:
//   ok NAME                      the check passed
//   not ok NAME: DETAIL          it failed
//   show X Y WIDTH HEIGHT        the attached window was cleared to magenta
//                                (255, 0, 255) and shown at this screen
//                                rectangle; the program waits for a line on
//                                standard input (the caller's screenshot)
//   done COUNT                   every check ran; COUNT failed
// Exit code: 0 when every check passed, 1 otherwise.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#define GLFW_EXPOSE_NATIVE_WIN32
#include "glfw-addition/glfw_attach.h"
#include <GLFW/glfw3native.h>

namespace {

int g_failures = 0;

void Check(const std::string& name, bool passed, const std::string& detail = "") {
    if (passed) {
        std::printf("ok %s\n", name.c_str());
    } else {
        std::printf("not ok %s: %s\n", name.c_str(), detail.c_str());
        ++g_failures;
    }
    std::fflush(stdout);
}

std::string Number(long long value) { return std::to_string(value); }

// What GLFW reported last, through its error callback.
int g_lastError = 0;
std::string g_lastErrorText;

void RecordError(int code, const char* description) {
    g_lastError = code;
    g_lastErrorText = description ? description : "";
}

// The windows' own procedure, as their owner wrote it: it counts its calls
// and answers kOwnerQuestion with kOwnerAnswer.
const UINT kOwnerQuestion = WM_APP + 1;
const LRESULT kOwnerAnswer = 0x1234;
int g_ownerCalls = 0;

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_ownerCalls;
    if (message == kOwnerQuestion) return kOwnerAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* const kClassName = L"AttachWindowTest";

void RegisterOwnerClass() {
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = OwnerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 255, 0));
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

HWND MakeWindow(DWORD style, DWORD exStyle = 0, HWND parent = nullptr, int width = 64, int height = 48) {
    return CreateWindowExW(exStyle, kClassName, L"attach test", style, 0, 0, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

WNDPROC Procedure(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

// The window as its owner left it: its own procedure in place, no "GLFW"
// property, and its procedure answering again.
void CheckHandedBack(const std::string& name, HWND window) {
    Check(name + ": the window still exists", IsWindow(window) != FALSE);
    Check(name + ": its own procedure is back", Procedure(window) == OwnerProcedure,
          "procedure " + Number(reinterpret_cast<long long>(Procedure(window))));
    Check(name + ": no GLFW property", GetPropW(window, L"GLFW") == nullptr);
    Check(name + ": its own procedure answers", SendMessageW(window, kOwnerQuestion, 0, 0) == kOwnerAnswer);
}

bool InitGlfw() {
    glfwSetErrorCallback(RecordError);
    g_lastError = 0;
    return glfwInit() == GLFW_TRUE;
}

// --- the checks -------------------------------------------------------------

void CheckNotInitialized() {
    HWND window = MakeWindow(WS_POPUP);
    glfwSetErrorCallback(RecordError);
    GLFWwindow* attached = glfwAttachWin32Window(window, nullptr);
    Check("before glfwInit: refused with GLFW_NOT_INITIALIZED", attached == nullptr && g_lastError == GLFW_NOT_INITIALIZED,
          "error " + Number(g_lastError));
    Check("before glfwInit: the window is untouched", Procedure(window) == OwnerProcedure);
    DestroyWindow(window);
}

// A shown window of ours with GLFW attached to it; null (a failed check) when the attach fails.
GLFWwindow* AttachShownWindow(const std::string& name, DWORD style, HWND* window) {
    *window = MakeWindow(style | WS_VISIBLE);
    PumpMessages();
    GLFWwindow* attached = glfwAttachWin32Window(*window, nullptr);
    Check(name + ": attached", attached != nullptr, g_lastErrorText);
    return attached;
}

void CheckClearColourAppears() {
    HWND window = nullptr;
    GLFWwindow* attached = AttachShownWindow("drawing", WS_POPUP, &window);
    if (attached == nullptr) return;
    glfwMakeContextCurrent(attached);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(attached);
    glFinish();
    PumpMessages();

    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("show %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof(line), stdin);

    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(attached);
    CheckHandedBack("drawing", window);
    DestroyWindow(window);
}

struct Sizes {
    int width = 0, height = 0, calls = 0;
    int key = GLFW_KEY_UNKNOWN, action = -1;
} g_seen;

void CheckMessages() {
    HWND window = nullptr;
    GLFWwindow* attached = AttachShownWindow("messages", WS_OVERLAPPEDWINDOW, &window);
    if (attached == nullptr) return;
    g_seen = Sizes();
    glfwSetWindowSizeCallback(attached, [](GLFWwindow*, int width, int height) {
        g_seen.width = width;
        g_seen.height = height;
        ++g_seen.calls;
    });
    glfwSetKeyCallback(attached, [](GLFWwindow*, int key, int, int action, int) {
        g_seen.key = key;
        g_seen.action = action;
    });
    const int ownerCallsAtAttach = g_ownerCalls;

    // The owner resizes its window: WM_SIZE reaches the size callback.
    SetWindowPos(window, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    glfwPollEvents();
    RECT client;
    GetClientRect(window, &client);
    Check("messages: WM_SIZE reaches the size callback",
          g_seen.calls > 0 && g_seen.width == client.right && g_seen.height == client.bottom,
          Number(g_seen.calls) + " calls, last " + Number(g_seen.width) + "x" + Number(g_seen.height) + ", client " +
              Number(client.right) + "x" + Number(client.bottom));

    // A key message, posted as the system posts it, reaches the key callback.
    const UINT scancode = MapVirtualKeyW('A', MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, 'A', static_cast<LPARAM>(1 | (scancode << 16)));
    glfwPollEvents();
    Check("messages: WM_KEYDOWN reaches the key callback", g_seen.key == GLFW_KEY_A && g_seen.action == GLFW_PRESS,
          "key " + Number(g_seen.key) + " action " + Number(g_seen.action));

    // Messages GLFW does not handle get default processing, not the owner's.
    const LRESULT answer = SendMessageW(window, kOwnerQuestion, 0, 0);
    Check("messages: unhandled messages get default processing", answer == 0, "answer " + Number(answer));
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"default text"));
    wchar_t text[32] = {0};
    GetWindowTextW(window, text, 32);
    Check("messages: WM_SETTEXT is processed by default", std::wcscmp(text, L"default text") == 0);
    Check("messages: the owner's procedure is not called while attached", g_ownerCalls == ownerCallsAtAttach,
          Number(g_ownerCalls - ownerCallsAtAttach) + " calls");

    // glfwTerminate hands the window back. The owner's procedure lies above
    // 4 GiB in a 64-bit program, so a procedure saved or restored through the
    // 32-bit window-long calls would come back cut short.
    Check("messages: the owner's procedure lies above 4 GiB",
          reinterpret_cast<unsigned long long>(&OwnerProcedure) > 0xFFFFFFFFull);
    glfwTerminate();
    CheckHandedBack("after glfwTerminate", window);
    DestroyWindow(window);
    InitGlfw();
}

void CheckStyleAttributes() {
    HWND parent = MakeWindow(WS_POPUP);
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
        HWND parent;
        int resizable, decorated, floating;
    } cases[] = {
        {"WS_THICKFRAME", WS_POPUP | WS_THICKFRAME, 0, nullptr, 1, 1, 0},
        {"WS_OVERLAPPEDWINDOW", WS_OVERLAPPEDWINDOW, 0, nullptr, 1, 1, 0},
        {"WS_BORDER alone", WS_POPUP | WS_BORDER, 0, nullptr, 0, 1, 0},
        {"plain child", WS_CHILD, 0, parent, 0, 0, 0},
        {"WS_EX_TOPMOST", WS_POPUP, WS_EX_TOPMOST, nullptr, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("style ") + c.name;
        HWND window = MakeWindow(c.style, c.exStyle, c.parent);
        GLFWwindow* attached = glfwAttachWin32Window(window, nullptr);
        Check(name + ": attached", attached != nullptr, g_lastErrorText);
        if (attached == nullptr) continue;
        const int resizable = glfwGetWindowAttrib(attached, GLFW_RESIZABLE);
        const int decorated = glfwGetWindowAttrib(attached, GLFW_DECORATED);
        const int floating = glfwGetWindowAttrib(attached, GLFW_FLOATING);
        Check(name + ": resizable, decorated, floating",
              resizable == c.resizable && decorated == c.decorated && floating == c.floating,
              Number(resizable) + ", " + Number(decorated) + ", " + Number(floating));
        glfwDestroyWindow(attached);
        CheckHandedBack(name, window);
        DestroyWindow(window);
    }
    DestroyWindow(parent);
}

// A hidden window made by glfwCreateWindow; null (a failed check) when it cannot be made.
GLFWwindow* CreateHiddenWindow(const std::string& name, int clientApi) {
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CLIENT_API, clientApi);
    GLFWwindow* created = glfwCreateWindow(32, 24, name.c_str(), nullptr, nullptr);
    glfwDefaultWindowHints();
    Check(name + ": made by glfwCreateWindow", created != nullptr, g_lastErrorText);
    return created;
}

void CheckShareWithoutContext() {
    GLFWwindow* noContext = CreateHiddenWindow("share without context", GLFW_NO_API);
    if (noContext == nullptr) return;
    HWND window = MakeWindow(WS_POPUP);
    g_lastError = 0;
    GLFWwindow* attached = glfwAttachWin32Window(window, noContext);
    Check("share without context: refused with GLFW_NO_WINDOW_CONTEXT",
          attached == nullptr && g_lastError == GLFW_NO_WINDOW_CONTEXT, "error " + Number(g_lastError));
    Check("share without context: the window is untouched",
          Procedure(window) == OwnerProcedure && GetPropW(window, L"GLFW") == nullptr);
    glfwDestroyWindow(noContext);
    DestroyWindow(window);
}

void CheckNotAWindow() {
    HWND window = MakeWindow(WS_POPUP);
    DestroyWindow(window);
    g_lastError = 0;
    GLFWwindow* attached = glfwAttachWin32Window(window, nullptr);
    Check("a destroyed window: refused with GLFW's error", attached == nullptr && g_lastError != 0,
          "error " + Number(g_lastError));
}

void CheckCreatedWindowsAreStillDestroyed() {
    GLFWwindow* created = CreateHiddenWindow("glfwCreateWindow", GLFW_OPENGL_API);
    if (created == nullptr) return;
    HWND handle = glfwGetWin32Window(created);
    glfwDestroyWindow(created);
    Check("glfwCreateWindow: glfwDestroyWindow destroys the window", IsWindow(handle) == FALSE);
}

}  // namespace

int main() {
    RegisterOwnerClass();
    CheckNotInitialized();
    if (!InitGlfw()) {
        Check("glfwInit", false, g_lastErrorText);
    } else {
        CheckClearColourAppears();
        CheckMessages();
        CheckStyleAttributes();
        CheckShareWithoutContext();
        CheckNotAWindow();
        CheckCreatedWindowsAreStillDestroyed();
        glfwTerminate();
    }
    std::printf("done %d\n", g_failures);
    std::fflush(stdout);
    return g_failures == 0 ? 0 : 1;
}
