// Ids of the resources in gl_tests.rc.
#pragma once

enum TestResource {
    kHeartsFragment = 136,
    kHeartsVertex = 137,

    kTexels2x2 = 301,
    kTexel1x1 = 302,
    kBlocks4x4 = 303,
    kTexels3x2Rgb = 304,
    kMissingBitmap = 399,

    kPlainVertex = 401,
    kPlainFragment = 402,
    kBrokenVertex = 403,
    kBrokenFragment = 404,
    kNoMainFragment = 405,
    kTildeInBodyVertex = 406,
    kNoTildeFragment = 407,
    kLongVertex = 408,
    kLimitVertex = 409,
    kMissingText = 499,
};
