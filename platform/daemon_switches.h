// The switches with which X11 screensaver daemons start a saver inside a
// window of theirs, read by the Linux entry point before anything else:
//
//   --root            the window named by XSCREENSAVER_WINDOW (xscreensaver
//                     sets it in hexadecimal, XSecureLock in decimal) or,
//                     when that is not set, the root window
//   --window-id ID    window ID, hexadecimal with 0x or decimal
//
// --window-id wins over --root. Both are also accepted with one hyphen
// (-root, -window-id), as the daemons' own savers accept them; XSecureLock
// starts its saver modules with -root.
#pragma once

#include <string>

#include "platform/platform.h"

namespace platform {

enum class DaemonTarget {
    Absent,      // no daemon switch: the Windows-style switches apply
    GivenWindow, // draw into `window`
    RootWindow,  // draw into the display's root window
    Invalid,     // a switch with a malformed or missing window id: `problem` says which
};

struct DaemonSwitches {
    DaemonTarget target = DaemonTarget::Absent;
    NativeWindow window = 0;
    std::string problem;
};

// Reads the arguments (argv[1] to argv[argc - 1]); `daemonWindow` is the value
// of XSCREENSAVER_WINDOW, or null when it is not set.
DaemonSwitches ReadDaemonSwitches(int argc, const char* const* argv, const char* daemonWindow);

// An X window id: "0x" or "0X" and hexadecimal digits, or decimal digits,
// nothing else. X ids are never 0 and have their top three bits clear, so
// anything from 1 to 0x1FFFFFFF is accepted. False for anything else.
bool ParseWindowId(const char* text, NativeWindow* window);

// Makes AcquireSingleInstanceMarker answer true without taking the marker
// (platform_linux.cpp).
void ExemptFromSingleInstanceMarker();

}  // namespace platform
