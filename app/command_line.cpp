#include "app/command_line.h"

#include <climits>

static const char kInstanceMarkerName[] = "K_OPENGL_SCREENSAVER";

int ReadDecimal(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = (*text++ == '-');
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

CCommandLine::CCommandLine(const char* commandLine) : mode(NoSwitch), parentWindow(0) {
    if (commandLine == nullptr) return;
    for (const char* c = commandLine; *c != '\0'; ++c) {
        if (*c != '/') continue;
        switch (c[1]) {
            case 'p': mode = Preview; break;
            case 's': mode = FullScreen; break;
            case 'c': mode = Configure; break;
            default: break;
        }
        if (mode == NoSwitch) continue;
        // The number starts after the slash, the letter and one separator,
        // whatever that separator is; never read past the terminating NUL.
        const bool hasThird = c[1] != '\0' && c[2] != '\0';
        const int value = hasThird ? ReadDecimal(c + 3) : 0;
        parentWindow = static_cast<platform::NativeWindow>(static_cast<std::intptr_t>(value));
    }
}

bool CCommandLine::IsFirstInstance() { return platform::AcquireSingleInstanceMarker(kInstanceMarkerName); }
