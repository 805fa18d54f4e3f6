// The picture measure's power: deliberately wrong shaders (the reference with
// one step replaced by a plausible mistake) must fail the comparison with the
// reference, and the small differences a GPU really produces (last-bit
// differences of sine, cosine and arc tangent, another rounding of mix, a
// pixel of shift, 8-bit storage) must pass it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tests/picture/hearts_reference.h"
#include "tests/picture/picture_measure.h"

namespace picture {
namespace {

// ---- Deliberate faults ----------------------------------------------------

class MirroredX : public CHeartsReference {
    vec2 PixelUv(vec2 fragCoord, vec2 viewport) const override {
        const vec2 uv = CHeartsReference::PixelUv(fragCoord, viewport);
        return {-uv.x, uv.y};
    }
};

class MirroredY : public CHeartsReference {
    vec2 PixelUv(vec2 fragCoord, vec2 viewport) const override {
        const vec2 uv = CHeartsReference::PixelUv(fragCoord, viewport);
        return {uv.x, -uv.y};
    }
};

class AspectFromWidth : public CHeartsReference {
    vec2 PixelUv(vec2 fragCoord, vec2 viewport) const override {
        return (fragCoord - viewport * 0.5f) / viewport.x;
    }
};

class TimeScaled : public CHeartsReference {
    std::vector<HeartPlacement> Placements(float iTime) const override {
        return CHeartsReference::Placements(1.1f * iTime);
    }
};

class RiseFaster : public CHeartsReference {
    vec3 HeartCentre(float i, float t) const override {
        vec3 c = CHeartsReference::HeartCentre(i, t);
        c.y = -(fract(-0.22f * t + 7.64f * i) - 0.5f) * 15.0f;
        return c;
    }
};

class Sinking : public CHeartsReference {
    vec3 HeartCentre(float i, float t) const override {
        vec3 c = CHeartsReference::HeartCentre(i, t);
        c.y = -c.y;
        return c;
    }
};

// The blur with other constants: mix(nearest, farthest, S(0, ramp, |focus - i|)).
class BlurConstants : public CHeartsReference {
public:
    BlurConstants(float sharpest, float most, float focus, float ramp)
        : sharpest(sharpest), most(most), focus(focus), ramp(ramp) {}

private:
    float HeartBlur(float i) const override {
        return mix(sharpest, most, S(0.0f, ramp, std::fabs(focus - i)));
    }
    float sharpest, most, focus, ramp;
};

class FarOverNear : public CHeartsReference {
    std::vector<HeartPlacement> Placements(float iTime) const override {
        std::vector<HeartPlacement> placements = CHeartsReference::Placements(iTime);
        std::reverse(placements.begin(), placements.end());
        return placements;
    }
};

class DepthReversed : public CHeartsReference {
    vec3 HeartCentre(float i, float t) const override {
        vec3 c = CHeartsReference::HeartCentre(i, t);
        c.z = mix(2.0f, 14.0f, i);
        return c;
    }
};

class BlendOperandsSwapped : public CHeartsReference {
    vec4 Blend(vec4 col, vec4 heart) const override { return mix(heart, col, heart.w); }
};

class AlphaBlendedOver : public CHeartsReference {
    vec4 Blend(vec4 col, vec4 heart) const override {
        vec4 out = mix(col, heart, heart.w);
        out.w = col.w * (1.0f - heart.w) + heart.w;
        return out;
    }
};

class AlphaOpaque : public CHeartsReference {
    vec4 Blend(vec4 col, vec4 heart) const override {
        vec4 out = mix(col, heart, heart.w);
        out.w = 1.0f;
        return out;
    }
};

class BackSideMissing : public CHeartsReference {
    vec4 HeartBall(vec3 rd, vec3 c, vec2 rot, float blur) const override {
        const vec4 both = CHeartsReference::HeartBall(rd, c, rot, blur);
        // Keep the front heart only: what the near side alone would give.
        const vec2 d = RaySphere(rd, c);
        if (d.x <= 0.0f) return both;
        const SphereInfo info = GetSphereUvs(rd, d, rot, c);
        const float edge = S(1.0f, mix(1.0f, 0.1f, blur), length(cross(c, rd)));
        const float frontMask = Heart(info.uv1, blur) * edge;
        return {both.x, both.y, both.z, frontMask};
    }
};

// ---- Differences a GPU may really have ----------------------------------

float StepUlps(float v, int ulps) {
    for (int n = 0; n < std::abs(ulps); ++n) v = std::nextafter(v, ulps > 0 ? INFINITY : -INFINITY);
    return v;
}

// Keeps `bits` significant bits of v (round to nearest).
float RoundToBits(float v, int bits) {
    int exponent = 0;
    const float mantissa = std::frexp(v, &exponent);
    const float scale = std::ldexp(1.0f, bits);
    return std::ldexp(std::nearbyint(mantissa * scale) / scale, exponent);
}

class TrigUlps : public CHeartsReference {
public:
    explicit TrigUlps(int ulps) : ulps(ulps) {}

private:
    float Sin(float x) const override { return StepUlps(CHeartsReference::Sin(x), ulps); }
    float Cos(float x) const override { return StepUlps(CHeartsReference::Cos(x), ulps); }
    int ulps;
};

class TrigRounded : public CHeartsReference {
public:
    explicit TrigRounded(int bits) : bits(bits) {}

private:
    float Sin(float x) const override { return RoundToBits(CHeartsReference::Sin(x), bits); }
    float Cos(float x) const override { return RoundToBits(CHeartsReference::Cos(x), bits); }
    float Atan(float y, float x) const override {
        return RoundToBits(CHeartsReference::Atan(y, x), bits);
    }
    int bits;
};

class AtanUlps : public CHeartsReference {
public:
    explicit AtanUlps(int ulps) : ulps(ulps) {}

private:
    float Atan(float y, float x) const override { return StepUlps(CHeartsReference::Atan(y, x), ulps); }
    int ulps;
};

// GLSL's own definition of mix: x (1 - a) + y a.
class GlslMix : public CHeartsReference {
    vec4 Blend(vec4 col, vec4 heart) const override {
        const float a = heart.w;
        return col * (1.0f - a) + heart * a;
    }
};

class Shifted : public CHeartsReference {
public:
    Shifted(float dx, float dy) : dx(dx), dy(dy) {}

private:
    vec2 PixelUv(vec2 fragCoord, vec2 viewport) const override {
        return CHeartsReference::PixelUv(fragCoord + vec2{dx, dy}, viewport);
    }
    float dx, dy;
};

// ---- Cases ----------------------------------------------------------------

struct Viewport {
    int width, height;
};

// A wide, a tall and a square viewport, small because the GPU frames they
// stand for are rendered by llvmpipe.
const Viewport kViewports[] = {{160, 90}, {90, 160}, {128, 128}};
// Times at which, in all three viewports, near hearts overlap far ones (so
// the order of drawing shows) and long enough after the start that a speed
// 10 % off has moved the hearts.
const float kTimes[] = {16.9f, 32.8f, 75.2f};

struct Variant {
    const char* name;
    std::function<std::unique_ptr<CHeartsReference>()> make;
    bool showsOnSquare = true;  // false: the fault changes nothing when width == height
};

template <typename T, typename... Args>
Variant Make(const char* name, Args... args) {
    return {name, [=] { return std::unique_ptr<CHeartsReference>(new T(args...)); }};
}

Variant OnlyWhenNotSquare(Variant v) {
    v.showsOnSquare = false;
    return v;
}

const std::vector<Variant>& Faults() {
    static const std::vector<Variant> faults = {
        Make<MirroredX>("mirrored left to right"),
        Make<MirroredY>("mirrored top to bottom"),
        OnlyWhenNotSquare(Make<AspectFromWidth>("uv divided by the width")),
        Make<TimeScaled>("time 10 % fast"),
        Make<RiseFaster>("rising 10 % fast"),
        Make<Sinking>("sinking instead of rising"),
        Make<BlurConstants>("sharpest blur 0.06", 0.06f, 0.35f, 0.4f, 0.4f),
        Make<BlurConstants>("sharpest blur 0.1", 0.1f, 0.35f, 0.4f, 0.4f),
        Make<BlurConstants>("most blur 0.2", 0.03f, 0.2f, 0.4f, 0.4f),
        Make<BlurConstants>("most blur 0.5", 0.03f, 0.5f, 0.4f, 0.4f),
        Make<BlurConstants>("sharpest and most blur swapped", 0.35f, 0.03f, 0.4f, 0.4f),
        Make<BlurConstants>("no depth blur", 0.03f, 0.03f, 0.4f, 0.4f),
        Make<BlurConstants>("focus at i = 0.6", 0.03f, 0.35f, 0.6f, 0.4f),
        Make<BlurConstants>("focus at i = 0.2", 0.03f, 0.35f, 0.2f, 0.4f),
        Make<BlurConstants>("blur ramp 0.2 wide", 0.03f, 0.35f, 0.4f, 0.2f),
        Make<FarOverNear>("far hearts drawn over near ones"),
        Make<DepthReversed>("depths reversed"),
        Make<BlendOperandsSwapped>("blend operands swapped"),
        Make<AlphaBlendedOver>("alpha blended as over"),
        Make<AlphaOpaque>("alpha always 1"),
        Make<BackSideMissing>("back hearts missing"),
    };
    return faults;
}

const std::vector<Variant>& SmallDifferences() {
    static const std::vector<Variant> differences = {
        Make<TrigUlps>("sin and cos 1 ulp up", 1),
        Make<TrigUlps>("sin and cos 1 ulp down", -1),
        Make<TrigUlps>("sin and cos 4 ulps up", 4),
        Make<TrigRounded>("sin, cos and atan rounded to 22 bits", 22),
        Make<TrigRounded>("sin, cos and atan rounded to 21 bits", 21),
        Make<AtanUlps>("atan 8 ulps up", 8),
        Make<GlslMix>("mix as x (1 - a) + y a"),
        Make<Shifted>("one pixel right", 1.0f, 0.0f),
        Make<Shifted>("one pixel down", 0.0f, -1.0f),
        Make<Shifted>("half a pixel right and down", 0.5f, -0.5f),
    };
    return differences;
}

std::string CaseName(const Viewport& v, float time) {
    char name[64];
    std::snprintf(name, sizeof name, "%dx%d at %.2f s", v.width, v.height, time);
    return name;
}

// Runs `check` for every viewport and time with the 8-bit reference picture
// and the 8-bit picture of every variant, as a framebuffer would hold them.
template <typename Check>
void ForEveryCase(const std::vector<Variant>& variants, Check check) {
    const CHeartsReference reference;
    for (const Viewport& v : kViewports)
        for (float time : kTimes) {
            const CRgbaImage want = reference.Render(v.width, v.height, time).Quantized();
            for (const Variant& variant : variants) {
                if (v.width == v.height && !variant.showsOnSquare) continue;
                const CRgbaImage got = variant.make()->Render(v.width, v.height, time).Quantized();
                check(variant, CaseName(v, time), ComparePictures(want, got));
            }
        }
}

TEST(PictureMeasure, EveryFaultFailsInEveryCase) {
    ForEveryCase(Faults(), [](const Variant& fault, const std::string& name, const PictureComparison& c) {
        EXPECT_FALSE(c.Similar()) << fault.name << ", " << name << ", passed:\n" << c.Report();
    });
}

TEST(PictureMeasure, SmallDifferencesPassInEveryCase) {
    ForEveryCase(SmallDifferences(),
                 [](const Variant& difference, const std::string& name, const PictureComparison& c) {
                     EXPECT_TRUE(c.Similar()) << difference.name << ", " << name << ", failed:\n"
                                              << c.Report();
                 });
}

TEST(PictureMeasure, IdenticalPicturesMeasureZero) {
    const CRgbaImage picture = CHeartsReference().Render(160, 90, 16.9f);
    const PictureComparison c = ComparePictures(picture, picture);
    ASSERT_EQ(c.checks.size(), 11u);
    for (const PictureCheck& check : c.checks) EXPECT_EQ(check.value, 0.0) << check.name;
    EXPECT_TRUE(c.Similar());
    EXPECT_EQ(c.Failed(), "");
}

TEST(PictureMeasure, PicturesOfDifferentSizesAreNeverSimilar) {
    const CHeartsReference reference;
    const Viewport others[] = {{161, 90}, {160, 89}, {90, 160}};
    const CRgbaImage want = reference.Render(160, 90, 16.9f);
    for (const Viewport& v : others) {
        const PictureComparison c = ComparePictures(want, reference.Render(v.width, v.height, 16.9f));
        EXPECT_EQ(c.Failed(), "size") << v.width << "x" << v.height;
    }
}

// A single pixel far from every heart that is not exactly (0, 0, 0, 0) fails
// the picture, whichever channel carries the stray value; nothing else
// notices so small a change.
TEST(PictureMeasure, OneStrayPixelFarFromTheHeartsFails) {
    const CRgbaImage want = CHeartsReference().Render(160, 90, 16.9f).Quantized();
    int emptyX = -1, emptyY = -1;
    for (int y = 10; y < want.Height() - 10 && emptyX < 0; ++y)
        for (int x = 10; x < want.Width() - 10 && emptyX < 0; ++x) {
            bool empty = true;
            for (int dy = -5; dy <= 5; ++dy)
                for (int dx = -5; dx <= 5; ++dx) {
                    const vec4 c = want.At(x + dx, y + dy);
                    empty = empty && c.x == 0.0f && c.y == 0.0f && c.z == 0.0f && c.w == 0.0f;
                }
            if (empty) emptyX = x, emptyY = y;
        }
    ASSERT_GE(emptyX, 0) << "the test picture has no empty area";
    const vec4 strays[] = {{1 / 255.0f, 0, 0, 0}, {0, 1 / 255.0f, 0, 0}, {0, 0, 1 / 255.0f, 0}, {0, 0, 0, 1 / 255.0f}};
    for (const vec4& stray : strays) {
        CRgbaImage got = want;
        got.Set(emptyX, emptyY, stray);
        EXPECT_EQ(ComparePictures(want, got).Failed(), "empty pixels");
    }
}

}  // namespace
}  // namespace picture
