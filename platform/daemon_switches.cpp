#include "platform/daemon_switches.h"

#include <cstring>

namespace platform {

namespace {

const NativeWindow kLargestWindowId = 0x1FFFFFFF;

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool IsSwitch(const char* argument, const char* name) {
    if (argument[0] != '-') return false;
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(rest, name) == 0;
}

const char kIdForm[] = "expected a window id in hexadecimal with 0x (as 0x1a00007) or in decimal (as 27262983)";

DaemonSwitches Invalid(std::string problem) {
    DaemonSwitches result;
    result.target = DaemonTarget::Invalid;
    result.problem = std::move(problem);
    return result;
}

DaemonSwitches WindowFrom(const char* text, const char* where) {
    DaemonSwitches result;
    if (!ParseWindowId(text, &result.window)) {
        return Invalid(std::string("Invalid window id \"") + text + "\" " + where + ": " + kIdForm);
    }
    result.target = DaemonTarget::GivenWindow;
    return result;
}

DaemonSwitches RootOrDaemonWindow(const char* daemonWindow) {
    if (daemonWindow == nullptr) {
        DaemonSwitches result;
        result.target = DaemonTarget::RootWindow;
        return result;
    }
    return WindowFrom(daemonWindow, "in XSCREENSAVER_WINDOW");
}

}  // namespace

bool ParseWindowId(const char* text, NativeWindow* window) {
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0') return false;
    NativeWindow value = 0;
    for (; *text != '\0'; ++text) {
        const int digit = DigitValue(*text, base);
        if (digit < 0) return false;
        value = value * base + digit;
        if (value > kLargestWindowId) return false;
    }
    if (value == 0) return false;
    *window = value;
    return true;
}

DaemonSwitches ReadDaemonSwitches(int argc, const char* const* argv, const char* daemonWindow) {
    for (int i = 1; i < argc; ++i) {
        if (IsSwitch(argv[i], "window-id")) {
            if (i + 1 >= argc) return Invalid(std::string(argv[i]) + " without a window id: " + kIdForm);
            return WindowFrom(argv[i + 1], (std::string("after ") + argv[i]).c_str());
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (IsSwitch(argv[i], "root")) return RootOrDaemonWindow(daemonWindow);
    }
    return DaemonSwitches();
}

}  // namespace platform
