// The About window on Linux/X11: the layout, colours, picture, texts and
// button of the Win32 window, drawn with Xlib and core fonts into one window.
#include "ui/about_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ui/about_layout.h"
#include "ui/text_wrap.h"

namespace {

// The colours of a system push button (face, lit and shadowed edges, label).
const about::Rgb kButtonFace = {240, 240, 240};
const about::Rgb kButtonLight = {255, 255, 255};
const about::Rgb kButtonShadow = {160, 160, 160};
const about::Rgb kButtonDarkShadow = {105, 105, 105};
const about::Rgb kButtonTextColour = {0, 0, 0};

// Core fonts, best first: Helvetica in the sizes nearest the Win32 fonts
// (Arial 16 and bold 18 cell height); "fixed" is in every X server.
const char* const kTextFonts[] = {"-*-helvetica-medium-r-normal--14-140-75-75-p-*-iso8859-1", "fixed"};
const char* const kTitleFonts[] = {"-*-helvetica-bold-r-normal--18-180-75-75-p-*-iso8859-1", "fixed"};

struct AboutView {
    const CAboutWindow* about = nullptr;
    Display* display = nullptr;
    Window window = 0;
    Visual* visual = nullptr;
    Colormap colormap = 0;
    GC gc = nullptr;
    XFontStruct* textFont = nullptr;
    XFontStruct* titleFont = nullptr;
    bool titleIsBold = false;    // false: the fallback font, made bold by drawing twice
    XImage* picture = nullptr;   // null when the picture resource is missing
    Atom deleteWindow = 0;
    bool buttonHeld = false;     // the left button went down on "Visit website"
    bool buttonSunken = false;   // ... and the pointer is over it now
};

// ---------------------------------------------------------------------------
// Colours and the picture.

// An 8-bit channel scaled into the bits of a TrueColor mask.
unsigned long ScaleToMask(unsigned char value, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const unsigned long bits = mask >> shift;
    return ((value * bits + 127) / 255) << shift;
}

unsigned long PixelOf(const AboutView& view, const about::Rgb& colour) {
    const Visual* visual = view.visual;
    if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
        return ScaleToMask(colour.red, visual->red_mask) | ScaleToMask(colour.green, visual->green_mask) |
               ScaleToMask(colour.blue, visual->blue_mask);
    }
    XColor cell;
    cell.red = static_cast<unsigned short>(colour.red * 257);
    cell.green = static_cast<unsigned short>(colour.green * 257);
    cell.blue = static_cast<unsigned short>(colour.blue * 257);
    cell.flags = DoRed | DoGreen | DoBlue;
    return XAllocColor(view.display, view.colormap, &cell) ? cell.pixel : BlackPixel(view.display, 0);
}

// BITMAP 101 as an XImage of the window's visual (the resource's rows are bottom-up).
XImage* LoadPicture(const AboutView& view) {
    std::vector<unsigned char> bgra;
    if (!platform::LoadBitmapPixels(about::kPictureId, about::kPictureWidth, about::kPictureHeight, bgra))
        return nullptr;
    const int depth = DefaultDepth(view.display, DefaultScreen(view.display));
    XImage* image = XCreateImage(view.display, view.visual, depth, ZPixmap, 0, nullptr, about::kPictureWidth,
                                 about::kPictureHeight, 32, 0);
    if (image == nullptr) return nullptr;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * image->height));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return nullptr;
    }
    for (int row = 0; row < about::kPictureHeight; ++row) {
        const unsigned char* source = &bgra[static_cast<std::size_t>(about::kPictureHeight - 1 - row) *
                                            about::kPictureWidth * 4];
        for (int column = 0; column < about::kPictureWidth; ++column, source += 4) {
            const about::Rgb colour = {source[2], source[1], source[0]};
            XPutPixel(image, column, row, PixelOf(view, colour));
        }
    }
    return image;
}

// ---------------------------------------------------------------------------
// Opening the window.

template <int count>
XFontStruct* LoadFirstFont(Display* display, const char* const (&names)[count], int* chosen) {
    for (int i = 0; i < count; ++i) {
        if (XFontStruct* font = XLoadQueryFont(display, names[i])) {
            *chosen = i;
            return font;
        }
    }
    return nullptr;
}

