/* Small X11 client for the tests: what xdotool cannot do.
 *
 *   x11_probe close WINDOW         asks the window to close, as a window
 *                                  manager does (WM_PROTOCOLS/WM_DELETE_WINDOW)
 *   x11_probe cursor-hidden        exit 0 when the pointer's current cursor
 *                                  image is fully transparent, 1 when visible
 *   x11_probe viewable WINDOW      exit 0 when the window exists and is viewable
 *
 * WINDOW is decimal or 0x-prefixed hexadecimal. Exit 2 on bad usage or no display.
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int ignore_errors(Display *display, XErrorEvent *event) {
    (void)display;
    (void)event;
    return 0;
}

static int send_close(Display *display, Window window) {
    XEvent event;
    memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(display, window, False, NoEventMask, &event)) return 1;
    XSync(display, False);
    return 0;
}

static int cursor_hidden(Display *display) {
    int event_base, error_base;
    if (!XFixesQueryExtension(display, &event_base, &error_base)) return 2;
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    if (!image) return 2;
    int visible = 0;
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xFF) visible = 1;
    }
    printf("cursor %dx%d %s\n", image->width, image->height, visible ? "visible" : "hidden");
    XFree(image);
    return visible ? 1 : 0;
}

static int viewable(Display *display, Window window) {
    XWindowAttributes attributes;
    XSetErrorHandler(ignore_errors);
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    return attributes.map_state == IsViewable ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: x11_probe close WINDOW | cursor-hidden | viewable WINDOW\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "x11_probe: cannot open display\n");
        return 2;
    }
    int result = 2;
    if (strcmp(argv[1], "close") == 0 && argc == 3) {
        result = send_close(display, (Window)strtoul(argv[2], NULL, 0));
    } else if (strcmp(argv[1], "cursor-hidden") == 0) {
        result = cursor_hidden(display);
    } else if (strcmp(argv[1], "viewable") == 0 && argc == 3) {
        result = viewable(display, (Window)strtoul(argv[2], NULL, 0));
    } else {
        fprintf(stderr, "x11_probe: unknown command\n");
    }
    XCloseDisplay(display);
    return result;
}
