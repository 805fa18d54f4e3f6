// Linux/X11 implementation of platform.h.
#include "platform/platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include "platform/bitmap_decoder.h"
#include "platform/daemon_switches.h"
#include "platform/resource_table.h"
#include "platform/x11_preview.h"

extern char** environ;

namespace platform {

// ---------------------------------------------------------------------------
// Embedded resources: the generated table stands in for the executable's
// resource section.

static const ResourceEntry* FindEntry(int typeId, const char* typeName, int id) {
    const int wantedId = id & 0xFFFF;
    for (std::size_t i = 0; i < g_embeddedResourceCount; ++i) {
        const ResourceEntry& entry = g_embeddedResources[i];
        if (entry.id != wantedId) continue;
        if (typeName != nullptr) {
            if (entry.typeName != nullptr && std::strcmp(entry.typeName, typeName) == 0) return &entry;
        } else if (entry.typeName == nullptr && entry.typeId == typeId) {
            return &entry;
        }
    }
    return nullptr;
}

static bool ReturnEntry(const ResourceEntry* entry, const unsigned char** data, std::size_t* size) {
    *data = entry ? entry->data : nullptr;
    *size = entry ? entry->size : 0;
    return entry != nullptr;
}

bool FindResourceBytes(const char* typeName, int id, const unsigned char** data, std::size_t* size) {
    return ReturnEntry(FindEntry(0, typeName, id), data, size);
}

bool FindResourceBytes(ResourceKind kind, int id, const unsigned char** data, std::size_t* size) {
    return ReturnEntry(FindEntry(static_cast<int>(kind), nullptr, id), data, size);
}

bool LoadBitmapPixels(int id, int width, int height, std::vector<unsigned char>& bgra) {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!FindResourceBytes(ResourceKind::Bitmap, id, &data, &size)) return false;
    return DecodeDib(data, size, width, height, bgra);
}

// ---------------------------------------------------------------------------
// Messages: there is no message box on a plain X display, so the words go to
// standard error, where a terminal or a daemon's log shows them.

void ShowMessage(const char* text, const char* caption, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
}

// ---------------------------------------------------------------------------
// Process.

// Savers started by a daemon inside its window skip the marker: a daemon runs
// one saver per screen at the same time, and may start the next one before
// the last has quit.
static bool g_exemptFromMarker = false;

void ExemptFromSingleInstanceMarker() { g_exemptFromMarker = true; }

// A per-user lock file held with flock: the kernel drops the lock when the
// process ends in any way, so a killed instance never blocks the next start.
// The file is opened without following symlinks and must belong to us.
bool AcquireSingleInstanceMarker(const char* name) {
    if (g_exemptFromMarker) return true;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = (runtimeDir && runtimeDir[0] == '/') ? runtimeDir : "/tmp";
    std::string path = dir + "/corvelle-" + name + "-" + std::to_string(getuid()) + ".lock";

    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // like a failed CreateEvent: the guard cannot work, start anyway
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != getuid()) {
        close(fd);
        return true;  // not our file: never let someone else's file stop us
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = (errno == EWOULDBLOCK);
        close(fd);
        return !heldElsewhere;
    }
    return true;  // the descriptor stays open, and the lock held, until the process ends
}

// Answers as a current Windows does, so full screen always uses the monitor's current mode.
int GetOsVersion() { return 62; }

void ExitProcess(int code) {
    std::fflush(nullptr);
    std::exit(code);
}

// ---------------------------------------------------------------------------
// The OpenGL library: libGL and glXGetProcAddressARB.

void* OpenGlLibrary() {
    void* library = dlopen("libGL.so.1", RTLD_NOW | RTLD_GLOBAL);
    if (!library) library = dlopen("libGL.so", RTLD_NOW | RTLD_GLOBAL);
    return library;
}

void* GetContextProcAddress(const char* name) {
    using GetProcAddressFn = void* (*)(const unsigned char*);
    static GetProcAddressFn getProcAddress = [] {
        void* library = OpenGlLibrary();  // stays open: the pointers it hands out must stay valid
        return library ? reinterpret_cast<GetProcAddressFn>(dlsym(library, "glXGetProcAddressARB")) : nullptr;
    }();
    return getProcAddress ? getProcAddress(reinterpret_cast<const unsigned char*>(name)) : nullptr;
}

void* GetLibrarySymbol(void* library, const char* name) {
    return library ? dlsym(library, name) : nullptr;
}

void CloseGlLibrary(void* library) {
    if (library) dlclose(library);
}

// ---------------------------------------------------------------------------
// The preview window: an X window of another client.

bool GetWindowClientSize(NativeWindow window, int* width, int* height) {
    return X11WindowSize(glfwGetX11Display(), static_cast<Window>(window), width, height);
}

bool IsPreviewWindowEnabled(NativeWindow window) {
    return X11WindowIsViewable(glfwGetX11Display(), static_cast<Window>(window));
}

GLFWwindow* AttachPreviewWindow(NativeWindow window) {
    return X11AttachWindow(static_cast<Window>(window));
}

// ---------------------------------------------------------------------------
// The desktop.

bool OpenUrl(const char* url) {
    // A shell starts xdg-open in the background and returns at once, so a
    // browser that xdg-open runs in the foreground never holds up the caller,
    // and xdg-open is no child of ours to reap. The URL travels as "$1",
    // never as shell text.
    char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"),
                          const_cast<char*>("xdg-open \"$1\" </dev/null >/dev/null 2>&1 &"),
                          const_cast<char*>("sh"), const_cast<char*>(url), nullptr};
    pid_t shell = 0;
    if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    waitpid(shell, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