// Name, class, close protocol and a fixed size at the position we ask for.
void DescribeWindow(AboutView& view, int x, int y) {
    Display* display = view.display;
    XStoreName(display, view.window, view.about->title);
    XChangeProperty(display, view.window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(view.about->title),
                    static_cast<int>(std::strlen(view.about->title)));

    XClassHint classHint;
    classHint.res_name = const_cast<char*>("corvelle");
    classHint.res_class = const_cast<char*>(view.about->windowClassName);
    XSetClassHint(display, view.window, &classHint);

    view.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, view.window, &view.deleteWindow, 1);

    XSizeHints sizeHints;
    std::memset(&sizeHints, 0, sizeof(sizeHints));
    sizeHints.flags = USPosition | PPosition | PMinSize | PMaxSize | PWinGravity;
    sizeHints.x = x;
    sizeHints.y = y;
    sizeHints.min_width = sizeHints.max_width = about::kWindowWidth;
    sizeHints.min_height = sizeHints.max_height = about::kWindowHeight;
    sizeHints.win_gravity = NorthWestGravity;  // the frame's corner, not the client's, goes to (x, y)
    XSetWMNormalHints(display, view.window, &sizeHints);

    XWMHints wmHints;
    std::memset(&wmHints, 0, sizeof(wmHints));
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMHints(display, view.window, &wmHints);
}

