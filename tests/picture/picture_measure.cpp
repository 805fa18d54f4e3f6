#include "tests/picture/picture_measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace picture {

namespace {

// The limits below come from rendering the reference's own variants at
// 160x90, 90x160 and 128x128 and 8-bit storage: small differences (sine and
// cosine 1 to 4 ulps off, rounded to 21 bits, arc tangent 8 ulps off, GLSL's
// form of mix, the whole picture moved by half a pixel or one pixel) against
// deliberate faults (tests/picture/picture_measure_test.cpp has both lists).
// Each limit sits between the largest value of the small differences and the
// smallest value of the faults the check is there for. For scale: a GLSL
// transcription of the same algorithm rendered by llvmpipe differs
// from the reference by a tenth of each limit or less (match at most 0.04).

// How far, in pixels, a heart may sit from where the reference has it. One
// ulp of cos moves a heart by 0.007 (one step of the hashed product, times
// 15) and the ulps add up through the rotations; at the nearest depth, 2, one
// unit is half the viewport's height, so a few ulps are a pixel or two.
constexpr int kShift = 3;

// Radius of the box that smooths both pictures before they are matched: an
// edge that moves by a fraction of a pixel changes the smoothed value by that
// fraction over five.
constexpr int kSmoothing = 2;

// Relative change of a channel's sum. Moves change it only where a heart
// crosses the picture's edge: at most 2 % for a one-pixel shift, 6 % for
// sine and cosine 4 ulps off. Alpha blended like colour ("over") changes the
// alpha sum by 20 to 43 %, the back hearts left out change the red sum by
// half or more.
constexpr double kMassLimit = 0.08;

// Summed differences of the cells relative to the total. Moves carry mass
// over cell borders: at most 11 % for a one-pixel shift and 31 % for two
// pixels in x and y. Mirrored pictures, a wrong speed and a reversed depth
// order give 60 % and more.
constexpr double kRegionLimit = 0.4;

// Largest value difference left after the neighbourhood search (0..1). Half
// a pixel of shift leaves at most 0.09 and sine and cosine 4 ulps off 0.08
// (whole-pixel shifts up to kShift leave 0). Far hearts laid over near ones
// give 0.23 and more where they overlap, a wrong far blur, focus or blur
// ramp 0.12 to 0.9 (a slightly wrong sharpest blur shows in the sharpness).
constexpr double kMatchLimit = 0.15;

// |ln| of the ratio of the summed squared gradients. A one-pixel or half-
// pixel shift changes it by at most 0.05 (through the picture's edge), sine
// and cosine 4 ulps off by 0.04; twice the sharpest blur (0.06 for 0.03)
// gives 0.095 and more.
constexpr double kSharpnessLimit = 0.08;

constexpr int kRed = 0;
constexpr int kAlpha = 3;
const char* const kChannelNames = "RGBA";

// Sums below this share of a fully lit picture count as this much, so that a
// nearly empty picture does not turn tiny absolute differences into large
// relative ones.
double MassFloor(const CRgbaImage& image) {
    return 1e-3 * image.Width() * image.Height();
}

bool IsEmpty(vec4 c) {
    return c.x == 0.0f && c.y == 0.0f && c.z == 0.0f && c.w == 0.0f;
}

// Pixels at least `margin` pixels away from the picture's edge.
template <typename Visit>
void ForInterior(const CRgbaImage& image, int margin, Visit visit) {
    for (int y = margin; y < image.Height() - margin; ++y)
        for (int x = margin; x < image.Width() - margin; ++x) visit(x, y);
}

// Pixels of the candidate that are not (0, 0, 0, 0) although the reference
// has nothing within kShift pixels.
double CountLitEmptyPixels(const CRgbaImage& reference, const CRgbaImage& candidate) {
    double count = 0;
    ForInterior(reference, kShift, [&](int x, int y) {
        if (IsEmpty(candidate.At(x, y))) return;
        for (int dy = -kShift; dy <= kShift; ++dy)
            for (int dx = -kShift; dx <= kShift; ++dx)
                if (!IsEmpty(reference.At(x + dx, y + dy))) return;
        ++count;
    });
    return count;
}

double ChannelSum(const CRgbaImage& image, int channel) {
    double sum = 0.0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) sum += image.Channel(x, y, channel);
    return sum;
}

// |sum(candidate) - sum(reference)| / sum(reference) for one channel.
double MassDifference(const CRgbaImage& reference, const CRgbaImage& candidate, int channel) {
    const double want = ChannelSum(reference, channel);
    const double got = ChannelSum(candidate, channel);
    return std::fabs(got - want) / std::max(want, MassFloor(reference));
}

// The channel summed over square cells of a quarter of the shorter side;
// the summed absolute differences of the cells relative to the total.
double RegionDifference(const CRgbaImage& reference, const CRgbaImage& candidate, int channel) {
    const int cell = std::max(1, std::min(reference.Width(), reference.Height()) / 4);
    const int columns = (reference.Width() + cell - 1) / cell;
    const int rows = (reference.Height() + cell - 1) / cell;
    std::vector<double> difference(static_cast<size_t>(columns) * rows, 0.0);
    for (int y = 0; y < reference.Height(); ++y)
        for (int x = 0; x < reference.Width(); ++x)
            difference[(y / cell) * columns + x / cell] +=
                candidate.Channel(x, y, channel) - reference.Channel(x, y, channel);
    double sum = 0.0;
    for (double d : difference) sum += std::fabs(d);
    return sum / std::max(ChannelSum(reference, channel), MassFloor(reference));
}

