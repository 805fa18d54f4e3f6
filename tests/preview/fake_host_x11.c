/* A stand-in for a screensaver host on X11: a top-level window with a small
 * child window, the preview area, that a screensaver started with "/p ID" is
 * to draw into.
 *
 *   fake_host_x11 [--take-buttons] WIDTH HEIGHT X Y PREVIEW_WIDTH PREVIEW_HEIGHT
 *
 * The top-level (WIDTH x HEIGHT at 0,0) is filled with blue, the preview area
 * (at X,Y inside it) with green, both by the X server from their background
 * pixel. With --take-buttons the host selects ButtonPress on the preview area
 * itself, as a host that reacts to clicks does; X then refuses it to anyone
 * else. An InputOnly child, which no one can draw into, sits beside it.
 *
 * Standard output, once everything is mapped:
 *   preview ID          the preview area's window id (decimal)
 *   input-only ID       the InputOnly child's window id (decimal)
 * Then commands, one a line on standard input, each answered "done COMMAND":
 *   unmap | map | destroy        done to the preview area
 *   resize W H                   the preview area's new size
 *   quit                         the host ends (also at end of input)
 * Exit code 0; 2 on bad usage or no display.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static unsigned long pixel_of(Display *display, unsigned short r, unsigned short g, unsigned short b) {
    XColor color;
    memset(&color, 0, sizeof(color));
    color.red = r;
    color.green = g;
    color.blue = b;
    XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &color);
    return color.pixel;
}

static Window make_window(Display *display, Window parent, int x, int y, int width, int height,
                          unsigned long background) {
    Window window = XCreateSimpleWindow(display, parent, x, y, (unsigned)width, (unsigned)height, 0, 0,
                                        background);
    XMapWindow(display, window);
    return window;
}

/* Drops whatever X sent us (button presses on the preview area, for one). */
static void drain_events(Display *display) {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

static int run_command(Display *display, Window preview, const char *line) {
    unsigned width, height;
    if (strcmp(line, "unmap") == 0) {
        XUnmapWindow(display, preview);
    } else if (strcmp(line, "map") == 0) {
        XMapWindow(display, preview);
    } else if (strcmp(line, "destroy") == 0) {
        XDestroyWindow(display, preview);
    } else if (sscanf(line, "resize %u %u", &width, &height) == 2) {
        XResizeWindow(display, preview, width, height);
    } else if (strcmp(line, "quit") == 0) {
        return 0;
    } else {
        fprintf(stderr, "fake_host_x11: unknown command %s\n", line);
        return 1;
    }
    XSync(display, False);
    printf("done %s\n", line);
    fflush(stdout);
    return 1;
}

int main(int argc, char **argv) {
    int take_buttons = 0;
    int arg = 1;
    if (arg < argc && strcmp(argv[arg], "--take-buttons") == 0) {
        take_buttons = 1;
        ++arg;
    }
    if (argc - arg != 6) {
        fprintf(stderr, "usage: fake_host_x11 [--take-buttons] WIDTH HEIGHT X Y PREVIEW_WIDTH PREVIEW_HEIGHT\n");
        return 2;
    }
    int v[6];
    for (int i = 0; i < 6; ++i) v[i] = atoi(argv[arg + i]);

    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "fake_host_x11: cannot open display\n");
        return 2;
    }
    const unsigned long blue = pixel_of(display, 0, 0, 0xFFFF);
    const unsigned long green = pixel_of(display, 0, 0xFFFF, 0);
    Window top = make_window(display, DefaultRootWindow(display), 0, 0, v[0], v[1], blue);
    Window preview = make_window(display, top, v[2], v[3], v[4], v[5], green);
    if (take_buttons) XSelectInput(display, preview, ButtonPressMask | ButtonReleaseMask);
    Window input_only = XCreateWindow(display, top, 0, 0, 8, 8, 0, 0, InputOnly, CopyFromParent, 0, NULL);
    XMapWindow(display, input_only);
    XSync(display, False);

    printf("preview %lu\ninput-only %lu\n", (unsigned long)preview, (unsigned long)input_only);
    fflush(stdout);

    char line[256];
    size_t used = 0;
    for (;;) {
        struct pollfd fds[2] = {{0, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
        drain_events(display);
        if (poll(fds, 2, -1) < 0) continue;
        if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
        char c;
        if (read(0, &c, 1) != 1) break;
        if (c != '\n' && used + 1 < sizeof(line)) {
            line[used++] = c;
            continue;
        }
        line[used] = '\0';
        used = 0;
        if (!run_command(display, preview, line)) break;
    }
    XCloseDisplay(display);
    return 0;
}
