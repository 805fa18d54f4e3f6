/* first-frame-probe: starts a program and measures, on the X display of
 * $DISPLAY, the time from its start to the first red heart on the screen,
 * then its peak resident memory.
 *
 * Usage: first-frame-probe [--timeout SECONDS] [--settle SECONDS] -- PROGRAM [ARG...]
 *
 * The clock starts just before the program is started. Every 5 ms the probe
 * reads 32 rows spread over the screen; the first frame counts as shown once
 * a pixel in them is a heart's red (red above 100, green and blue below a
 * quarter of it), which nothing else on an Xvfb screen is. It then lets the
 * program run for the settle time (default 2 s), reads VmHWM, the peak
 * resident set, of the started process from /proc, and ends the process
 * (SIGKILL, then waits for it). The program's standard output is discarded.
 *
 * Output, one line each: "first-frame-ms N" and "peak-rss-kb N".
 * Exit codes: 0 measured; 1 the program ended or showed nothing in time;
 * 2 wrong arguments or no display.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kRows = 32 };

static double Now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

static void Sleep(double seconds) {
    struct timespec pause = {(time_t)seconds, (long)((seconds - (time_t)seconds) * 1e9)};
    nanosleep(&pause, NULL);
}

static int IsHeartRed(unsigned long pixel, const XImage* image) {
    /* A 24-bit TrueColor screen, as Xvfb makes it. */
    const unsigned r = (pixel & image->red_mask) >> 16;
    const unsigned g = (pixel & image->green_mask) >> 8;
    const unsigned b = pixel & image->blue_mask;
    return r > 100 && 4 * g < r && 4 * b < r;
}

static int ScreenShowsHeart(Display* display, Window root, int width, int height) {
    for (int row = 0; row < kRows; ++row) {
        const int y = (2 * row + 1) * height / (2 * kRows);
        XImage* image = XGetImage(display, root, 0, y, (unsigned)width, 1, AllPlanes, ZPixmap);
        if (image == NULL) continue;
        int found = 0;
        for (int x = 0; x < width && !found; ++x) found = IsHeartRed(XGetPixel(image, x, 0), image);
        XDestroyImage(image);
        if (found) return 1;
    }
    return 0;
}

static long PeakResidentKb(pid_t pid) {
    char path[64];
    char line[256];
    long kb = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* status = fopen(path, "r");
    if (status == NULL) return -1;
    while (fgets(line, sizeof line, status) != NULL)
        if (strncmp(line, "VmHWM:", 6) == 0) kb = strtol(line + 6, NULL, 10);
    fclose(status);
    return kb;
}

static int Usage(void) {
    fputs("usage: first-frame-probe [--timeout SECONDS] [--settle SECONDS] -- PROGRAM [ARG...]\n", stderr);
    return 2;
}

int main(int argc, char** argv) {
    double timeout = 120.0, settle = 2.0;
    int at = 1;
    for (; at + 1 < argc && strcmp(argv[at], "--") != 0; at += 2) {
        if (strcmp(argv[at], "--timeout") == 0) timeout = atof(argv[at + 1]);
        else if (strcmp(argv[at], "--settle") == 0) settle = atof(argv[at + 1]);
        else return Usage();
    }
    if (at >= argc || strcmp(argv[at], "--") != 0 || at + 1 >= argc || timeout <= 0 || settle < 0) return Usage();
    char** command = &argv[at + 1];

    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fputs("first-frame-probe: cannot open the display\n", stderr);
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    if (ScreenShowsHeart(display, root, width, height)) {
        fputs("first-frame-probe: the screen shows red before the program starts\n", stderr);
        return 1;
    }

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        /* Whatever the program prints would mix with the figures. */
        if (freopen("/dev/null", "w", stdout) == NULL) _exit(127);
        execvp(command[0], command);
        perror(command[0]);
        _exit(127);
    }
    int status = 0;
    double shown = -1.0;
    while (Now() - start < timeout) {
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "first-frame-probe: %s ended (status %d) before showing a frame\n", command[0], status);
            return 1;
        }
        if (ScreenShowsHeart(display, root, width, height)) {
            shown = Now();
            break;
        }
        Sleep(0.005);
    }
    int result = 1;
    if (shown < 0) {
        fprintf(stderr, "first-frame-probe: no heart on the screen within %g s\n", timeout);
    } else {
        Sleep(settle);
        const long peak = PeakResidentKb(child);
        printf("first-frame-ms %.0f\npeak-rss-kb %ld\n", (shown - start) * 1e3, peak);
        result = peak > 0 ? 0 : 1;
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    return result;
}
