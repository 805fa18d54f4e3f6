#include "tests/picture/hearts_reference.h"

#include <cmath>

namespace picture {

CRgbaImage CHeartsReference::Render(int width, int height, float iTime) const {
    CRgbaImage image(width, height);
    const vec2 viewport{static_cast<float>(width), static_cast<float>(height)};
    const std::vector<HeartPlacement> placements = Placements(iTime);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const vec2 fragCoord{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            image.Set(x, y, FragmentColour(fragCoord, viewport, placements));
        }
    return image;
}

std::vector<HeartPlacement> CHeartsReference::Placements(float iTime) const {
    std::vector<HeartPlacement> placements;
    const float t = 0.3f * iTime;
    vec2 rot = vec2{0.12f, 0.18f} * t;
    // Added step by step in float, i reaches 0.9999996 after 50 additions:
    // 51 passes, the last one just short of 1.
    for (float i = 0.0f; i < 1.0f; i += 1.0f / NUM_HEARTS) {
        const vec3 centre = HeartCentre(i, t);
        const float blur = HeartBlur(i);
        rot = rot + RotationStep(i);
        placements.push_back({i, centre, rot, blur});
    }
    return placements;
}

vec4 CHeartsReference::FragmentColour(vec2 fragCoord, vec2 viewport,
                                      const std::vector<HeartPlacement>& placements) const {
    const vec2 uv = PixelUv(fragCoord, viewport);
    const vec3 rd = RayDirection(uv);
    vec4 col{0.0f, 0.0f, 0.0f, 0.0f};
    for (const HeartPlacement& p : placements) {
        const vec4 heart = HeartBall(rd, p.centre, p.rot, p.blur);
        col = Blend(col, heart);
    }
    return col;
}

vec2 CHeartsReference::PixelUv(vec2 fragCoord, vec2 viewport) const {
    return (fragCoord - viewport * 0.5f) / viewport.y;
}

vec3 CHeartsReference::RayDirection(vec2 uv) const {
    return normalize(vec3{uv.x, uv.y, 1.0f});
}

vec3 CHeartsReference::HeartCentre(float i, float t) const {
    const float x = (fract(Cos(536.3f * i) * 7464.4f) - 0.5f) * 15.0f;
    const float y = -(fract(-0.2f * t + 7.64f * i) - 0.5f) * 15.0f;
    const float z = mix(14.0f, 2.0f, i);
    return {x, y, z};
}

float CHeartsReference::HeartBlur(float i) const {
    return mix(0.03f, 0.35f, S(0.0f, 0.4f, std::fabs(0.4f - i)));
}

vec2 CHeartsReference::RotationStep(float i) const {
    const vec2 angles = vec2{i, i} * vec2{536.3f, 23.4f};
    const vec2 hashed = fract(vec2{Sin(angles.x), Sin(angles.y)} * vec2{764.4f, 987.3f});
    return hashed - vec2{0.5f, 0.5f};
}

vec4 CHeartsReference::Blend(vec4 col, vec4 heart) const {
    return mix(col, heart, heart.w);
}

vec4 CHeartsReference::qmulq(vec4 q1, vec4 q2) const {
    const vec3 v = xyz(q1) * q2.w + xyz(q2) * q1.w + cross(xyz(q1), xyz(q2));
    return with_w(v, q1.w * q2.w - dot(xyz(q1), xyz(q2)));
}

vec4 CHeartsReference::aa2q(vec3 axis, float angle) const {
    return with_w(normalize(axis) * Sin(angle / 2.0f), Cos(angle / 2.0f));
}

vec4 CHeartsReference::qinv(vec4 q) const {
    return with_w(-xyz(q), q.w) / dot(q, q);
}

vec3 CHeartsReference::qmulv(vec4 q, vec3 p) const {
    return xyz(qmulq(qmulq(q, with_w(p, 0.0f)), qinv(q)));
}

vec2 CHeartsReference::RaySphere(vec3 rd, vec3 c) const {
    const float l = dot(rd, c);
    float det = l * l - dot(c, c) + 1.0f;
    if (det < 0.0f) return {-1.0f, -1.0f};
    det = std::sqrt(det);
    return {l - det, l + det};
}

SphereInfo CHeartsReference::GetSphereUvs(vec3 rd, vec2 i, vec2 rot, vec3 c) const {
    rot = rot * 6.2831f;
    const vec4 q = aa2q(vec3{Cos(rot.x), Sin(rot.x), 0.0f}, rot.y);
    const vec3 o = qmulv(q, -c) + c;
    const vec3 d = qmulv(q, rd);

    SphereInfo info;
    info.p1 = rd * i.x;
    vec3 p = o + d * i.x - c;
    info.uv1 = {Atan(p.x, p.z), p.y};
    info.n1 = info.p1 - c;

    info.p2 = rd * i.y;
    p = o + d * i.y - c;
    info.uv2 = {Atan(p.x, p.z), p.y};
    info.n2 = c - info.p2;
    return info;
}

float CHeartsReference::Heart(vec2 uv, float b) const {
    uv.x = 0.5f * uv.x;
    const float shape = 0.5f * smax(std::sqrt(std::fabs(uv.x)), b, 0.3f * b);
    uv.y = uv.y - shape * (1.0f - b);
    return S(b, -b, length(uv) - 0.5f);
}

vec4 CHeartsReference::HeartBall(vec3 rd, vec3 c, vec2 rot, float blur) const {
    const vec2 d = RaySphere(rd, c);
    if (d.x <= 0.0f) return {0.0f, 0.0f, 0.0f, 0.0f};
    const SphereInfo info = GetSphereUvs(rd, d, rot, c);

    const float sd = length(cross(c, rd));
    const float edge = S(1.0f, mix(1.0f, 0.1f, blur), sd);
    const float backMask = Heart(info.uv2, blur) * edge;
    const float frontMask = Heart(info.uv1, blur) * edge;

    const float frontLight = sat(0.8f * dot(LIGHT_DIR, info.n1) + 0.2f);
    const float backLight = 0.9f * sat(0.8f * dot(LIGHT_DIR, info.n2) + 0.2f);
    const vec4 back = with_w(HEARTCOL * backLight, backMask);
    const vec4 front = with_w(HEARTCOL * frontLight, frontMask);
    return mix(back, front, frontMask);
}

float CHeartsReference::Sin(float x) const { return sinf(x); }
float CHeartsReference::Cos(float x) const { return cosf(x); }
float CHeartsReference::Atan(float y, float x) const { return atan2f(y, x); }

}  // namespace picture
