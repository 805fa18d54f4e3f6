// The screensaver switches, read once at start-up.
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum ScreensaverMode : std::int32_t {
    Preview = 0,     // "/p HANDLE": inside the host's preview window
    FullScreen = 1,  // "/s"
    Configure = 2,   // "/c": the About window
    NoSwitch = 3,    // nothing recognised: full screen
};

class CCommandLine {
public:
    explicit CCommandLine(const char* commandLine);

    // True unless another preview or switchless instance is already running.
    bool IsFirstInstance();

    ScreensaverMode mode;
    platform::NativeWindow parentWindow;
};

// Reads a decimal number as atoi does (leading white space, a sign, digits),
// but saturates at the int range instead of overflowing.
int ReadDecimal(const char* text);
