// Single-precision vectors and the GLSL built-ins the hearts fragment shader
// uses, written out so the CPU reference reads like the shader's algorithm.
// Every operation is plain float arithmetic in the order written; the builds
// of this folder turn off fused multiply-add contraction so the results are
// the same on every compiler.
#pragma once

#include <cmath>

namespace picture {

struct vec2 {
    float x = 0.0f, y = 0.0f;
};

struct vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct vec4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

inline vec2 operator+(vec2 a, vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline vec2 operator-(vec2 a, vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline vec2 operator*(vec2 a, vec2 b) { return {a.x * b.x, a.y * b.y}; }
inline vec2 operator*(vec2 a, float s) { return {a.x * s, a.y * s}; }
inline vec2 operator/(vec2 a, float s) { return {a.x / s, a.y / s}; }

inline vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline vec3 operator-(vec3 a) { return {-a.x, -a.y, -a.z}; }
inline vec3 operator*(vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline vec3 operator/(vec3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }

inline vec4 operator+(vec4 a, vec4 b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
inline vec4 operator-(vec4 a, vec4 b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
inline vec4 operator*(vec4 a, float s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
inline vec4 operator/(vec4 a, float s) { return {a.x / s, a.y / s, a.z / s, a.w / s}; }

inline vec3 xyz(vec4 v) { return {v.x, v.y, v.z}; }
inline vec4 with_w(vec3 v, float w) { return {v.x, v.y, v.z, w}; }

inline float dot(vec2 a, vec2 b) { return a.x * b.x + a.y * b.y; }
inline float dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float dot(vec4 a, vec4 b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
inline vec3 cross(vec3 a, vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(vec2 v) { return std::sqrt(dot(v, v)); }
inline float length(vec3 v) { return std::sqrt(dot(v, v)); }
inline vec3 normalize(vec3 v) { return v / length(v); }

// fract(x) = x - floor(x), always in [0, 1).
inline float fract(float x) { return x - std::floor(x); }
inline vec2 fract(vec2 v) { return {fract(v.x), fract(v.y)}; }

// clamp(x, 0, 1), named sat in the shader.
inline float sat(float x) { return std::fmin(std::fmax(x, 0.0f), 1.0f); }

// mix(a, b, h) = a + (b - a) * h.
inline float mix(float a, float b, float h) { return a + (b - a) * h; }
inline vec4 mix(vec4 a, vec4 b, float h) { return a + (b - a) * h; }

// The shader's S: u = sat((x - e0) / (e1 - e0)), u^2 (3 - 2u). With e0 > e1
// it is a falling edge: 1 below e1, 0 above e0.
inline float S(float e0, float e1, float x) {
    float u = sat((x - e0) / (e1 - e0));
    return u * u * (3.0f - 2.0f * u);
}

// Polynomial smooth maximum of a and b over a width k.
inline float smax(float a, float b, float k) {
    float h = sat(0.5f + 0.5f * (b - a) / k);
    return mix(a, b, h) + k * h * (1.0f - h);
}

}  // namespace picture
