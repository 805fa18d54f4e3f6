// The About window's layout, colours and website, shared by the Win32 and the
// X11 implementation. Positions are client-area pixels.
#pragma once

namespace about {

struct Rgb {
    unsigned char red, green, blue;
};

struct Box {
    int x, y, width, height;
};

// The window's outer size; it cannot be resized.
const int kWindowWidth = 400;
const int kWindowHeight = 300;

const Rgb kBackgroundColour = {177, 232, 179};  // light green: the window and both statics
const Rgb kNoticeColour = {0, 51, 255};         // blue
const Rgb kTitleColour = {0, 0, 0};             // black

// BITMAP resource 101: the 110 x 83 picture of hearts, drawn at its own size.
const int kPictureId = 101;
const int kPictureWidth = 110;
const int kPictureHeight = 83;
const int kPictureX = 142;
const int kPictureY = 55;

// The three controls. The notice and the button share id 10; statics send no
// notifications, so a command from id 10 is always the button.
const Box kNoticeBox = {34, 150, 380, 80};
const Box kTitleBox = {90, 20, 280, 20};
const Box kButtonBox = {150, 210, 100, 32};
const int kNoticeId = 10;
const int kTitleId = 30;
const int kButtonId = 10;

// Where "Visit website" leads.
const char* const kWebsiteUrl = "https://kestrova.example/?utm_source=About";

// The outer top-left corner that centres the window on a screen of this size:
// (size - window size) x 0.5 in double, truncated toward zero.
void CentredWindowPosition(int screenWidth, int screenHeight, int* x, int* y);

}  // namespace about
