/* gl_error_probe.so: watches the GL errors of an unchanged screensaver,
 * frame by frame, from outside (LD_PRELOAD).
 *
 * GLFW and the screensaver find their GLX and GL functions with dlsym, so this
 * library stands in for dlsym and hands out its own glXMakeCurrent and
 * glXSwapBuffers. Once a context is current it turns on GL debug output
 * (synchronous), which reports every GL error with the call that made it;
 * glGetError is read after every buffer swap as well. A frame is everything
 * from one swap to the next: frame 0 ends with the swap GLFW makes when it
 * creates the context, frame 1 holds the scene set-up and the first picture,
 * frame 2 is the first frame like all later ones.
 *
 * Each kind of error (the debug message text, or "glGetError 0xNNNN") gets a
 * number the first time it appears. Frame 2 is the reference: a later frame
 * whose kinds and counts differ from it is counted as changed. Memory is fixed
 * in size: at most MAX_KINDS kinds are told apart, later ones are counted as
 * "more kinds".
 *
 * Environment: CORVELLE_SOAK_REPORT names the report file. Lines, appended:
 *   kind N FRAME TEXT            a kind first seen in that frame
 *   frame F K:COUNT ...          the kinds of frames 0 to 3, for the record
 *   status SECONDS FRAMES CHANGED KINDS MORE
 *                                about once a second: time since the
 *                                first swap, frames swapped, frames after
 *                                frame 2 that differ from it, kinds told
 *                                apart, errors of kinds beyond those
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <GL/gl.h>
#include <GL/glx.h>

#ifndef GL_DEBUG_OUTPUT
#define GL_DEBUG_OUTPUT 0x92E0
#define GL_DEBUG_OUTPUT_SYNCHRONOUS 0x8242
#endif
#ifndef GL_DEBUG_TYPE_ERROR
#define GL_DEBUG_TYPE_ERROR 0x824C
#endif

#define MAX_KINDS 64
#define MAX_TEXT 200

typedef void *(*DlsymFn)(void *, const char *);
typedef Bool (*MakeCurrentFn)(Display *, GLXDrawable, GLXContext);
typedef void (*SwapBuffersFn)(Display *, GLXDrawable);
typedef void *(*GetProcAddressFn)(const GLubyte *);
typedef GLenum (*GetErrorFn)(void);
typedef void (*EnableFn)(GLenum);
typedef void (*DebugProc)(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar *, const void *);
typedef void (*DebugMessageCallbackFn)(DebugProc, const void *);

static DlsymFn realDlsym;
static MakeCurrentFn realMakeCurrent;
static SwapBuffersFn realSwapBuffers;
static GetErrorFn getError;
static void *glLibrary;
static int debugOutputOn;

static char kindText[MAX_KINDS][MAX_TEXT];
static int kindCount;
static unsigned long moreKinds;              /* errors of kinds beyond MAX_KINDS */
static unsigned long frameCounts[MAX_KINDS]; /* this frame's errors by kind */
static unsigned long referenceCounts[MAX_KINDS];
static unsigned long frame;
static unsigned long changedFrames;
static struct timespec firstSwap, lastStatus;
static int reportFd = -1;

static void report(const char *line) {
    if (reportFd < 0) {
        const char *path = getenv("CORVELLE_SOAK_REPORT");
        if (!path) return;
        reportFd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (reportFd < 0) return;
    }
    ssize_t ignored = write(reportFd, line, strlen(line));
    (void)ignored;
}

static void countError(const char *text) {
    for (int k = 0; k < kindCount; ++k) {
        if (strncmp(kindText[k], text, MAX_TEXT - 1) == 0) {
            ++frameCounts[k];
            return;
        }
    }
    if (kindCount == MAX_KINDS) {
        ++moreKinds;
        return;
    }
    snprintf(kindText[kindCount], MAX_TEXT, "%s", text);
    char line[MAX_TEXT + 64];
    snprintf(line, sizeof line, "kind %d %lu %s\n", kindCount, frame, kindText[kindCount]);
    report(line);
    ++frameCounts[kindCount++];
}

