// Reports a top-level window as Win32 sees it, for the Wine tests: under Wine
// without a window manager the X window is only the client area, so the
// outer rectangle, the style and the child controls have to be asked for here.
//
// Usage: window_probe.exe TITLE
//
// Output, one record a line, fields separated by a tab; texts are written as
// hexadecimal bytes (empty text: "-"):
//   window<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT      outer rectangle on the screen
//   client<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT      client area on the screen
//   class<TAB>NAME                               window class
//   style<TAB>STYLE<TAB>EXSTYLE                  hexadecimal
//   child<TAB>CLASS<TAB>ID<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT<TAB>STYLE<TAB>TEXT
//                                                each child, in the parent's client coordinates
// Exit code: 0 when the window was found, 1 when not, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string HexText(HWND window) {
    char buffer[4096] = {0};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &length);
    std::string hex;
    char digits[3];
    for (const char* c = buffer; *c != '\0'; ++c) {
        std::snprintf(digits, sizeof(digits), "%02x", static_cast<unsigned char>(*c));
        hex += digits;
    }
    return hex.empty() ? "-" : hex;
}

void PrintRect(const char* name, const RECT& rect) {
    std::printf("%s\t%ld\t%ld\t%ld\t%ld\n", name, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM parentValue) {
    HWND parent = reinterpret_cast<HWND>(parentValue);
    if (GetParent(child) != parent) return TRUE;
    char className[256] = {0};
    GetClassNameA(child, className, sizeof(className));
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("child\t%s\t%d\t%ld\t%ld\t%ld\t%ld\t%lx\t%s\n", className, GetDlgCtrlID(child), rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top,
                static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)), HexText(child).c_str());
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe.exe TITLE\n");
        return 2;
    }
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr) return 1;

    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    PrintRect("window", outer);
    PrintRect("client", client);

    char className[256] = {0};
    GetClassNameA(window, className, sizeof(className));
    std::printf("class\t%s\n", className);
    std::printf("style\t%lx\t%lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(window));
    return 0;
}
