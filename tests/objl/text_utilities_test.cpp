// Line utilities, OBJ indices, number conversions and embedded texts.
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objl/text_utilities.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(TextUtilities, SplitText) {
    struct Case {
        std::string text, delimiter;
        Pieces expected;
    };
    const std::vector<Case> cases = {
        {"1/2/3", "/", {"1", "2", "3"}},
        {"1//3", "/", {"1", "", "3"}},
        {"1/2/", "/", {"1", "2"}},
        {"1//", "/", {"1", ""}},
        {"/1", "/", {"", "1"}},
        {"1", "/", {"1"}},
        {"", "/", {}},
        {"1  2", " ", {"1", "", "2"}},
        {"-1.0000 1.0000 0.0000", " ", {"-1.0000", "1.0000", "0.0000"}},
        {"0.1 0.2 0.3 \r", " ", {"0.1", "0.2", "0.3", "\r"}},
        {"ab--cd--", "--", {"ab", "cd"}},
        {"ab--cd-e", "--", {"ab", "cd-e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\" split at \"" + c.delimiter + "\"");
        Pieces pieces = {"left over"};
        objl::splitText(c.text, pieces, c.delimiter);
        EXPECT_EQ(pieces, c.expected);
    }
}

TEST(TextUtilities, LeadingWordAndLineRemainder) {
    struct Case {
        std::string line, word, remainder;
    };
    const std::vector<Case> cases = {
        {"\tNs 32", "Ns", "32"},
        {"", "", ""},
        {"   \t ", "", ""},
        {"newmtl", "newmtl", ""},
        {"v", "v", ""},
        {"usemtl   \t ", "usemtl", ""},
        {"v  -1.0000 1.0000 0.0000", "v", "-1.0000 1.0000 0.0000"},
        {"f 1/1/1 2/2/1 3/3/1 ", "f", "1/1/1 2/2/1 3/3/1"},
        {"  g Plane001", "g", "Plane001"},
        {"\tKa 0.1  0.2\t0.3\t", "Ka", "0.1  0.2\t0.3"},
        {"  o  name with blanks  ", "o", "name with blanks"},
        // CR is no blank: it stays with the word or the remainder it ends.
        {"newmtl wire\r", "newmtl", "wire\r"},
        {"word\r", "word\r", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(objl::leadingWord(c.line), c.word) << "\"" << c.line << "\"";
        EXPECT_EQ(objl::lineRemainder(c.line), c.remainder) << "\"" << c.line << "\"";
    }
}

TEST(TextUtilities, TrimTrailingLineBreaks) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"wire\r", "wire"},
        {"\r", "\r"},
        {"", ""},
        {"\r\n\n", "\r\n\n"},
        {"a \r\n\r", "a "},
        {"in\rside", "in\rside"},
    };
    for (const auto& [text, expected] : cases) {
        std::string changed = text;
        std::string& returned = objl::trimTrailingLineBreaks(changed);
        EXPECT_EQ(changed, expected);
        EXPECT_EQ(&returned, &changed);
    }
}

TEST(TextUtilities, ElementAtObjIndex) {
    const std::vector<std::string> list = {"first", "second", "third", "fourth"};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1", "first"}, {"4", "fourth"}, {"-1", "fourth"}, {"-4", "first"}, {"2\r", "second"}, {" 3", "third"},
    };
    for (const auto& [index, expected] : cases) EXPECT_EQ(objl::elementAtObjIndex(list, index), expected) << index;
}

// What a call is expected to throw: its type (by name) and its exact message.
struct Thrown {
    std::string type;
    std::string message;
};

Thrown CatchError(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::invalid_argument& e) {
        return {"invalid_argument", e.what()};
    } catch (const std::out_of_range& e) {
        return {"out_of_range", e.what()};
    }
    return {"nothing", ""};
}

TEST(TextUtilities, TextToFloat) {
    struct Case {
        std::string text;
        float expected;
    };
    const std::vector<Case> cases = {
        {"0.3412\r", 0.3412f},
        {"32\r", 32.0f},
        {"-1.0000", -1.0f},
        {"  2.5", 2.5f},
        {"+3e2", 300.0f},
        {"1.5abc", 1.5f},
        {".25", 0.25f},
        {"0.7765", 0.7765f},
        // Read as a double, then narrowed: out of float range gives infinity.
        {"1e39", std::numeric_limits<float>::infinity()},
    };
    for (const Case& c : cases) EXPECT_EQ(objl::textToFloat(c.text), c.expected) << "\"" << c.text << "\"";

    const float negativeZero = objl::textToFloat("-0.0000");
    EXPECT_EQ(negativeZero, 0.0f);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_TRUE(std::isnan(objl::textToFloat("nan")));
}

