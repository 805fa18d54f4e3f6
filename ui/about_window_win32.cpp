// The About window in plain Win32: one registered class, two static controls,
// one push button, the picture painted in WM_PAINT and a standard message loop.
#include "ui/about_window.h"

#include <windows.h>
#include <shellapi.h>

#include "ui/about_layout.h"

// Shared between the constructor and the window procedure.
HWND g_aboutWindow = nullptr;
HWND g_aboutTextLabel = nullptr;
HWND g_titleLabel = nullptr;
HWND g_visitButton = nullptr;
HBITMAP g_aboutBitmap = nullptr;
HBRUSH g_aboutBrush = nullptr;  // made on the first message, kept for the life of the process

LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

static COLORREF ToColorRef(const about::Rgb& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

static HFONT CreateArialFont(int height, int width, int weight, bool underline) {
    return CreateFontA(height, width, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH, "Arial");
}

static HWND CreateControl(const char* className, const char* text, DWORD style, const about::Box& box, int id,
                          HINSTANCE instance, HFONT font) {
    HWND control = CreateWindowExA(0, className, text, style, box.x, box.y, box.width, box.height, g_aboutWindow,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

// The system's information icon at 16 x 16: icon 104 of user32.dll. Where
// user32.dll numbers its icons otherwise (Wine's has no icon 104), the same
// icon comes from the system's own images (32516 is OIC_INFORMATION).
static HICON LoadInformationIcon() {
    const UINT size = 16;
    HANDLE icon = LoadImageA(GetModuleHandleA("user32.dll"), MAKEINTRESOURCEA(104), IMAGE_ICON, size, size, LR_SHARED);
    if (icon == nullptr) icon = LoadImageA(nullptr, MAKEINTRESOURCEA(32516), IMAGE_ICON, size, size, LR_SHARED);
    return static_cast<HICON>(icon);
}

static void RegisterWindowClass(const char* className, HINSTANCE instance) {
    HICON icon = LoadInformationIcon();

    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.style = 0;
    windowClass.lpfnWndProc = AboutWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONWARNING);
}

// The primary screen's size in pixels, read after the process has been made
// DPI-aware so the numbers are physical pixels.
static void ReadScreenSize(int* width, int* height) {
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    *width = GetDeviceCaps(screen, HORZRES);
    *height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
}

static void CreateControls(const CAboutWindow& about, HINSTANCE instance) {
    HFONT textFont = CreateArialFont(16, 6, FW_NORMAL, false);
    HFONT titleFont = CreateArialFont(18, 8, FW_BOLD, true);

    // The statics use the module stored with the main window, the button the one we were given.
    HINSTANCE windowInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(g_aboutWindow, GWLP_HINSTANCE));
    const DWORD staticStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    g_aboutTextLabel = CreateControl("static", about.aboutText, staticStyle, about::kNoticeBox, about::kNoticeId,
                                     windowInstance, textFont);
    g_titleLabel = CreateControl("static", about.productTitle, staticStyle, about::kTitleBox, about::kTitleId,
                                 windowInstance, titleFont);
    g_visitButton = CreateControl("BUTTON", about.buttonText, WS_CHILD | WS_VISIBLE, about::kButtonBox,
                                  about::kButtonId, instance, textFont);
}

static void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

CAboutWindow::CAboutWindow(platform::ModuleInstance moduleInstance, int showCommand) {
    HINSTANCE instance = static_cast<HINSTANCE>(moduleInstance);
    RegisterWindowClass(windowClassName, instance);

    int screenWidth = 0, screenHeight = 0, x = 0, y = 0;
    ReadScreenSize(&screenWidth, &screenHeight);
    about::CentredWindowPosition(screenWidth, screenHeight, &x, &y);

    g_aboutWindow = CreateWindowExA(0, windowClassName, title, WS_SYSMENU, x, y, about::kWindowWidth,
                                    about::kWindowHeight, nullptr, nullptr, instance, nullptr);
    if (g_aboutWindow == nullptr) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONWARNING);
        return;  // no window would ever post WM_QUIT: configure mode ends here
    }

    g_aboutBitmap = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(about::kPictureId), IMAGE_BITMAP, 0, 0, LR_SHARED));
    CreateControls(*this, instance);

    ShowWindow(g_aboutWindow, showCommand);
    UpdateWindow(g_aboutWindow);
    RunMessageLoop();
}

// ---------------------------------------------------------------------------
// The window procedure: one small handler per message.

// Light green over the whole client area, then the picture at its own size.
static void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    SetBkColor(dc, ToColorRef(about::kBackgroundColour));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, "", 0, nullptr);

    // Without the picture (a missing resource) there is nothing to copy and no size to read.
    BITMAP picture;
    if (g_aboutBitmap != nullptr && GetObjectA(g_aboutBitmap, sizeof(picture), &picture) != 0) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(memory, g_aboutBitmap);
        BitBlt(dc, about::kPictureX, about::kPictureY, picture.bmWidth, picture.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
}

// The statics draw their text in our colours on the window's light green.
static LRESULT ColourStatic(HDC dc, HWND control) {
    SetTextColor(dc, ToColorRef(control == g_titleLabel ? about::kTitleColour : about::kNoticeColour));
    SetBkColor(dc, ToColorRef(about::kBackgroundColour));
    return reinterpret_cast<LRESULT>(g_aboutBrush);
}

LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_aboutBrush == nullptr) g_aboutBrush = CreateSolidBrush(ToColorRef(about::kBackgroundColour));

    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        // Control id 10 with notification code 0: a click on "Visit website". The window stays open.
        if (wParam == static_cast<WPARAM>(about::kButtonId))
            ShellExecuteA(window, "open", about::kWebsiteUrl, nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        DeleteObject(g_aboutBitmap);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
