#version 110
// Hearts, fragment stage: fifty-one invisible unit balls in front of a camera
// at the origin, each with a red heart printed on its near and its far side.
// The balls rise slowly and turn; they are sharp at a middle distance and
// blurred nearer and farther. Every pixel is computed here.

uniform float iTime;          // seconds since the screensaver started
uniform float viewportWidth;  // pixels
uniform float viewportHeight; // pixels

// Declared for the host program; this picture reads none of them.
uniform vec2 fs_tex;
uniform float textureTime;    // runs from 0.0 to 1.0 and back
uniform sampler2D noiseTexture;
uniform sampler2D cloudsTexture;
uniform float cloudsTextureSize;
uniform int renderMode;       // 0: render into a texture; 1: take the picture from a texture

#define HEARTCOL vec3(1.0, 0.01, 0.01)
#define NUM_HEARTS 50.0
#define LIGHT_DIR vec3(0.577, -0.577, -0.577)

#define sat(x) clamp(x, 0.0, 1.0)

// smoothstep(e0, e1, x), written out: with e0 > e1 it gives a falling edge
// (1 below e1, 0 above e0), which the heart and ball edges use.
float S(float e0, float e1, float x)
{
    float u = sat((x - e0) / (e1 - e0));
    return u * u * (3.0 - 2.0 * u);
}

// Polynomial smooth maximum of a and b over a blend width k.
float smax(float a, float b, float k)
{
    float h = sat(0.5 + 0.5 * (b - a) / k);
    return mix(a, b, h) + k * h * (1.0 - h);
}

// Quaternions: xyz the vector part, w the scalar part.

// Hamilton product q1 q2.
vec4 qmulq(vec4 q1, vec4 q2)
{
    return vec4(q1.xyz * q2.w + q2.xyz * q1.w + cross(q1.xyz, q2.xyz),
                q1.w * q2.w - dot(q1.xyz, q2.xyz));
}

// A turn by angle (radians) about axis.
vec4 aa2q(vec3 axis, float angle)
{
    return vec4(normalize(axis) * sin(angle / 2.0), cos(angle / 2.0));
}

vec4 qinv(vec4 q)
{
    return vec4(-q.xyz, q.w) / dot(q, q);
}

// p turned by q.
vec3 qmulv(vec4 q, vec3 p)
{
    return qmulq(q, qmulq(vec4(p, 0.0), qinv(q))).xyz;
}

// The ray from the origin along the unit vector rd against the unit sphere
// centred at c: the distances to the near and the far hit, or (-1, -1).
vec2 RaySphere(vec3 rd, vec3 c)
{
    float l = dot(rd, c);
    float det = l * l - dot(c, c) + 1.0;
    if (det < 0.0) return vec2(-1.0, -1.0);
    float r = sqrt(det);
    return vec2(l - r, l + r);
}

// Both hits of a ray on a ball: positions, normals facing the camera, and
// coordinates (longitude about the ball's own y axis, height) in the ball's
// turned frame.
struct sphereInfo {
    vec3 p1, p2, n1, n2;
    vec2 uv1, uv2;
};

sphereInfo GetSphereUvs(vec3 rd, vec2 i, vec2 rot, vec3 c)
{
    sphereInfo res;
    rot = rot * 6.2831;
    vec4 q = aa2q(vec3(cos(rot.x), sin(rot.x), 0.0), rot.y);
    vec3 o = qmulv(q, -c) + c;
    vec3 d = qmulv(q, rd);

    res.p1 = rd * i.x;
    vec3 p = o + d * i.x - c;
    res.uv1 = vec2(atan(p.x, p.z), p.y);
    res.n1 = res.p1 - c;

    res.p2 = rd * i.y;
    p = o + d * i.y - c;
    res.uv2 = vec2(atan(p.x, p.z), p.y);
    res.n2 = c - res.p2;
    return res;
}

// A heart mask: 1 inside, 0 outside, with a soft edge 2b wide.
float Heart(vec2 uv, float b)
{
    uv.x = 0.5 * uv.x;
    float shape = 0.5 * smax(sqrt(abs(uv.x)), b, 0.3 * b);
    uv.y = uv.y - shape * (1.0 - b);
    return S(b, -b, length(uv) - 0.5);
}

// One ball at c, turned by rot: its far heart, with the near heart over it.
vec4 HeartBall(vec3 rd, vec3 c, vec2 rot, float blur)
{
    vec2 d = RaySphere(rd, c);
    if (d.x <= 0.0) return vec4(0.0);
    sphereInfo info = GetSphereUvs(rd, d, rot, c);

    float sd = length(cross(c, rd));
    float edge = S(1.0, mix(1.0, 0.1, blur), sd);

    float backMask = Heart(info.uv2, blur) * edge;
    float frontMask = Heart(info.uv1, blur) * edge;

    float frontLight = sat(0.8 * dot(LIGHT_DIR, info.n1) + 0.2);
    float backLight = 0.9 * sat(0.8 * dot(LIGHT_DIR, info.n2) + 0.2);

    return mix(vec4(backLight * HEARTCOL, backMask), vec4(frontLight * HEARTCOL, frontMask), frontMask);
}

void main()
{
    vec2 uv = (gl_FragCoord.xy - 0.5 * vec2(viewportWidth, viewportHeight)) / viewportHeight;
    vec2 m = vec2(0.0, 0.4);  // y: the depth parameter in focus
    float t = 0.3 * iTime;

    vec3 rd = normalize(vec3(uv.x, uv.y, 1.0));
    vec2 rot = t * vec2(0.12, 0.18);
    vec4 col = vec4(0.0);

    // Farthest ball first; 51 passes, the last at i just under 1.
    for (float i = 0.0; i < 1.0; i += 1.0 / NUM_HEARTS) {
        float x = (fract(cos(536.3 * i) * 7464.4) - 0.5) * 15.0;
        float y = -(fract(-0.2 * t + 7.64 * i) - 0.5) * 15.0;
        float z = mix(14.0, 2.0, i);
        float blur = mix(0.03, 0.35, S(0.0, 0.4, abs(m.y - i)));
        rot = rot + fract(sin(i * vec2(536.3, 23.4)) * vec2(764.4, 987.3)) - 0.5;

        vec4 heart = HeartBall(rd, vec3(x, y, z), rot, blur);
        col = mix(col, heart, heart.a);
    }

    gl_FragColor = col;
}
//~
