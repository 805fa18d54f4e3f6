// Win32 implementation of platform.h: the calls the screensaver was designed around.
#include "platform/platform.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include <GLFW/glfw3.h>

#include "platform/win32_preview.h"

namespace platform {

// ---------------------------------------------------------------------------
// Embedded resources, from the executable's own module, no language named.

static bool LockedResource(HRSRC found, const unsigned char** data, std::size_t* size) {
    *data = nullptr;
    *size = 0;
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (loaded == nullptr) return false;
    *data = static_cast<const unsigned char*>(LockResource(loaded));
    *size = SizeofResource(nullptr, found);
    return *data != nullptr;
}

bool FindResourceBytes(const char* typeName, int id, const unsigned char** data, std::size_t* size) {
    return LockedResource(FindResourceA(nullptr, MAKEINTRESOURCEA(id & 0xFFFF), typeName), data, size);
}

bool FindResourceBytes(ResourceKind kind, int id, const unsigned char** data, std::size_t* size) {
    return LockedResource(FindResourceA(nullptr, MAKEINTRESOURCEA(id & 0xFFFF),
                                        MAKEINTRESOURCEA(static_cast<int>(kind))),
                          data, size);
}

// LoadBitmapA turns the resource into a bitmap compatible with the display;
// GetDIBits then hands its pixels back as 32-bit rows, bottom-up.
bool LoadBitmapPixels(int id, int width, int height, std::vector<unsigned char>& bgra) {
    if (width <= 0 || height <= 0) return false;
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id & 0xFFFF));
    if (bitmap == nullptr) return false;
    HDC screen = GetDC(GetDesktopWindow());

    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    GetDIBits(screen, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS);  // fills the header only

    // Ask for exactly the rows and the format the caller's buffer has, so the
    // copy can never run past it whatever the bitmap's own format is.
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = 0;
    bgra.assign(static_cast<std::size_t>(width) * height * 4, 0);
    const int rows = GetDIBits(screen, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS);

    ReleaseDC(GetDesktopWindow(), screen);
    DeleteObject(bitmap);
    return rows > 0;
}

// ---------------------------------------------------------------------------
// Messages.

void ShowMessage(const char* text, const char* caption, MessageIcon icon) {
    const UINT style = MB_OK | (icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION);
    MessageBoxA(nullptr, text, caption, style);
}

// ---------------------------------------------------------------------------
// Process.

bool AcquireSingleInstanceMarker(const char* name) {
    std::wstring wideName(name, name + std::char_traits<char>::length(name));
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, wideName.c_str());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(event);
        return false;
    }
    return true;  // the handle stays open until the process ends
}

int GetOsVersion() {
    const DWORD version = GetVersion();
    const int major = LOBYTE(LOWORD(version));
    const int minor = HIBYTE(LOWORD(version));
    return major * 10 + minor;
}

void ExitProcess(int code) { std::exit(code); }

// ---------------------------------------------------------------------------
// The OpenGL library.

void* OpenGlLibrary() { return reinterpret_cast<void*>(LoadLibraryA("opengl32.dll")); }

void* GetContextProcAddress(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

void* GetLibrarySymbol(void* library, const char* name) {
    return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

void CloseGlLibrary(void* library) {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

// ---------------------------------------------------------------------------
// The preview window.

bool GetWindowClientSize(NativeWindow window, int* width, int* height) {
    RECT rect;
    if (!GetClientRect(reinterpret_cast<HWND>(window), &rect)) return false;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return true;
}

bool IsPreviewWindowEnabled(NativeWindow window) { return IsWindowEnabled(reinterpret_cast<HWND>(window)) != FALSE; }

GLFWwindow* AttachPreviewWindow(NativeWindow window) { return Win32AttachWindow(reinterpret_cast<HWND>(window)); }

// ---------------------------------------------------------------------------
// The desktop.

bool OpenUrl(const char* url) {
    const HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