// Each channel averaged over the box of radius kSmoothing (clipped at the edge).
CRgbaImage Smoothed(const CRgbaImage& image) {
    CRgbaImage out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            vec4 sum;
            int n = 0;
            for (int dy = -kSmoothing; dy <= kSmoothing; ++dy)
                for (int dx = -kSmoothing; dx <= kSmoothing; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= image.Width() || sy >= image.Height()) continue;
                    sum = sum + image.At(sx, sy);
                    ++n;
                }
            out.Set(x, y, sum / static_cast<float>(n));
        }
    return out;
}

// For every interior pixel of `from`, the smallest difference (the larger of
// the red and the alpha difference) to a pixel of `to` within kShift pixels;
// the largest such difference over the picture.
double WorstUnmatched(const CRgbaImage& from, const CRgbaImage& to) {
    double worst = 0.0;
    ForInterior(from, kShift + kSmoothing, [&](int x, int y) {
        const vec4 want = from.At(x, y);
        double best = 1e9;
        for (int dy = -kShift; dy <= kShift && best > 0.0; ++dy)
            for (int dx = -kShift; dx <= kShift; ++dx) {
                const vec4 got = to.At(x + dx, y + dy);
                best = std::min(best, static_cast<double>(std::max(std::fabs(got.x - want.x),
                                                                   std::fabs(got.w - want.w))));
            }
        worst = std::max(worst, best);
    });
    return worst;
}

double MatchDifference(const CRgbaImage& reference, const CRgbaImage& candidate) {
    const CRgbaImage a = Smoothed(reference);
    const CRgbaImage b = Smoothed(candidate);
    return std::max(WorstUnmatched(a, b), WorstUnmatched(b, a));
}

// Sum of squared differences between neighbouring pixels of one channel.
double GradientEnergy(const CRgbaImage& image, int channel) {
    double energy = 0.0;
    for (int y = 0; y + 1 < image.Height(); ++y)
        for (int x = 0; x + 1 < image.Width(); ++x) {
            const double v = image.Channel(x, y, channel);
            const double dx = image.Channel(x + 1, y, channel) - v;
            const double dy = image.Channel(x, y + 1, channel) - v;
            energy += dx * dx + dy * dy;
        }
    return energy;
}

// |ln(energy(candidate) / energy(reference))|: 0.69 for twice or half.
double SharpnessDifference(const CRgbaImage& reference, const CRgbaImage& candidate, int channel) {
    const double floor = 1e-6 * reference.Width() * reference.Height();
    const double want = std::max(GradientEnergy(reference, channel), floor);
    const double got = std::max(GradientEnergy(candidate, channel), floor);
    return std::fabs(std::log(got / want));
}

std::string ChannelCheckName(const char* what, int channel) {
    return std::string(what) + " " + kChannelNames[channel];
}

}  // namespace

bool PictureComparison::Similar() const {
    return std::all_of(checks.begin(), checks.end(), [](const PictureCheck& c) { return c.Passed(); });
}

std::string PictureComparison::Failed() const {
    std::string failed;
    for (const PictureCheck& c : checks) {
        if (c.Passed()) continue;
        if (!failed.empty()) failed += ' ';
        failed += c.name;
    }
    return failed;
}

std::string PictureComparison::Report() const {
    std::string report;
    char line[160];
    for (const PictureCheck& c : checks) {
        std::snprintf(line, sizeof line, "%-14s %10.4f  (limit %.4f)  %s\n", c.name.c_str(), c.value,
                      c.limit, c.Passed() ? "ok" : "FAILED");
        report += line;
    }
    return report;
}

PictureComparison ComparePictures(const CRgbaImage& reference, const CRgbaImage& candidate) {
    PictureComparison result;
    const bool sameSize =
        reference.Width() == candidate.Width() && reference.Height() == candidate.Height();
    result.checks.push_back({"size", sameSize ? 0.0 : 1.0, 0.0});
    if (!sameSize) return result;

    result.checks.push_back({"empty pixels", CountLitEmptyPixels(reference, candidate), 0.0});
    for (int channel = 0; channel < 4; ++channel)
        result.checks.push_back({ChannelCheckName("mass", channel),
                                 MassDifference(reference, candidate, channel), kMassLimit});
    for (int channel : {kRed, kAlpha})
        result.checks.push_back({ChannelCheckName("regions", channel),
                                 RegionDifference(reference, candidate, channel), kRegionLimit});
    result.checks.push_back({"match", MatchDifference(reference, candidate), kMatchLimit});
    for (int channel : {kRed, kAlpha})
        result.checks.push_back({ChannelCheckName("sharpness", channel),
                                 SharpnessDifference(reference, candidate, channel), kSharpnessLimit});
    return result;
}

}  // namespace picture
