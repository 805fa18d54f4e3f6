// A stand-in for the Windows screensaver host: a window with a child preview
// window, whose handle it passes to the program it starts, as the host passes
// it to a screensaver with "/p".
//
// Usage: fake_host_win32.exe PROGRAM [ARGUMENT...]
//   Every ARGUMENT "{preview}" becomes the preview window's handle in decimal.
//   The program shares this host's standard output.
//
// Standard output:
//   preview HANDLE               before the program starts
//   ok NAME | not ok NAME: DETAIL
//                                after it ended: whether the preview window
//                                is still the host's and still works
//   done COUNT                   COUNT checks failed
// Exit code: 0 when every check passed, 1 otherwise, 2 when the program
// could not be started.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const UINT kHostQuestion = WM_APP + 7;
const LRESULT kHostAnswer = 42;
int g_previewPaints = 0;

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHostQuestion) return kHostAnswer;
    if (message == WM_PAINT) ++g_previewPaints;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* className, WNDPROC procedure, COLORREF colour, DWORD style, HWND parent, int x,
                int y, int width, int height) {
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    return CreateWindowExW(0, className, L"fake host", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Runs the command line with this process's standard output, keeping the
// host's windows answering their messages until it ends.
bool RunProgram(std::string commandLine) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "fake_host_win32: cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return false;
    }
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

int g_failures = 0;

void Check(const char* name, bool passed, const std::string& detail = "") {
    if (passed) {
        std::printf("ok %s\n", name);
    } else {
        std::printf("not ok %s: %s\n", name, detail.c_str());
        ++g_failures;
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fake_host_win32.exe PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    HWND top = MakeWindow(L"FakeHostTop", DefWindowProcW, RGB(0, 0, 255), WS_POPUP | WS_VISIBLE, nullptr, 0, 0,
                          160, 120);
    HWND preview = MakeWindow(L"FakeHostPreview", PreviewProcedure, RGB(0, 255, 0), WS_CHILD | WS_VISIBLE, top,
                              32, 24, 96, 72);
    UpdateWindow(top);
    RECT before;
    GetClientRect(preview, &before);

    const std::string handle = std::to_string(reinterpret_cast<unsigned long long>(preview));
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    for (int i = 2; i < argc; ++i) commandLine += std::string(" ") + (std::string(argv[i]) == "{preview}" ? handle : argv[i]);
    std::printf("preview %s\n", handle.c_str());
    std::fflush(stdout);
    if (!RunProgram(commandLine)) return 2;

    RECT after;
    GetClientRect(preview, &after);
    Check("the preview window still exists", IsWindow(preview) != FALSE);
    Check("its own procedure is in place",
          reinterpret_cast<WNDPROC>(GetWindowLongPtrW(preview, GWLP_WNDPROC)) == PreviewProcedure);
    Check("it has no GLFW property", GetPropW(preview, L"GLFW") == nullptr);
    Check("it keeps its size", EqualRect(&before, &after) != FALSE);
    Check("it answers its messages", SendMessageW(preview, kHostQuestion, 0, 0) == kHostAnswer);
    const int paintsBefore = g_previewPaints;
    InvalidateRect(preview, nullptr, TRUE);
    UpdateWindow(preview);
    Check("it paints", g_previewPaints > paintsBefore);
    std::printf("done %d\n", g_failures);
    std::fflush(stdout);
    return g_failures == 0 ? 0 : 1;
}