static void onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                           const GLchar *message, const void *user) {
    (void)source; (void)id; (void)severity; (void)length; (void)user;
    if (type == GL_DEBUG_TYPE_ERROR) countError(message);
}

static void *lookUp(const char *name) {
    GetProcAddressFn getProcAddress = (GetProcAddressFn)realDlsym(glLibrary, "glXGetProcAddressARB");
    return getProcAddress ? getProcAddress((const GLubyte *)name) : NULL;
}

static void turnOnDebugOutput(void) {
    DebugMessageCallbackFn setCallback = (DebugMessageCallbackFn)lookUp("glDebugMessageCallback");
    EnableFn enable = (EnableFn)lookUp("glEnable");
    getError = (GetErrorFn)lookUp("glGetError");
    if (!setCallback || !enable || !getError) {
        report("error no GL debug output\n");
        return;
    }
    setCallback(onDebugMessage, NULL);
    enable(GL_DEBUG_OUTPUT);
    enable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    debugOutputOn = 1;
}

static Bool probeMakeCurrent(Display *display, GLXDrawable drawable, GLXContext context) {
    const Bool made = realMakeCurrent(display, drawable, context);
    if (made && context && !debugOutputOn) turnOnDebugOutput();
    return made;
}

static double secondsSince(const struct timespec *start, const struct timespec *now) {
    return (double)(now->tv_sec - start->tv_sec) + (double)(now->tv_nsec - start->tv_nsec) / 1e9;
}

/* Closes the frame: its kinds against the reference, the record of the
 * first frames, and the status line once a second. */
static void endFrame(void) {
    char line[4096];
    if (frame == 2) memcpy(referenceCounts, frameCounts, sizeof referenceCounts);
    else if (frame > 2 && memcmp(referenceCounts, frameCounts, sizeof referenceCounts) != 0) ++changedFrames;

    if (frame <= 3) {
        int used = snprintf(line, sizeof line, "frame %lu", frame);
        for (int k = 0; k < kindCount && used < (int)sizeof line - 32; ++k) {
            if (frameCounts[k]) used += snprintf(line + used, sizeof line - used, " %d:%lu", k, frameCounts[k]);
        }
        snprintf(line + used, sizeof line - used, "\n");
        report(line);
    }

    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (frame == 0) firstSwap = lastStatus = now;
    if (secondsSince(&lastStatus, &now) >= 1.0) {
        lastStatus = now;
        snprintf(line, sizeof line, "status %.1f %lu %lu %d %lu\n", secondsSince(&firstSwap, &now), frame + 1,
                 changedFrames, kindCount, moreKinds);
        report(line);
    }
    memset(frameCounts, 0, sizeof frameCounts);
    ++frame;
}

static void probeSwapBuffers(Display *display, GLXDrawable drawable) {
    realSwapBuffers(display, drawable);
    if (getError) {
        char text[32];
        for (GLenum error = getError(); error != GL_NO_ERROR; error = getError()) {
            snprintf(text, sizeof text, "glGetError 0x%04X", error);
            countError(text);
        }
    }
    endFrame();
}

void *dlsym(void *handle, const char *name) {
    if (!realDlsym) realDlsym = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
    if (!realDlsym) realDlsym = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
    void *symbol = realDlsym(handle, name);
    if (!symbol) return symbol;
    if (strcmp(name, "glXMakeCurrent") == 0) {
        glLibrary = handle;
        realMakeCurrent = (MakeCurrentFn)symbol;
        return (void *)probeMakeCurrent;
    }
    if (strcmp(name, "glXSwapBuffers") == 0) {
        realSwapBuffers = (SwapBuffersFn)symbol;
        return (void *)probeSwapBuffers;
    }
    return symbol;
}
