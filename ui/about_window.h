// The About window of configure mode ("/c").
//
// about_window_win32.cpp builds it from a registered window class, two static
// controls and a push button; about_window_x11.cpp draws the same layout with
// Xlib. CMake compiles one of them; ui/about_layout.h holds what they share.
#pragma once

#include "platform/platform.h"

class CAboutWindow {
public:
    const char* title = "About";
    const char* windowClassName = "KestrovaWindowClass";
    const char* buttonText = "Visit website";
    const char* aboutText =
        "Corvelle Screensaver is made by Kestrova.\r\n"
        "More free screensavers: kestrova.example\r\n"
        "Questions? Write to support@kestrova.example";
    const char* productTitle = "Corvelle Screensaver";

    // Shows the window and runs its message loop; returns once it has closed
    // (or at once when the window could not be created).
    CAboutWindow(platform::ModuleInstance instance, int showCommand);
};