bool OpenView(AboutView& view) {
    view.display = XOpenDisplay(nullptr);
    if (view.display == nullptr) return false;
    Display* display = view.display;
    const int screen = DefaultScreen(display);
    view.visual = DefaultVisual(display, screen);
    view.colormap = DefaultColormap(display, screen);

    int textChoice = 0, titleChoice = 0;
    view.textFont = LoadFirstFont(display, kTextFonts, &textChoice);
    view.titleFont = LoadFirstFont(display, kTitleFonts, &titleChoice);
    if (view.textFont == nullptr || view.titleFont == nullptr) return false;
    view.titleIsBold = (titleChoice == 0);

    // Centred on the X screen, as HORZRES x VERTRES centres it on Windows.
    int x = 0, y = 0;
    about::CentredWindowPosition(DisplayWidth(display, screen), DisplayHeight(display, screen), &x, &y);

    XSetWindowAttributes attributes;
    attributes.background_pixel = PixelOf(view, about::kBackgroundColour);
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask;
    view.window = XCreateWindow(display, RootWindow(display, screen), x, y, about::kWindowWidth,
                                about::kWindowHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                                CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    DescribeWindow(view, x, y);
    view.picture = LoadPicture(view);
    view.gc = XCreateGC(display, view.window, 0, nullptr);

    XMapWindow(display, view.window);
    XFlush(display);
    return true;
}

// ---------------------------------------------------------------------------
// Drawing.

int TextWidth(XFontStruct* font, const std::string& text) {
    return XTextWidth(font, text.c_str(), static_cast<int>(text.size()));
}

void DrawString(const AboutView& view, int x, int baseline, const std::string& text) {
    XDrawString(view.display, view.window, view.gc, x, baseline, text.c_str(), static_cast<int>(text.size()));
}

void FillBox(const AboutView& view, int x, int y, int width, int height, const about::Rgb& colour) {
    XSetForeground(view.display, view.gc, PixelOf(view, colour));
    XFillRectangle(view.display, view.window, view.gc, x, y, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
}

// The product title: black, bold and underlined, at the top left of its box.
void DrawTitle(const AboutView& view) {
    const about::Box& box = about::kTitleBox;
    XFontStruct* font = view.titleFont;
    const std::string text = view.about->productTitle;
    const int baseline = box.y + font->ascent;
    const int width = TextWidth(font, text);

    XSetFont(view.display, view.gc, font->fid);
    XSetForeground(view.display, view.gc, PixelOf(view, about::kTitleColour));
    DrawString(view, box.x, baseline, text);
    if (!view.titleIsBold) DrawString(view, box.x + 1, baseline, text);

    unsigned long position = 0, thickness = 0;
    if (!XGetFontProperty(font, XA_UNDERLINE_POSITION, &position)) position = font->descent / 2;
    if (!XGetFontProperty(font, XA_UNDERLINE_THICKNESS, &thickness) || thickness == 0) thickness = 1;
    XFillRectangle(view.display, view.window, view.gc, box.x, baseline + static_cast<int>(position),
                   static_cast<unsigned>(width + (view.titleIsBold ? 0 : 1)), static_cast<unsigned>(thickness));
}

// The notice: blue, left-aligned, word-wrapped within its box and clipped to it.
void DrawNotice(const AboutView& view) {
    const about::Box& box = about::kNoticeBox;
    XFontStruct* font = view.textFont;
    const auto measure = [font](const std::string& text) { return TextWidth(font, text); };
    const std::vector<std::string> lines = about::WrapText(view.about->aboutText, box.width, measure);

    XRectangle clip = {static_cast<short>(box.x), static_cast<short>(box.y), static_cast<unsigned short>(box.width),
                       static_cast<unsigned short>(box.height)};
    XSetClipRectangles(view.display, view.gc, 0, 0, &clip, 1, Unsorted);
    XSetFont(view.display, view.gc, font->fid);
    XSetForeground(view.display, view.gc, PixelOf(view, about::kNoticeColour));
    const int lineHeight = font->ascent + font->descent;
    for (std::size_t i = 0; i < lines.size(); ++i)
        DrawString(view, box.x, box.y + font->ascent + static_cast<int>(i) * lineHeight, lines[i]);
    XSetClipMask(view.display, view.gc, None);
}

// "Visit website": a raised grey button, sunken while it is held down.
void DrawButton(const AboutView& view) {
    const about::Box& b = about::kButtonBox;
    const bool sunken = view.buttonSunken;
    FillBox(view, b.x, b.y, b.width, b.height, kButtonFace);
    const about::Rgb& outerLit = sunken ? kButtonDarkShadow : kButtonLight;
    const about::Rgb& outerDark = kButtonDarkShadow;
    FillBox(view, b.x, b.y, b.width, 1, outerLit);
    FillBox(view, b.x, b.y, 1, b.height, outerLit);
    FillBox(view, b.x, b.y + b.height - 1, b.width, 1, outerDark);
    FillBox(view, b.x + b.width - 1, b.y, 1, b.height, outerDark);
    const about::Rgb& innerLit = sunken ? kButtonShadow : kButtonFace;
    const about::Rgb& innerDark = sunken ? kButtonFace : kButtonShadow;
    FillBox(view, b.x + 1, b.y + 1, b.width - 2, 1, innerLit);
    FillBox(view, b.x + 1, b.y + 1, 1, b.height - 2, innerLit);
    FillBox(view, b.x + 1, b.y + b.height - 2, b.width - 2, 1, innerDark);
    FillBox(view, b.x + b.width - 2, b.y + 1, 1, b.height - 2, innerDark);

    XFontStruct* font = view.textFont;
    const std::string text = view.about->buttonText;
    const int shift = sunken ? 1 : 0;
    const int x = b.x + (b.width - TextWidth(font, text)) / 2 + shift;
    const int baseline = b.y + (b.height - font->ascent - font->descent) / 2 + font->ascent + shift;
    XSetFont(view.display, view.gc, font->fid);
    XSetForeground(view.display, view.gc, PixelOf(view, kButtonTextColour));
    DrawString(view, x, baseline, text);
}

// The whole client area: light green, the picture, the two labels and the button.
void Draw(const AboutView& view) {
    FillBox(view, 0, 0, about::kWindowWidth, about::kWindowHeight, about::kBackgroundColour);
    if (view.picture != nullptr) {
        XPutImage(view.display, view.window, view.gc, view.picture, 0, 0, about::kPictureX, about::kPictureY,
                  about::kPictureWidth, about::kPictureHeight);
    }
    DrawTitle(view);
    DrawNotice(view);
    DrawButton(view);
}

// ---------------------------------------------------------------------------
// Events.

bool OverButton(int x, int y) {
    const about::Box& b = about::kButtonBox;
    return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
}

void ShowButtonSunken(AboutView& view, bool sunken) {
    if (view.buttonSunken == sunken) return;
    view.buttonSunken = sunken;
    DrawButton(view);
}

// A click is a press and a release of the left button, both over the button.
void HandlePointer(AboutView& view, const XEvent& event) {
    if (event.type == ButtonPress && event.xbutton.button == Button1 && OverButton(event.xbutton.x, event.xbutton.y)) {
        view.buttonHeld = true;
        ShowButtonSunken(view, true);
    } else if (event.type == MotionNotify && view.buttonHeld) {
        ShowButtonSunken(view, OverButton(event.xmotion.x, event.xmotion.y));
    } else if (event.type == ButtonRelease && event.xbutton.button == Button1 && view.buttonHeld) {
        view.buttonHeld = false;
        ShowButtonSunken(view, false);
        XFlush(view.display);
        if (OverButton(event.xbutton.x, event.xbutton.y)) platform::OpenUrl(about::kWebsiteUrl);  // stays open
    }
}

bool IsCloseRequest(const AboutView& view, const XEvent& event) {
    return event.type == ClientMessage && event.xclient.format == 32 &&
           static_cast<Atom>(event.xclient.data.l[0]) == view.deleteWindow;
}

// Runs until the window is asked to close.
void RunEventLoop(AboutView& view) {
    for (;;) {
        XEvent event;
        XNextEvent(view.display, &event);
        if (IsCloseRequest(view, event)) return;
        if (event.type == Expose && event.xexpose.count == 0) Draw(view);
        HandlePointer(view, event);
        XFlush(view.display);
    }
}

}  // namespace

CAboutWindow::CAboutWindow(platform::ModuleInstance, int) {
    // The show command is a Win32 value (0 on Linux); the window is always shown.
    AboutView view;
    view.about = this;
    if (!OpenView(view)) {
        platform::ShowMessage("Window Creation Failed!", "Error!", platform::MessageIcon::Warning);
        if (view.display != nullptr) XCloseDisplay(view.display);
        return;
    }
    RunEventLoop(view);
    XDestroyWindow(view.display, view.window);
    XCloseDisplay(view.display);
}
