// The screensaver switches as the host passes them.
#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

struct SwitchCase {
    const char* text;
    ScreensaverMode mode;
    std::intptr_t parentWindow;
};

const SwitchCase kSwitchCases[] = {
    {"", NoSwitch, 0},
    {"/s", FullScreen, 0},
    {"/c", Configure, 0},
    {"/p 1234", Preview, 1234},
    {"/p:1234", Preview, 1234},
    {"/p1234", Preview, 234},  // the first digit is taken as the separator
    {"/c:3456", Configure, 3456},
    {"/S", NoSwitch, 0},  // upper case is not a switch
    {"/C", NoSwitch, 0},
    {"-s", NoSwitch, 0},  // nor is a hyphen
    {"/x", NoSwitch, 0},
    {"/", NoSwitch, 0},
    {"/p 1234 /x", Preview, 0},  // read again at /x, whose text ends early
    {"/s /p 77", Preview, 77},   // the last switch wins
    {"/p 77 /s", FullScreen, 0},
    {"/x /s", FullScreen, 0},
    {"/p", Preview, 0},   // the text ends right after the letter
    {"/p ", Preview, 0},  // ... or after the separator
    {"/p    42", Preview, 42},  // leading white space before the number is skipped
    {"/p -5", Preview, -5},
    {"/p +8", Preview, 8},
    {"/p 12abc", Preview, 12},
    {"/p abc", Preview, 0},
    {"/s/p", Preview, 0},
    {"/p 99999999999999999999999", Preview, INT_MAX},   // saturates instead of overflowing
    {"/p -99999999999999999999999", Preview, INT_MIN},
};

TEST(CommandLineTest, ReadsTheSwitchTable) {
    for (const SwitchCase& c : kSwitchCases) {
        CCommandLine commandLine(c.text);
        EXPECT_EQ(commandLine.mode, c.mode) << "command line \"" << c.text << "\"";
        EXPECT_EQ(commandLine.parentWindow, static_cast<platform::NativeWindow>(c.parentWindow))
            << "command line \"" << c.text << "\"";
    }
}

TEST(CommandLineTest, NullTextIsNoSwitch) {
    CCommandLine commandLine(nullptr);
    EXPECT_EQ(commandLine.mode, NoSwitch);
    EXPECT_EQ(commandLine.parentWindow, 0u);
}

TEST(CommandLineTest, ModesHaveTheirNumbers) {
    EXPECT_EQ(static_cast<int>(Preview), 0);
    EXPECT_EQ(static_cast<int>(FullScreen), 1);
    EXPECT_EQ(static_cast<int>(Configure), 2);
    EXPECT_EQ(static_cast<int>(NoSwitch), 3);
}

TEST(CommandLineTest, ReadDecimalBehavesLikeAtoiWithinRange) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"0", 0}, {"17", 17}, {" \t\n42x", 42}, {"-7", -7}, {"+7", 7}, {"", 0}, {"-", 0}, {"x9", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadDecimal(c.text), c.value) << "\"" << c.text << "\"";
}

}  // namespace
