// The balls' constants written into the hearts fragment shader by
// tools/gen_hearts_shader.py, read back from the committed text and checked
// against the CPU reference's own loop over i (Placements at iTime 0, where
// the running turn starts at 0, so it is exactly the shader's turn offset).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/picture/hearts_reference.h"

namespace picture {
namespace {

std::string ReadShader() {
    std::ifstream file(CORVELLE_HEARTS_SHADER, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<float> Numbers(const std::string& list) {
    std::vector<float> numbers;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) numbers.push_back(std::strtof(item.c_str(), nullptr));
    return numbers;
}

// Each match of `pattern` (its groups holding comma-separated numbers), in order of the text.
std::vector<std::vector<float>> Lines(const std::string& text, const std::regex& pattern) {
    std::vector<std::vector<float>> lines;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
        std::vector<float> line;
        for (std::size_t group = 1; group < it->size(); ++group) {
            const std::vector<float> numbers = Numbers((*it)[group].str());
            line.insert(line.end(), numbers.begin(), numbers.end());
        }
        lines.push_back(line);
    }
    return lines;
}

struct Ball {
    int index;
    float x, offsetX, offsetY, i;
};

std::vector<Ball> Table(const std::string& text) {
    std::vector<Ball> balls;
    const std::regex entry(R"(hearts\[(\d+)\] = vec4\(([^)]*)\);)");
    for (const std::vector<float>& line : Lines(text, entry)) {
        if (line.size() != 5) continue;  // reported by the size checks below
        balls.push_back({static_cast<int>(line[0]), line[1], line[2], line[3], line[4]});
    }
    return balls;
}

TEST(HeartsTable, EveryPassOfTheLoopIsInTheTableInOrder) {
    const std::vector<HeartPlacement> passes = CHeartsReference().Placements(0.0f);
    const std::vector<Ball> table = Table(ReadShader());
    ASSERT_EQ(passes.size(), 51u);
    ASSERT_EQ(table.size(), passes.size()) << "hearts[k] = vec4(...) lines in " << CORVELLE_HEARTS_SHADER;
    for (std::size_t k = 0; k < table.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "ball " << k);
        EXPECT_EQ(table[k].index, static_cast<int>(k));
        // i is the same sum of floats on both sides, written with enough digits to read back exactly.
        EXPECT_EQ(table[k].i, passes[k].i);
        // x hashes cos: one unit in the last place of cos moves it by 0.0067
        // (7464.4 * 15 * 6e-8), and the C library's cosf may round the other
        // way from the generator's correctly rounded cos.
        EXPECT_NEAR(table[k].x, passes[k].centre.x, 0.015f);
        // The turn offsets add up to 51 such hashes of sin (0.00005 per unit in the last place each).
        EXPECT_NEAR(table[k].offsetX, passes[k].rot.x, 0.003f);
        EXPECT_NEAR(table[k].offsetY, passes[k].rot.y, 0.003f);
    }
}

TEST(HeartsTable, TheRayTestsUseTheTablesBallsThreeAtATime) {
    const std::string text = ReadShader();
    const std::vector<Ball> table = Table(text);
    const std::regex test(R"(MEETS\(vec3\(([^)]*)\), vec3\(([^)]*)\), ([^)]*)\))");
    const std::vector<std::vector<float>> tests = Lines(text, test);
    ASSERT_EQ(table.size(), 51u);
    ASSERT_EQ(tests.size(), 17u) << "MEETS(...) lines in " << CORVELLE_HEARTS_SHADER;
    for (std::size_t n = 0; n < tests.size(); ++n) {
        SCOPED_TRACE(testing::Message() << "test " << n);
        ASSERT_EQ(tests[n].size(), 7u);
        for (int ball = 0; ball < 3; ++ball) {
            EXPECT_EQ(tests[n][ball], table[3 * n + ball].x);
            EXPECT_EQ(tests[n][3 + ball], table[3 * n + ball].i);
        }
        // The farthest balls take the highest bit, so taking the highest bit first draws far to near.
        EXPECT_EQ(tests[n][6], std::ldexp(1.0f, 16 - static_cast<int>(n)));
    }
}

}  // namespace
}  // namespace picture
