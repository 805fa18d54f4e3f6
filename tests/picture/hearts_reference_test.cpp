// Facts about the hearts picture, checked on the CPU reference. The expected
// numbers are worked out by hand from the shader's formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/picture/hearts_reference.h"

namespace picture {
namespace {

constexpr float kPi = 3.14159265f;

// ---- Building blocks -------------------------------------------------------

TEST(HeartsReference, SmoothStepRisesAndFallsWithTheOrderOfItsEdges) {
    struct Case {
        float e0, e1, x, want;
    } cases[] = {
        {0.0f, 1.0f, -0.5f, 0.0f}, {0.0f, 1.0f, 0.5f, 0.5f},  {0.0f, 1.0f, 0.25f, 0.15625f},
        {0.0f, 1.0f, 2.0f, 1.0f},  {1.0f, 0.5f, 0.4f, 1.0f},  {1.0f, 0.5f, 0.75f, 0.5f},
        {1.0f, 0.5f, 0.875f, 0.15625f}, {1.0f, 0.5f, 1.1f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(S(c.e0, c.e1, c.x), c.want, 1e-6f) << c.e0 << " " << c.e1 << " " << c.x;
}

TEST(HeartsReference, SmoothMaximumIsTheMaximumAwayFromTheCrossing) {
    struct Case {
        float a, b, k, want;
    } cases[] = {
        {1.0f, 0.0f, 0.3f, 1.0f},       // far apart: the larger
        {0.0f, 1.0f, 0.3f, 1.0f},       //
        {0.5f, 0.5f, 0.2f, 0.55f},      // equal: raised by k / 4
        {0.45f, 0.55f, 0.2f, 0.5625f},  // h = 0.75: 0.525 + 0.2 * 0.1875
    };
    for (const Case& c : cases) EXPECT_NEAR(smax(c.a, c.b, c.k), c.want, 1e-6f) << c.a << " " << c.b;
}

TEST(HeartsReference, RaySphereGivesTheNearAndFarHitOrMinusOne) {
    const CHeartsReference shader;
    struct Case {
        vec3 rd, c;
        vec2 want;
    } cases[] = {
        {{0, 0, 1}, {0, 0, 5}, {4, 6}},
        {{0, 0, 1}, {0, 0.6f, 5}, {4.2f, 5.8f}},  // sqrt(1 - 0.36) = 0.8
        {{0, 0, 1}, {0, 1.5f, 5}, {-1, -1}},      // passes 1.5 from the centre
        {{0, 0, 1}, {0, 0, -5}, {-6, -4}},        // behind the camera
    };
    for (const Case& c : cases) {
        const vec2 got = shader.RaySphere(c.rd, c.c);
        EXPECT_NEAR(got.x, c.want.x, 1e-5f);
        EXPECT_NEAR(got.y, c.want.y, 1e-5f);
    }
}

TEST(HeartsReference, QuaternionsTurnCounterClockwiseAboutTheirAxis) {
    const CHeartsReference shader;
    struct Case {
        vec3 axis;
        float angle;
        vec3 p, want;
    } cases[] = {
        {{0, 0, 1}, kPi / 2, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, 2}, kPi / 2, {0, 1, 0}, {-1, 0, 0}},  // the axis is normalised
        {{1, 0, 0}, kPi / 2, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, kPi, {1, 0, 0}, {-1, 0, 0}},
        {{1, 1, 0}, 0.0f, {0.3f, -2, 5}, {0.3f, -2, 5}},
    };
    for (const Case& c : cases) {
        const vec3 got = shader.qmulv(shader.aa2q(c.axis, c.angle), c.p);
        EXPECT_NEAR(got.x, c.want.x, 1e-5f);
        EXPECT_NEAR(got.y, c.want.y, 1e-5f);
        EXPECT_NEAR(got.z, c.want.z, 1e-5f);
    }
    const vec4 q{0.1f, 0.2f, 0.3f, 0.9f};
    const vec4 one = shader.qmulq(q, shader.qinv(q));
    EXPECT_NEAR(one.x, 0.0f, 1e-6f);
    EXPECT_NEAR(one.y, 0.0f, 1e-6f);
    EXPECT_NEAR(one.z, 0.0f, 1e-6f);
    EXPECT_NEAR(one.w, 1.0f, 1e-6f);
}

TEST(HeartsReference, HeartMaskIsOneInsideAndZeroOutside) {
    const CHeartsReference shader;
    struct Case {
        vec2 uv;
        float b, want;
    } cases[] = {
        {{0.0f, 0.0f}, 0.03f, 1.0f},   {{0.0f, 0.2f}, 0.03f, 1.0f},  {{0.6f, 0.3f}, 0.03f, 1.0f},
        {{0.0f, 1.0f}, 0.03f, 0.0f},   {{1.5f, 0.0f}, 0.03f, 0.0f},  {{0.0f, -0.6f}, 0.03f, 0.0f},
        {{0.0f, -0.9f}, 0.35f, 0.0f},  {{0.0f, 0.0f}, 0.35f, 1.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shader.Heart(c.uv, c.b), c.want) << c.uv.x << " " << c.uv.y << " blur " << c.b;
    // The edge is 2b wide: soft at |uv| - 0.5 between -b and b.
    const float middle = shader.Heart({0.0f, -0.5f}, 0.35f);
    EXPECT_GT(middle, 0.1f);
    EXPECT_LT(middle, 0.9f);
}

// A ball straight ahead, not turned: the front side shows no heart, the back
// side's heart shows through the ball with the back light, opaque.
// Turned half way about the x axis, the heart comes to the front.
TEST(HeartsReference, HeartBallShowsTheHeartOnTheSideItFaces) {
    const CHeartsReference shader;
    const vec3 rd{0, 0, 1}, c{0, 0, 5};
    const float frontLight = 0.8f * 0.577f + 0.2f;  // LIGHT_DIR . (0, 0, -1)
    const float backLight = 0.9f * frontLight;

    const vec4 unturned = shader.HeartBall(rd, c, {0.0f, 0.0f}, 0.03f);
    EXPECT_NEAR(unturned.x, backLight * 1.0f, 1e-5f);
    EXPECT_NEAR(unturned.y, backLight * 0.01f, 1e-6f);
    EXPECT_NEAR(unturned.z, backLight * 0.01f, 1e-6f);
    EXPECT_NEAR(unturned.w, 1.0f, 1e-6f);

    const vec4 halfTurn = shader.HeartBall(rd, c, {0.0f, 0.5f}, 0.03f);
    EXPECT_NEAR(halfTurn.x, frontLight * 1.0f, 1e-4f);
    EXPECT_NEAR(halfTurn.w, 1.0f, 1e-4f);

    const vec4 missed = shader.HeartBall(rd, {0, 1.5f, 5}, {0.0f, 0.0f}, 0.03f);
    EXPECT_EQ(missed.x, 0.0f);
    EXPECT_EQ(missed.w, 0.0f);
}

// ---- Main ------------------------------------------------------------------

TEST(HeartsReference, PixelUvCentresTheViewportAndScalesByItsHeight) {
    const CHeartsReference shader;
    struct Case {
        vec2 fragCoord, viewport, want;
    } cases[] = {
        {{80.5f, 45.5f}, {161, 91}, {0.0f, 0.0f}},                      // centre pixel
        {{1919.5f, 1079.5f}, {1920, 1080}, {959.5f / 1080, 539.5f / 1080}},  // top right: ~(0.889, 0.5)
        {{0.5f, 0.5f}, {1920, 1080}, {-959.5f / 1080, -539.5f / 1080}},  // bottom left
        {{1079.5f, 1919.5f}, {1080, 1920}, {539.5f / 1920, 959.5f / 1920}},  // tall: top right
        {{0.5f, 89.5f}, {160, 90}, {-79.5f / 90, 44.5f / 90}},         // top left
    };
    for (const Case& c : cases) {
        const vec2 got = shader.PixelUv(c.fragCoord, c.viewport);
        EXPECT_NEAR(got.x, c.want.x, 1e-6f) << c.fragCoord.x << " " << c.fragCoord.y;
        EXPECT_NEAR(got.y, c.want.y, 1e-6f) << c.fragCoord.x << " " << c.fragCoord.y;
    }
    const vec2 topRight = shader.PixelUv({1919.5f, 1079.5f}, {1920, 1080});
    EXPECT_NEAR(topRight.x, 0.889f, 1e-3f);
    EXPECT_NEAR(topRight.y, 0.5f, 1e-3f);
}

TEST(HeartsReference, CentrePixelLooksStraightAhead) {
    const CHeartsReference shader;
    const vec2 uv = shader.PixelUv({80.5f, 45.5f}, {161, 91});
    EXPECT_EQ(uv.x, 0.0f);
    EXPECT_EQ(uv.y, 0.0f);
    const vec3 rd = shader.RayDirection(uv);
    EXPECT_EQ(rd.x, 0.0f);
    EXPECT_EQ(rd.y, 0.0f);
    EXPECT_EQ(rd.z, 1.0f);

    const vec3 upRight = shader.RayDirection({0.5f, 0.5f});
    EXPECT_NEAR(upRight.x, 0.5f / std::sqrt(1.5f), 1e-6f);
    EXPECT_NEAR(upRight.y, 0.5f / std::sqrt(1.5f), 1e-6f);
    EXPECT_NEAR(upRight.z, 1.0f / std::sqrt(1.5f), 1e-6f);
}

// Pixel (x, y) of the rendered picture, y from the bottom, is the shader at
// gl_FragCoord (x + 0.5, y + 0.5).
TEST(HeartsReference, RenderEvaluatesPixelCentresCountedFromTheBottom) {
    const CHeartsReference shader;
    const int width = 64, height = 36;
    const float time = 16.9f;
    const CRgbaImage picture = shader.Render(width, height, time);
    const std::vector<HeartPlacement> placements = shader.Placements(time);
    int lit = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const vec4 want = shader.FragmentColour({x + 0.5f, y + 0.5f}, {width, height}, placements);
            const vec4 got = picture.At(x, y);
            ASSERT_EQ(got.x, want.x) << x << " " << y;
            ASSERT_EQ(got.w, want.w) << x << " " << y;
            lit += want.w > 0.0f;
        }
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, width * height);
}

TEST(HeartsReference, FiftyOnePassesFromFarToNear) {
    const std::vector<HeartPlacement> placements = CHeartsReference().Placements(10.0f);
    ASSERT_EQ(placements.size(), 51u);
    EXPECT_EQ(placements.front().i, 0.0f);
    EXPECT_EQ(placements.front().centre.z, 14.0f);
    const HeartPlacement& last = placements.back();
    EXPECT_LT(last.i, 1.0f);
    EXPECT_NEAR(last.i, 0.9999996f, 1e-7f);
    EXPECT_GT(last.centre.z, 2.0f);
    EXPECT_NEAR(last.centre.z, 2.0f, 1e-5f);
    EXPECT_NEAR(last.blur, 0.35f, 1e-6f);  // the nearest is strongly blurred
    EXPECT_NEAR(placements.front().blur, 0.35f, 1e-6f);
    EXPECT_NEAR(placements[20].blur, 0.03f, 1e-4f);  // i = 0.4: depth 9.2, sharp
    EXPECT_NEAR(placements[20].centre.z, 9.2f, 1e-4f);
    for (size_t n = 0; n < placements.size(); ++n) {
        if (n > 0) {
            EXPECT_LT(placements[n].centre.z, placements[n - 1].centre.z) << n;
        }
        EXPECT_GE(placements[n].centre.x, -7.5f);
        EXPECT_LT(placements[n].centre.x, 7.5f);
        EXPECT_GT(placements[n].centre.y, -7.5f);
        EXPECT_LE(placements[n].centre.y, 7.5f);
    }
}

// Heights are equal modulo the 15 units a heart travels (a value at one end of
// the range and one at the other are the same place after the restart).
float HeightDistance(float a, float b) {
    const float d = std::fabs(a - b);
    return std::fmin(d, 15.0f - d);
}

TEST(HeartsReference, HeightsRepeatAfterFiftyThirdsOfASecond) {
    const CHeartsReference shader;
    const float period = 50.0f / 3.0f;
    for (float time : {0.0f, 3.3f, 41.7f, 500.0f}) {
        const std::vector<HeartPlacement> now = shader.Placements(time);
        const std::vector<HeartPlacement> later = shader.Placements(time + period);
        const std::vector<HeartPlacement> halfway = shader.Placements(time + period / 2);
        bool turned = false;
        for (size_t n = 0; n < now.size(); ++n) {
            EXPECT_LT(HeightDistance(later[n].centre.y, now[n].centre.y), 2e-3f) << time << " pass " << n;
            EXPECT_EQ(later[n].centre.x, now[n].centre.x);
            EXPECT_NEAR(HeightDistance(halfway[n].centre.y, now[n].centre.y), 7.5f, 2e-3f);
            turned = turned || std::fabs(later[n].rot.x - now[n].rot.x) > 0.1f;
        }
        EXPECT_TRUE(turned) << "the rotations are not periodic with the heights";
    }
}

TEST(HeartsReference, PixelsNoBallCoversAreExactlyZero) {
    const CHeartsReference shader;
    for (float time : {16.9f, 75.2f}) {
        const int width = 160, height = 90;
        const CRgbaImage picture = shader.Render(width, height, time);
        const std::vector<HeartPlacement> placements = shader.Placements(time);
        int uncovered = 0, lit = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const vec3 rd = shader.RayDirection(shader.PixelUv({x + 0.5f, y + 0.5f}, {160, 90}));
                bool covered = false;
                for (const HeartPlacement& p : placements) covered = covered || shader.RaySphere(rd, p.centre).x > 0.0f;
                const vec4 c = picture.At(x, y);
                lit += c.w > 0.0f;
                if (covered) continue;
                ++uncovered;
                ASSERT_TRUE(c.x == 0.0f && c.y == 0.0f && c.z == 0.0f && c.w == 0.0f) << x << " " << y;
            }
        EXPECT_GT(uncovered, 0);
        EXPECT_GT(lit, 0);
    }
}

TEST(HeartsReference, EachHeartIsBlendedOverWhatIsThereAlphaIncluded) {
    const CHeartsReference shader;
    struct Case {
        vec4 col, heart, want;
    } cases[] = {
        {{0, 0, 0, 0}, {0.8f, 0.008f, 0.008f, 0.5f}, {0.4f, 0.004f, 0.004f, 0.25f}},
        {{0.6f, 0.006f, 0.006f, 1}, {0.2f, 0.002f, 0.002f, 0.5f}, {0.4f, 0.004f, 0.004f, 0.75f}},
        {{0.5f, 0.005f, 0.005f, 0.4f}, {0.9f, 0.009f, 0.009f, 0.25f}, {0.6f, 0.006f, 0.006f, 0.3625f}},
        {{0.3f, 0.003f, 0.003f, 0.4f}, {0.9f, 0.009f, 0.009f, 0}, {0.3f, 0.003f, 0.003f, 0.4f}},
        {{0.3f, 0.003f, 0.003f, 0.4f}, {0.9f, 0.009f, 0.009f, 1}, {0.9f, 0.009f, 0.009f, 1}},
    };
    for (const Case& c : cases) {
        const vec4 got = shader.Blend(c.col, c.heart);
        EXPECT_NEAR(got.x, c.want.x, 1e-6f);
        EXPECT_NEAR(got.y, c.want.y, 1e-6f);
        EXPECT_NEAR(got.z, c.want.z, 1e-6f);
        // new alpha = old (1 - a) + a a
        EXPECT_NEAR(got.w, c.want.w, 1e-6f) << c.col.w << " under " << c.heart.w;
    }
}

// Twice the width at the same height widens the view without stretching:
// the middle of the wide picture is the narrow picture.
TEST(HeartsReference, WiderViewportShowsMoreWithoutStretching) {
    const CHeartsReference shader;
    const int width = 80, height = 90;
    const CRgbaImage narrow = shader.Render(width, height, 32.8f);
    const CRgbaImage wide = shader.Render(2 * width, height, 32.8f);
    int lit = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const vec4 a = narrow.At(x, y), b = wide.At(x + width / 2, y);
            ASSERT_EQ(a.x, b.x) << x << " " << y;
            ASSERT_EQ(a.w, b.w) << x << " " << y;
            lit += a.w > 0.0f;
        }
    EXPECT_GT(lit, 0);
}

}  // namespace
}  // namespace picture
