#version 110
// Hearts, fragment stage: fifty-one invisible unit balls in front of a camera
// at the origin, each with a red heart printed on its near and its far side.
// The balls rise slowly and turn; they are sharp at a middle distance and
// blurred nearer and farther. Every pixel is computed here.
//
// How the work is laid out. Pixels run in groups in lock-step (a GPU's
// warps, the vector lanes of a CPU rasteriser): a branch saves nothing unless
// the whole group skips it, while a loop runs as often as its busiest pixel
// needs. A ray meets less than one ball on average, so each pixel first tests
// its ray against all 51 balls, three at a time and with a few multiplications
// each (FindHits), and keeps the balls it meets as bits; the loop of main then
// draws only those balls, farthest first, one pass per ball met. Whatever
// depends on a ball alone (its place across, its turn) is computed once by
// tools/gen_hearts_shader.py and written into this text as numbers.

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

// p turned by the unit quaternion q: the vector part of q (p, 0) q^-1, that
// is qmulq(q, qmulq(vec4(p, 0.0), qinv(q))).xyz, in its short form
// p + 2w (v x p) + 2 v x (v x p) with v = q.xyz.
vec3 qmulv(vec4 q, vec3 p)
{
    vec3 u = 2.0 * cross(q.xyz, p);
    return p + q.w * u + cross(q.xyz, u);
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
    // The camera and the ray in the ball's turned frame, measured from its
    // centre: a hit at distance s is o + d s.
    vec3 o = qmulv(q, -c);
    vec3 d = qmulv(q, rd);

    res.p1 = rd * i.x;
    vec3 p = o + d * i.x;
    res.uv1 = vec2(atan(p.x, p.z), p.y);
    res.n1 = res.p1 - c;

    res.p2 = rd * i.y;
    p = o + d * i.y;
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

// The balls, farthest first: hearts[k] = (x, turn offset, i) of pass k of
// the loop over i, where x = (fract(cos(536.3 i) * 7464.4) - 0.5) * 15 and
// the turn offset is the running sum, up to and including pass k, of
// fract(sin(i * (536.3, 23.4)) * (764.4, 987.3)) - 0.5.
vec4 hearts[51];

void SetHeartTable()
{
    // generated part table: begin
    hearts[0] = vec4(-1.50146484, -0.5, -0.5, 0.0);
    hearts[1] = vec4(-6.42700195, -0.793151855, -0.62677002, 0.0199999996);
    hearts[2] = vec4(-0.666503906, -0.845733643, -0.16027832, 0.0399999991);
    hearts[3] = vec4(4.56298828, -0.587799072, -0.0623168945, 0.0599999987);
    hearts[4] = vec4(-1.73583984, -0.642120361, 0.289489746, 0.0799999982);
    hearts[5] = vec4(-2.96630859, -1.13597107, 0.129821777, 0.099999994);
    hearts[6] = vec4(-5.70831299, -1.06767273, -0.0885620117, 0.11999999);
    hearts[7] = vec4(-3.3984375, -1.28559875, 0.110687256, 0.139999986);
    hearts[8] = vec4(-5.36132812, -1.73432922, 0.179595947, 0.159999982);
    hearts[9] = vec4(5.73486328, -1.24806213, 0.42678833, 0.179999977);
    hearts[10] = vec4(3.84521484, -1.12892151, 0.144683838, 0.199999973);
    hearts[11] = vec4(4.79003906, -1.18659973, 0.54598999, 0.219999969);
    hearts[12] = vec4(-6.27685547, -1.45346832, 0.126556396, 0.239999965);
    hearts[13] = vec4(3.96240234, -1.33786774, 0.267883301, 0.259999961);
    hearts[14] = vec4(1.47949219, -1.69895172, -0.0170593262, 0.279999971);
    hearts[15] = vec4(-0.109863281, -2.13663483, -0.118743896, 0.299999982);
    hearts[16] = vec4(3.64013672, -2.33896637, 0.295196533, 0.319999993);
    hearts[17] = vec4(4.20410156, -2.033638, -0.0381774902, 0.340000004);
    hearts[18] = vec4(5.09216309, -2.46118927, -0.339019775, 0.360000014);
    hearts[19] = vec4(4.5703125, -2.60346222, -0.361633301, 0.380000025);
    hearts[20] = vec4(-4.43115234, -2.28357697, 0.0483283997, 0.400000036);
    hearts[21] = vec4(-6.2109375, -1.95917511, 0.146686554, 0.420000046);
    hearts[22] = vec4(4.16015625, -2.42313385, 0.246417999, 0.440000057);
    hearts[23] = vec4(-5.59753418, -2.15488434, -0.199260712, 0.460000068);
    hearts[24] = vec4(5.75683594, -2.43244171, -0.533611298, 0.480000079);
    hearts[25] = vec4(7.29125977, -2.17725372, -0.339519501, 0.50000006);
    hearts[26] = vec4(0.915527344, -2.3537674, -0.828960419, 0.520000041);
    hearts[27] = vec4(-4.85595703, -2.84781647, -0.638782501, 0.540000021);
    hearts[28] = vec4(6.70898438, -3.26053619, -0.541126251, 0.560000002);
    hearts[29] = vec4(0.314941406, -3.51201057, -0.267261505, 0.579999983);
    hearts[30] = vec4(0.532836914, -3.31675911, -0.124500275, 0.599999964);
    hearts[31] = vec4(-2.578125, -3.21364021, -0.434925079, 0.619999945);
    hearts[32] = vec4(3.81591797, -3.18910408, -0.0898933411, 0.639999926);
    hearts[33] = vec4(-1.49414062, -3.68580818, 0.00764083862, 0.659999907);
    hearts[34] = vec4(-6.15966797, -3.2780323, 0.460048676, 0.679999888);
    hearts[35] = vec4(-3.04447174, -3.13661385, 0.287807465, 0.699999869);
    hearts[36] = vec4(-3.92578125, -3.41157722, 0.680568695, 0.71999985);
    hearts[37] = vec4(3.95141602, -3.06715584, 0.564968109, 0.739999831);
    hearts[38] = vec4(7.28027344, -3.01387215, 0.117519379, 0.759999812);
    hearts[39] = vec4(-4.54833984, -2.88734627, 0.135219574, 0.779999793);
    hearts[40] = vec4(-7.09716797, -3.17457771, 0.0759010315, 0.799999774);
    hearts[41] = vec4(-3.99169922, -3.29990959, 0.373477936, 0.819999754);
    hearts[42] = vec4(1.08398438, -3.76963615, 0.53320694, 0.839999735);
    hearts[43] = vec4(3.78662109, -4.00324821, 0.29291153, 0.859999716);
    hearts[44] = vec4(-2.03613281, -4.19325066, 0.585330963, 0.879999697);
    hearts[45] = vec4(7.48168945, -3.78938103, 0.206912994, 0.899999678);
    hearts[46] = vec4(6.31347656, -3.42168999, -0.192989349, 0.919999659);
    hearts[47] = vec4(1.5234375, -3.63793755, -0.473653316, 0.93999964);
    hearts[48] = vec4(-7.49267578, -3.99026299, -0.608663082, 0.959999621);
    hearts[49] = vec4(-0.234375, -4.25015068, -0.900289059, 0.979999602);
    hearts[50] = vec4(-6.07910156, -4.03567314, -0.780477047, 0.999999583);
    // generated part table: end
}

// Three balls (x, i) against the ray r: a ball meets it when its centre c
// lies within 1 of the ray's line, (r.c)^2 >= (c.c - 1) r.r. (A ball within 1
// of the line is ahead of the camera: it lies 2 or more ahead, the line
// behind the camera has z < 0.) A ball met adds weight w to its component.
// T = -0.2 t; the heights are those of main, as 7.5 - 15 fract(...).
#define MEETS(X, I, w) y = 7.5 - 15.0 * fract(T + 7.64 * I); z = mix(vec3(14.0), vec3(2.0), I); l = r.x * X + r.y * y + z; hits += w * step((X * X + y * y + z * z - 1.0) * rr, l * l);

// The balls that the ray along r (not normalised, z = 1) meets at scaled
// time t: ball k sets bit 16 - k / 3 of component k mod 3, so the farthest
// ball of a component is its highest bit.
vec3 FindHits(vec3 r, float t)
{
    float rr = dot(r, r);
    float T = -0.2 * t;
    vec3 hits = vec3(0.0);
    vec3 y, z, l;
    // generated part meets: begin
    MEETS(vec3(-1.50146484, -6.42700195, -0.666503906), vec3(0.0, 0.0199999996, 0.0399999991), 65536.0)
    MEETS(vec3(4.56298828, -1.73583984, -2.96630859), vec3(0.0599999987, 0.0799999982, 0.099999994), 32768.0)
    MEETS(vec3(-5.70831299, -3.3984375, -5.36132812), vec3(0.11999999, 0.139999986, 0.159999982), 16384.0)
    MEETS(vec3(5.73486328, 3.84521484, 4.79003906), vec3(0.179999977, 0.199999973, 0.219999969), 8192.0)
    MEETS(vec3(-6.27685547, 3.96240234, 1.47949219), vec3(0.239999965, 0.259999961, 0.279999971), 4096.0)
    MEETS(vec3(-0.109863281, 3.64013672, 4.20410156), vec3(0.299999982, 0.319999993, 0.340000004), 2048.0)
    MEETS(vec3(5.09216309, 4.5703125, -4.43115234), vec3(0.360000014, 0.380000025, 0.400000036), 1024.0)
    MEETS(vec3(-6.2109375, 4.16015625, -5.59753418), vec3(0.420000046, 0.440000057, 0.460000068), 512.0)
    MEETS(vec3(5.75683594, 7.29125977, 0.915527344), vec3(0.480000079, 0.50000006, 0.520000041), 256.0)
    MEETS(vec3(-4.85595703, 6.70898438, 0.314941406), vec3(0.540000021, 0.560000002, 0.579999983), 128.0)
    MEETS(vec3(0.532836914, -2.578125, 3.81591797), vec3(0.599999964, 0.619999945, 0.639999926), 64.0)
    MEETS(vec3(-1.49414062, -6.15966797, -3.04447174), vec3(0.659999907, 0.679999888, 0.699999869), 32.0)
    MEETS(vec3(-3.92578125, 3.95141602, 7.28027344), vec3(0.71999985, 0.739999831, 0.759999812), 16.0)
    MEETS(vec3(-4.54833984, -7.09716797, -3.99169922), vec3(0.779999793, 0.799999774, 0.819999754), 8.0)
    MEETS(vec3(1.08398438, 3.78662109, -2.03613281), vec3(0.839999735, 0.859999716, 0.879999697), 4.0)
    MEETS(vec3(7.48168945, 6.31347656, 1.5234375), vec3(0.899999678, 0.919999659, 0.93999964), 2.0)
    MEETS(vec3(-7.49267578, -0.234375, -6.07910156), vec3(0.959999621, 0.979999602, 0.999999583), 1.0)
    // generated part meets: end
    return hits;
}

// Takes the farthest ball out of a non-empty set of hits and returns its k.
float TakeFarthest(inout vec3 hits)
{
    // The highest bit of each component: exponent e, value p.
    vec3 m = hits;
    vec3 e = vec3(0.0);
    vec3 p = vec3(1.0);
    vec3 b = step(65536.0, m);
    e += 16.0 * b; p *= 1.0 + 65535.0 * b; m *= 1.0 - b * (65535.0 / 65536.0);
    b = step(256.0, m);
    e += 8.0 * b; p *= 1.0 + 255.0 * b; m *= 1.0 - b * (255.0 / 256.0);
    b = step(16.0, m);
    e += 4.0 * b; p *= 1.0 + 15.0 * b; m *= 1.0 - b * (15.0 / 16.0);
    b = step(4.0, m);
    e += 2.0 * b; p *= 1.0 + 3.0 * b; m *= 1.0 - b * 0.75;
    b = step(2.0, m);
    e += b; p *= 1.0 + b;
    // The ball each component offers; an empty component offers none.
    vec3 k = 3.0 * (16.0 - e) + vec3(0.0, 1.0, 2.0) + 64.0 * vec3(equal(hits, vec3(0.0)));
    float farthest = min(min(k.x, k.y), k.z);
    hits -= p * vec3(equal(k, vec3(farthest)));
    return min(farthest, 50.0);  // a valid index even for an empty set
}

void main()
{
    vec2 uv = (gl_FragCoord.xy - 0.5 * vec2(viewportWidth, viewportHeight)) / viewportHeight;
    vec2 m = vec2(0.0, 0.4);  // y: the depth parameter in focus
    float t = 0.3 * iTime;

    vec3 rd = normalize(vec3(uv.x, uv.y, 1.0));
    vec2 rot = t * vec2(0.12, 0.18);
    vec4 col = vec4(0.0);

    SetHeartTable();
    vec3 hits = FindHits(vec3(uv, 1.0), t);

    // Farthest ball first, one pass per ball met (and one when none is).
    for (int pass = 0; pass < 51; pass++) {
        if (hits != vec3(0.0)) {
            vec4 ball = hearts[int(TakeFarthest(hits))];
            float i = ball.w;
            float x = ball.x;
            float y = -(fract(-0.2 * t + 7.64 * i) - 0.5) * 15.0;
            float z = mix(14.0, 2.0, i);
            float blur = mix(0.03, 0.35, S(0.0, 0.4, abs(m.y - i)));

            vec4 heart = HeartBall(rd, vec3(x, y, z), rot + ball.yz, blur);
            col = mix(col, heart, heart.a);
        }
        if (hits == vec3(0.0)) break;
    }

    gl_FragColor = col;
}
//~
