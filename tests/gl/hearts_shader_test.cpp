// The hearts program drawn on a real context, pixel by pixel against a
// single-precision CPU reference of the same algorithm: uv from the pixel and
// the viewport, 51 balls from far to near, each with a heart on its near and
// far side, blended over one another.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gl/glfw_program.h"
#include "tests/gl/test_resource_ids.h"

namespace {

// ---------------------------------------------------------------------------
// The reference, in float throughout.

struct V2 {
    float x, y;
};
struct V3 {
    float x, y, z;
};
struct V4 {
    float x, y, z, w;
};

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Length(V3 a) { return std::sqrt(Dot(a, a)); }
V3 Normalize(V3 a) { return a * (1.0f / Length(a)); }
float Mix(float a, float b, float h) { return a + (b - a) * h; }
V4 Mix(V4 a, V4 b, float h) { return {Mix(a.x, b.x, h), Mix(a.y, b.y, h), Mix(a.z, b.z, h), Mix(a.w, b.w, h)}; }
float Fract(float x) { return x - std::floor(x); }
float Sat(float x) { return std::min(std::max(x, 0.0f), 1.0f); }

float S(float e0, float e1, float x) {
    const float u = Sat((x - e0) / (e1 - e0));
    return u * u * (3.0f - 2.0f * u);
}

float Smax(float a, float b, float k) {
    const float h = Sat(0.5f + 0.5f * (b - a) / k);
    return Mix(a, b, h) + k * h * (1.0f - h);
}

struct Quat {
    V3 v;
    float w;
};

Quat Qmulq(Quat a, Quat b) { return {a.v * b.w + b.v * a.w + Cross(a.v, b.v), a.w * b.w - Dot(a.v, b.v)}; }
Quat Aa2q(V3 axis, float angle) { return {Normalize(axis) * std::sin(angle / 2.0f), std::cos(angle / 2.0f)}; }
Quat Qinv(Quat q) {
    const float d = Dot(q.v, q.v) + q.w * q.w;
    return {q.v * (-1.0f / d), q.w / d};
}
V3 Qmulv(Quat q, V3 p) { return Qmulq(q, Qmulq({p, 0.0f}, Qinv(q))).v; }

V2 RaySphere(V3 rd, V3 c) {
    const float l = Dot(rd, c);
    const float det = l * l - Dot(c, c) + 1.0f;
    if (det < 0.0f) return {-1.0f, -1.0f};
    const float r = std::sqrt(det);
    return {l - r, l + r};
}

float Heart(V2 uv, float b) {
    uv.x = 0.5f * uv.x;
    const float shape = 0.5f * Smax(std::sqrt(std::fabs(uv.x)), b, 0.3f * b);
    uv.y = uv.y - shape * (1.0f - b);
    return S(b, -b, std::sqrt(uv.x * uv.x + uv.y * uv.y) - 0.5f);
}

const V3 kHeartColour = {1.0f, 0.01f, 0.01f};
const V3 kLightDir = {0.577f, -0.577f, -0.577f};

V4 HeartBall(V3 rd, V3 c, V2 rot, float blur) {
    const V2 d = RaySphere(rd, c);
    if (d.x <= 0.0f) return {0.0f, 0.0f, 0.0f, 0.0f};
    rot = {rot.x * 6.2831f, rot.y * 6.2831f};
    const Quat q = Aa2q({std::cos(rot.x), std::sin(rot.x), 0.0f}, rot.y);
    const V3 o = Qmulv(q, c * -1.0f) + c;
    const V3 dir = Qmulv(q, rd);
    const V3 p1 = rd * d.x;
    const V3 near = o + dir * d.x - c;
    const V2 uv1 = {std::atan2(near.x, near.z), near.y};
    const V3 n1 = p1 - c;
    const V3 p2 = rd * d.y;
    const V3 far = o + dir * d.y - c;
    const V2 uv2 = {std::atan2(far.x, far.z), far.y};
    const V3 n2 = c - p2;

    const float sd = Length(Cross(c, rd));
    const float edge = S(1.0f, Mix(1.0f, 0.1f, blur), sd);
    const float backMask = Heart(uv2, blur) * edge;
    const float frontMask = Heart(uv1, blur) * edge;
    const float frontLight = Sat(0.8f * Dot(kLightDir, n1) + 0.2f);
    const float backLight = 0.9f * Sat(0.8f * Dot(kLightDir, n2) + 0.2f);
    const V3 back = kHeartColour * backLight;
    const V3 front = kHeartColour * frontLight;
    return Mix(V4{back.x, back.y, back.z, backMask}, V4{front.x, front.y, front.z, frontMask}, frontMask);
}

// The colour of one pixel; `front` receives the pass (0 the farthest ball)
// of the nearest heart that covers the pixel almost fully (alpha 0.9 or
// more), or -1 when there is none.
V4 ReferencePixel(float fragX, float fragY, float width, float height, float time, int* front) {
    const V2 uv = {(fragX - 0.5f * width) / height, (fragY - 0.5f * height) / height};
    const float t = 0.3f * time;
    const V3 rd = Normalize({uv.x, uv.y, 1.0f});
    V2 rot = {t * 0.12f, t * 0.18f};
    V4 col = {0.0f, 0.0f, 0.0f, 0.0f};
    *front = -1;
    int pass = 0;
    for (float i = 0.0f; i < 1.0f; i += 1.0f / 50.0f, ++pass) {
        const float x = (Fract(std::cos(536.3f * i) * 7464.4f) - 0.5f) * 15.0f;
        const float y = -(Fract(-0.2f * t + 7.64f * i) - 0.5f) * 15.0f;
        const float z = Mix(14.0f, 2.0f, i);
        const float blur = Mix(0.03f, 0.35f, S(0.0f, 0.4f, std::fabs(0.4f - i)));
        rot.x = rot.x + Fract(std::sin(i * 536.3f) * 764.4f) - 0.5f;
        rot.y = rot.y + Fract(std::sin(i * 23.4f) * 987.3f) - 0.5f;
        const V4 heart = HeartBall(rd, {x, y, z}, rot, blur);
        col = Mix(col, heart, heart.w);
        if (heart.w >= 0.9f) *front = pass;
    }
    return col;
}

// ---------------------------------------------------------------------------
// The same picture from GL: the rectangle over the whole viewport, drawn into
// a float framebuffer.

std::vector<float> Render(GLFWProgram& program, int width, int height, float time) {
    GLuint framebuffer = 0;
    GLuint colour = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexStorage2D(GL_TEXTURE_2D, 1, GL_RGBA32F, width, height);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour, 0);