TEST(TextUtilities, TextToInt) {
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"2\r", 2}, {"-17", -17}, {" 42x", 42}, {"+7", 7}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"3.9", 3}, {"010", 10},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(objl::textToInt(text), expected) << "\"" << text << "\"";
}

TEST(TextUtilities, ConversionAndIndexErrors) {
    const std::vector<int> four = {10, 20, 30, 40};
    const std::vector<int> none;
    const auto toFloat = [](const std::string& text) { return [text] { objl::textToFloat(text); }; };
    const auto toInt = [](const std::string& text) { return [text] { objl::textToInt(text); }; };
    const auto index = [](const std::vector<int>& list, const std::string& text) {
        return [&list, text] { objl::elementAtObjIndex(list, text); };
    };
    const std::string badIndex = "OBJ index 0 does not designate an element (indices count from 1)";
    struct Case {
        std::string name;
        std::function<void()> call;
        Thrown expected;
    };
    const std::vector<Case> cases = {
        {"float abc", toFloat("abc"), {"invalid_argument", "invalid stof argument"}},
        {"float empty", toFloat(""), {"invalid_argument", "invalid stof argument"}},
        {"float CR", toFloat("\r"), {"invalid_argument", "invalid stof argument"}},
        {"float sign only", toFloat("-"), {"invalid_argument", "invalid stof argument"}},
        {"float 1e400", toFloat("1e400"), {"out_of_range", "stof argument out of range"}},
        {"float -1e400", toFloat("-1e400"), {"out_of_range", "stof argument out of range"}},
        {"float 1e-400", toFloat("1e-400"), {"out_of_range", "stof argument out of range"}},
        {"int empty", toInt(""), {"invalid_argument", "invalid stoi argument"}},
        {"int x", toInt("x"), {"invalid_argument", "invalid stoi argument"}},
        {"int /1", toInt("/1"), {"invalid_argument", "invalid stoi argument"}},
        {"int 2^31", toInt("2147483648"), {"out_of_range", "stoi argument out of range"}},
        {"int -2^31 - 1", toInt("-2147483649"), {"out_of_range", "stoi argument out of range"}},
        {"int 10^23", toInt("99999999999999999999999"), {"out_of_range", "stoi argument out of range"}},
        {"index 0", index(four, "0"), {"out_of_range", badIndex}},
        {"index 5 of 4", index(four, "5"), {"out_of_range", "OBJ index 5 is outside a list of length 4"}},
        {"index -5 of 4", index(four, "-5"), {"out_of_range", "OBJ index -5 is outside a list of length 4"}},
        {"index -1 of 0", index(none, "-1"), {"out_of_range", "OBJ index -1 is outside a list of length 0"}},
        {"index 1 of 0", index(none, "1"), {"out_of_range", "OBJ index 1 is outside a list of length 0"}},
        {"index empty", index(four, ""), {"invalid_argument", "invalid stoi argument"}},
        {"index x1", index(four, "x1"), {"invalid_argument", "invalid stoi argument"}},
    };
    for (const Case& c : cases) {
        const Thrown thrown = CatchError(c.call);
        EXPECT_EQ(thrown.type, c.expected.type) << c.name;
        EXPECT_EQ(thrown.message, c.expected.message) << c.name;
    }
}

TEST(TextUtilities, ForEachLineSplitsAtLineFeeds) {
    const std::vector<std::pair<std::string, Pieces>> cases = {
        {"a\r\nb\r\n", {"a\r", "b\r"}},
        {"a\nb", {"a", "b"}},
        {"", {}},
        {"\n\n", {"", ""}},
        {"one", {"one"}},
    };
    for (const auto& [text, expected] : cases) {
        Pieces lines;
        objl::forEachLine(text, [&lines](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(lines, expected);
    }
}

std::string FixtureBytes(const std::string& name) {
    std::ifstream in(std::string(CORVELLE_OBJL_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(TextUtilities, ReadTextResourceGivesTheEmbeddedBytes) {
    const std::string obj = FixtureBytes("rectangle_object.obj");
    const std::string mtl = FixtureBytes("rectangle_object.mtl");
    ASSERT_EQ(obj.size(), 551u);
    ASSERT_EQ(mtl.size(), 242u);
    EXPECT_EQ(objl::readTextResource(141), obj);
    EXPECT_EQ(objl::readTextResource(140), mtl);
    EXPECT_EQ(objl::readTextResource(141 + 0x10000), obj);  // only the low 16 bits count
    EXPECT_EQ(objl::readTextResource(999), "");
}

}  // namespace
