// What the operating system gives the screensaver, behind one interface.
//
// platform_win32.cpp implements it with the Win32 calls the screensaver was
// designed around; platform_linux.cpp gives the same meaning on Linux/X11.
// CMake compiles exactly one of them. Nothing outside platform/ (and the
// per-OS files of ui/ and glfw-addition/) asks which OS it runs on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GLFWwindow;

namespace platform {

// A native window handle as it arrives on the command line: an HWND on
// Windows, an X11 Window id on Linux.
using NativeWindow = std::uintptr_t;

// The module instance handed to the entry point (HINSTANCE on Windows, null on Linux).
using ModuleInstance = void*;

// ---------------------------------------------------------------------------
// Embedded resources.

// Numeric resource types, with the values Windows gives them.
enum class ResourceKind : int {
    Bitmap = 2,
    Icon = 3,
    GroupIcon = 14,
    Manifest = 24,
};

// One embedded resource, as the Linux resource table lists it. A string type
// ("TEXTFILE", "PNG") has typeId 0 and its name in typeName; a numeric type
// has typeName null.
struct ResourceEntry {
    int typeId;
    const char* typeName;
    int id;
    int language;
    const unsigned char* data;
    std::size_t size;
};

// The bytes of a resource of the running executable, looked up without naming
// a language. Only the low 16 bits of the id count. Returns false (and leaves
// the outputs empty) when there is no such resource.
bool FindResourceBytes(const char* typeName, int id, const unsigned char** data, std::size_t* size);
bool FindResourceBytes(ResourceKind kind, int id, const unsigned char** data, std::size_t* size);

// A BITMAP resource as 32-bit pixels: rows bottom-up, 4 bytes a pixel in the
// order B, G, R, A, exactly `width` x `height` pixels. Pixels the bitmap does
// not cover are zero. Returns false when the resource is missing or unreadable.
bool LoadBitmapPixels(int id, int width, int height, std::vector<unsigned char>& bgra);

// ---------------------------------------------------------------------------
// Messages to the user.

enum class MessageIcon { Information, Warning };

// A modal message box without owner window (Windows); on Linux the caption, a
// colon and the text on standard error.
void ShowMessage(const char* text, const char* caption, MessageIcon icon = MessageIcon::Information);

// ---------------------------------------------------------------------------
// Process.

// Creates the process-wide single-instance marker. Answers false only when
// another live process of this user already holds it; true otherwise (also
// when the marker could not be made). The marker lives until the process ends.
bool AcquireSingleInstanceMarker(const char* name);

// The operating system version as major x 10 + minor (6.2 gives 62).
int GetOsVersion();

// Ends the process at once with the given code.
[[noreturn]] void ExitProcess(int code);

// ---------------------------------------------------------------------------
// The OpenGL library.

// Opens the system's OpenGL library; null on failure.
void* OpenGlLibrary();
// The context's own lookup (wglGetProcAddress, glXGetProcAddressARB).
void* GetContextProcAddress(const char* name);
// A symbol exported by the library that OpenGlLibrary opened.
void* GetLibrarySymbol(void* library, const char* name);
void CloseGlLibrary(void* library);

// ---------------------------------------------------------------------------
// The screensaver host's preview window.

// The size of the window's client area; false when it cannot be read.
bool GetWindowClientSize(NativeWindow window, int* width, int* height);
// False once the host has disabled the window or it no longer exists
// (on X11: no longer exists or is no longer viewable).
bool IsPreviewWindowEnabled(NativeWindow window);
// Wraps the existing native window in a GLFW window with a GL context; null on
// failure, with GLFW's error reported through its error callback.
GLFWwindow* AttachPreviewWindow(NativeWindow window);

// ---------------------------------------------------------------------------
// The desktop.

// Opens a URL with the desktop's default handler without waiting for it;
// false when that could not be started.
bool OpenUrl(const char* url);

}  // namespace platform