    const float corners[] = {-1, 1, 0, -1, -1, 0, 1, 1, 0, 1, -1, 0, 1, 1, 0, -1, -1, 0};
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
    const GLint position = program.GetAttribLocation("position");
    glEnableVertexAttribArray(position);
    glVertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 0, nullptr);

    program.Use();
    glUniform1f(program.GetUniformLocation("iTime"), time);
    glUniform1f(program.GetUniformLocation("viewportWidth"), static_cast<float>(width));
    glUniform1f(program.GetUniformLocation("viewportHeight"), static_cast<float>(height));
    glViewport(0, 0, width, height);
    glClearColor(0.5f, 0.5f, 0.5f, 0.5f);  // anything the rectangle fails to cover stands out
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLES, 0, 6);

    std::vector<float> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());

    glDisableVertexAttribArray(position);
    glDeleteBuffers(1, &buffer);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    glUseProgram(0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    return pixels;
}

TEST(HeartsShaderTest, PixelsMatchTheReference) {
    const struct {
        int width, height;
        float time;
    } cases[] = {
        {48, 27, 0.0f},
        {48, 27, 9.5f},
        {48, 27, 61.25f},
        {27, 48, 30.0f},
        // Wide enough to show the 51st ball, the nearest (depth 2), far left at uv.x = -3.
        {192, 24, 2.25f},
    };
    GLFWProgram program(kHeartsVertex, kHeartsFragment);
    std::set<int> ballsChecked;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.time << " s");
        const std::vector<float> pixels = Render(program, c.width, c.height, c.time);
        int close = 0;
        int lit = 0;
        float worst = 0.0f;
        std::map<int, std::pair<int, int>> shownAndClose;  // per ball in front
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const float* actual = &pixels[(static_cast<std::size_t>(y) * c.width + x) * 4];
                int front = -1;
                const V4 expected = ReferencePixel(x + 0.5f, y + 0.5f, static_cast<float>(c.width),
                                                   static_cast<float>(c.height), c.time, &front);
                const float difference =
                    std::max({std::fabs(actual[0] - expected.x), std::fabs(actual[1] - expected.y),
                              std::fabs(actual[2] - expected.z), std::fabs(actual[3] - expected.w)});
                worst = std::max(worst, difference);
                if (difference <= 0.01f) ++close;
                if (expected.x > 0.3f) ++lit;
                if (front >= 0) {
                    ++shownAndClose[front].first;
                    if (difference <= 0.01f) ++shownAndClose[front].second;
                }
            }
        }
        const int total = c.width * c.height;
        EXPECT_GE(lit, 50) << "too few hearts in view for the comparison to mean much";
        // Sharp heart edges may move by a fraction of a pixel between GL's
        // float arithmetic and ours; everywhere else the two agree.
        EXPECT_GE(close, total * 99 / 100) << "worst difference " << worst;
        // Ball by ball, so that a far ball of a few pixels counts as much as a
        // near one: where a heart covers the pixel, most of its pixels agree.
        // A ball left out, or drawn out of order, agrees nowhere.
        for (const auto& [ball, counts] : shownAndClose) {
            if (counts.first < 2) continue;
            EXPECT_GE(2 * counts.second, counts.first)
                << "ball " << ball << ": " << counts.second << " of its " << counts.first << " pixels agree";
            ballsChecked.insert(ball);
        }
    }
    EXPECT_GE(ballsChecked.size(), 30u) << "too few balls in front anywhere for the ball-by-ball check";
}

}  // namespace
