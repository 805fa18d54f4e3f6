// The switches with which X11 screensaver daemons start a saver.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/daemon_switches.h"

namespace {

using platform::DaemonTarget;

struct WindowIdCase {
    const char* text;
    bool valid;
    platform::NativeWindow window;
};

const WindowIdCase kWindowIdCases[] = {
    {"0x1a00007", true, 27262983},
    {"0X1A00007", true, 27262983},
    {"0xAbC", true, 2748},
    {"27262983", true, 27262983},
    {"0x1", true, 1},
    {"1", true, 1},
    {"0x1FFFFFFF", true, 536870911},  // the largest id X hands out
    {"536870911", true, 536870911},
    {"007", true, 7},                 // leading zeros are still decimal
    {"0x20000000", false, 0},         // top bits set: no X id
    {"536870912", false, 0},
    {"0xFFFFFFFFFFFFFFFFFF", false, 0},  // does not wrap around
    {"99999999999999999999", false, 0},
    {"0", false, 0},                  // None is no window
    {"0x0", false, 0},
    {"", false, 0},
    {"0x", false, 0},
    {"x12", false, 0},
    {"1a00007", false, 0},            // hexadecimal needs its 0x
    {"0x1g", false, 0},
    {"12 ", false, 0},
    {" 12", false, 0},
    {"+12", false, 0},
    {"-12", false, 0},
    {"0x-1", false, 0},
};

TEST(DaemonSwitchesTest, ParsesWindowIds) {
    for (const WindowIdCase& c : kWindowIdCases) {
        platform::NativeWindow window = 12345;
        EXPECT_EQ(platform::ParseWindowId(c.text, &window), c.valid) << "\"" << c.text << "\"";
        EXPECT_EQ(window, c.valid ? c.window : 12345u) << "\"" << c.text << "\"";
    }
}

struct SwitchCase {
    std::vector<const char*> arguments;  // without the program name
    const char* daemonWindow;            // XSCREENSAVER_WINDOW, null when unset
    DaemonTarget target;
    platform::NativeWindow window;
    const char* problemPart;             // a part of the message for Invalid
};

const SwitchCase kSwitchCases[] = {
    // The Windows-style switches stay for CCommandLine.
    {{}, nullptr, DaemonTarget::Absent, 0, nullptr},
    {{"/s"}, nullptr, DaemonTarget::Absent, 0, nullptr},
    {{"/p", "1234"}, "0x42", DaemonTarget::Absent, 0, nullptr},  // the daemon's window does not override /p
    {{"--rooted"}, nullptr, DaemonTarget::Absent, 0, nullptr},
    {{"---root"}, nullptr, DaemonTarget::Absent, 0, nullptr},
    {{"root"}, nullptr, DaemonTarget::Absent, 0, nullptr},
    // --root: the daemon's window in either notation, else the root window.
    {{"--root"}, "0x1a00007", DaemonTarget::GivenWindow, 27262983, nullptr},
    {{"--root"}, "27262983", DaemonTarget::GivenWindow, 27262983, nullptr},
    {{"-root"}, "0x2e", DaemonTarget::GivenWindow, 46, nullptr},
    {{"--root"}, nullptr, DaemonTarget::RootWindow, 0, nullptr},
    {{"-root"}, nullptr, DaemonTarget::RootWindow, 0, nullptr},
    {{"/s", "--root"}, "77", DaemonTarget::GivenWindow, 77, nullptr},
    {{}, "27262983", DaemonTarget::Absent, 0, nullptr},  // the window alone is no switch
    // --window-id: hexadecimal or decimal; it wins over --root.
    {{"--window-id", "0x1a00007"}, nullptr, DaemonTarget::GivenWindow, 27262983, nullptr},
    {{"--window-id", "27262983"}, nullptr, DaemonTarget::GivenWindow, 27262983, nullptr},
    {{"-window-id", "0x10"}, nullptr, DaemonTarget::GivenWindow, 16, nullptr},
    {{"--root", "--window-id", "99"}, "0x42", DaemonTarget::GivenWindow, 99, nullptr},
    {{"--window-id", "99", "--root"}, "0x42", DaemonTarget::GivenWindow, 99, nullptr},
    // Malformed or missing ids say what was wrong.
    {{"--window-id"}, nullptr, DaemonTarget::Invalid, 0, "--window-id without a window id"},
    {{"--window-id", "0xZZ"}, nullptr, DaemonTarget::Invalid, 0, "\"0xZZ\" after --window-id"},
    {{"-window-id", "-3"}, nullptr, DaemonTarget::Invalid, 0, "\"-3\" after -window-id"},
    {{"--window-id", ""}, nullptr, DaemonTarget::Invalid, 0, "\"\" after --window-id"},
    {{"--root"}, "0x", DaemonTarget::Invalid, 0, "\"0x\" in XSCREENSAVER_WINDOW"},
    {{"--root"}, "", DaemonTarget::Invalid, 0, "\"\" in XSCREENSAVER_WINDOW"},
    {{"--root"}, "0", DaemonTarget::Invalid, 0, "\"0\" in XSCREENSAVER_WINDOW"},
};

std::string Describe(const SwitchCase& c) {
    std::string text = "arguments:";
    for (const char* argument : c.arguments) text += std::string(" [") + argument + "]";
    text += c.daemonWindow ? std::string(", XSCREENSAVER_WINDOW=") + c.daemonWindow : ", no XSCREENSAVER_WINDOW";
    return text;
}

TEST(DaemonSwitchesTest, ReadsTheSwitchTable) {
    for (const SwitchCase& c : kSwitchCases) {
        std::vector<const char*> argv = {"corvelle"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const platform::DaemonSwitches result =
            platform::ReadDaemonSwitches(static_cast<int>(argv.size()), argv.data(), c.daemonWindow);
        EXPECT_EQ(result.target, c.target) << Describe(c);
        EXPECT_EQ(result.window, c.window) << Describe(c);
        if (c.problemPart) {
            EXPECT_NE(result.problem.find(c.problemPart), std::string::npos) << Describe(c) << ": " << result.problem;
            EXPECT_NE(result.problem.find("hexadecimal with 0x"), std::string::npos) << result.problem;
        } else {
            EXPECT_EQ(result.problem, "") << Describe(c);
        }
    }
}

}  // namespace
