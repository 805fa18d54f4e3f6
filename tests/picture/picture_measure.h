// How close a rendered hearts picture is to the CPU reference.
//
// The GPU's sine and cosine differ from the C library's in their last bits,
// and the balls' places hash them (x = fract(cos(536.3 i) * 7464.4) turns a
// rounding difference into a small move), so a rendered frame may show a
// heart a pixel or two away from where the reference has it. Pixel-by-pixel
// equality is therefore the wrong test. The comparison is a set of checks,
// each blind to small moves and aimed at one kind of real fault:
//
//  - "empty pixels": where the reference has no heart anywhere near, the
//    frame must be exactly (0, 0, 0, 0) (clear colour, alpha included);
//  - "mass R/G/B/A": the summed value of each channel; blind to moves,
//    it catches wrong lighting, colour, blending and alpha;
//  - "regions R/A": the same sums over a coarse grid of cells; it catches
//    hearts in the wrong places (mirrored, wrong aspect, wrong time);
//  - "match": a pixel of one picture must find a close value in a small
//    neighbourhood of the other (both lightly smoothed); it catches a heart
//    misplaced, missing, misshaped or laid over the wrong neighbour;
//  - "sharpness R/A": the summed squared gradient, which halves when an edge
//    becomes twice as soft; it catches wrong blur.
//
// The limits and the reasons for them are next to their constants in
// picture_measure.cpp.
#pragma once

#include <string>
#include <vector>

#include "tests/picture/rgba_image.h"

namespace picture {

struct PictureCheck {
    std::string name;
    double value = 0.0;  // what was measured
    double limit = 0.0;  // the check passes while value <= limit
    bool Passed() const { return value <= limit; }
};

struct PictureComparison {
    std::vector<PictureCheck> checks;

    bool Similar() const;
    // The names of the failed checks, separated by blanks ("" when similar).
    std::string Failed() const;
    // One line per check: name, value, limit, verdict.
    std::string Report() const;
};

// Compares a candidate picture (a rendered frame, or a variant in the tests)
// with the reference picture of the same viewport and time. Pictures of
// different sizes are never similar.
PictureComparison ComparePictures(const CRgbaImage& reference, const CRgbaImage& candidate);

}  // namespace picture
