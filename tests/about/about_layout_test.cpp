// Where the About window goes and how its notice breaks into lines.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/about_layout.h"
#include "ui/text_wrap.h"

namespace {

struct PositionCase {
    int screenWidth, screenHeight;
    int x, y;
};

// (size - 400 or 300) x 0.5, truncated toward zero.
const PositionCase kPositionCases[] = {
    {1920, 1080, 760, 390},
    {1366, 768, 483, 234},
    {1365, 767, 482, 233},  // halves are dropped
    {400, 300, 0, 0},
    {399, 299, 0, 0},       // -0.5 truncates to 0, not -1
    {397, 297, -1, -1},     // -1.5 truncates to -1
    {320, 240, -40, -30},   // a screen smaller than the window
};

TEST(AboutLayoutTest, WindowIsCentredOnTheScreen) {
    for (const PositionCase& c : kPositionCases) {
        int x = 12345, y = 12345;
        about::CentredWindowPosition(c.screenWidth, c.screenHeight, &x, &y);
        EXPECT_EQ(x, c.x) << c.screenWidth << "x" << c.screenHeight;
        EXPECT_EQ(y, c.y) << c.screenWidth << "x" << c.screenHeight;
    }
}

struct WrapCase {
    const char* text;
    int width;
    std::vector<std::string> lines;
};

// A font whose every character is 10 pixels wide.
int TenPixelsEach(const std::string& text) { return static_cast<int>(text.size()) * 10; }

const WrapCase kWrapCases[] = {
    {"abc", 100, {"abc"}},
    {"aa bb cc", 50, {"aa bb", "cc"}},
    {"aaaa b", 60, {"aaaa b"}},  // exactly as wide as the label still fits
    {"aaaa b", 59, {"aaaa", "b"}},
    {"one\r\ntwo", 100, {"one", "two"}},
    {"one\ntwo", 100, {"one", "two"}},
    {"a\r\n\r\nb", 100, {"a", "", "b"}},
    {"", 100, {""}},
    {"averyverylongword x", 50, {"averyverylongword", "x"}},  // alone on its line, not split
    {"aa   bb", 100, {"aa bb"}},
    {"first line\r\nsecond line is long", 120, {"first line", "second line", "is long"}},
};

TEST(AboutLayoutTest, NoticeWrapsAtWordsAndAtLineBreaks) {
    for (const WrapCase& c : kWrapCases) {
        EXPECT_EQ(about::WrapText(c.text, c.width, TenPixelsEach), c.lines) << '"' << c.text << "\" in " << c.width;
    }
}

}  // namespace
