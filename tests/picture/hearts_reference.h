// CPU reference of the hearts fragment shader: the test oracle for the
// picture the screensaver draws. It follows the shader's algorithm step by
// step in single precision (float, sinf/cosf/atan2f/sqrtf), with the same
// names, so that it can be read side by side with the algorithm.
//
// The per-frame part of the shader's main loop (where each of the 51 balls is,
// how it is turned and blurred) does not depend on the pixel, so it is
// computed once per frame by Placements(); FragmentColour() then runs the
// per-pixel part of the same loop over those placements in the same order.
//
// The steps are virtual so that a test can replace exactly one of them with a
// deliberate fault (to prove the picture comparison notices it) or with a
// tiny perturbation (to prove the comparison tolerates it). The class itself
// is the correct shader.
#pragma once

#include <vector>

#include "tests/picture/rgba_image.h"
#include "tests/picture/shader_math.h"

namespace picture {

// What GetSphereUvs returns: both hits of a ray with a ball, in camera space
// (p1, p2), their normals facing the camera (n1, n2) and their coordinates on
// the turned ball (uv1, uv2: longitude about the ball's own y axis, height).
struct SphereInfo {
    vec3 p1, p2, n1, n2;
    vec2 uv1, uv2;
};

// One pass of the main loop: the loop variable, the ball's centre, its
// rotation (the running sum, before the factor 2 pi) and its blur.
struct HeartPlacement {
    float i = 0.0f;
    vec3 centre;
    vec2 rot;
    float blur = 0.0f;
};

class CHeartsReference {
public:
    static constexpr vec3 HEARTCOL{1.0f, 0.01f, 0.01f};
    static constexpr float NUM_HEARTS = 50.0f;
    static constexpr vec3 LIGHT_DIR{0.577f, -0.577f, -0.577f};

    virtual ~CHeartsReference() = default;

    // The whole picture of a width x height viewport at iTime; pixel (x, y),
    // y from the bottom, is the shader at gl_FragCoord (x + 0.5, y + 0.5).
    CRgbaImage Render(int width, int height, float iTime) const;

    // Main, per frame: t = 0.3 iTime and the loop over i (steps 6.1 to 6.5).
    virtual std::vector<HeartPlacement> Placements(float iTime) const;
    // Main, per pixel: uv, the ray and the blend of every ball over the last.
    vec4 FragmentColour(vec2 fragCoord, vec2 viewport,
                        const std::vector<HeartPlacement>& placements) const;

    // Main step 1: the viewport's centre is 0, the height spans -0.5..0.5.
    virtual vec2 PixelUv(vec2 fragCoord, vec2 viewport) const;
    // Main step 4: camera at the origin looking along +z, y up.
    vec3 RayDirection(vec2 uv) const;
    // Main steps 6.1 to 6.3: the centre of ball i at scaled time t.
    virtual vec3 HeartCentre(float i, float t) const;
    // Main step 6.4: sharpest at i = 0.4, most blurred 0.4 or more away.
    virtual float HeartBlur(float i) const;
    // Main step 6.5: what pass i adds to the running rotation.
    vec2 RotationStep(float i) const;
    // Main step 6.7: each nearer heart laid over what is already there.
    virtual vec4 Blend(vec4 col, vec4 heart) const;

    // The building blocks of the fragment shader.
    vec4 qmulq(vec4 q1, vec4 q2) const;
    vec4 aa2q(vec3 axis, float angle) const;
    vec4 qinv(vec4 q) const;
    vec3 qmulv(vec4 q, vec3 p) const;
    vec2 RaySphere(vec3 rd, vec3 c) const;
    SphereInfo GetSphereUvs(vec3 rd, vec2 i, vec2 rot, vec3 c) const;
    float Heart(vec2 uv, float b) const;
    virtual vec4 HeartBall(vec3 rd, vec3 c, vec2 rot, float blur) const;

    // The functions of the C library the shader's built-ins stand for.
    virtual float Sin(float x) const;
    virtual float Cos(float x) const;
    virtual float Atan(float y, float x) const;
};

}  // namespace picture
