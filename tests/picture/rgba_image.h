// A float RGBA picture as the hearts shader produces it, and its exchange with
// PAM files (the portable any-map: a short text header, then 8-bit RGBA
// rows). Rows are kept as GL counts them: y = 0 is the bottom row. Files,
// like PNG files, list the top row first; the readers and writers flip.
#pragma once

#include <string>
#include <vector>

#include "tests/picture/shader_math.h"

namespace picture {

class CRgbaImage {
public:
    CRgbaImage() = default;
    CRgbaImage(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    // Pixel (x, y), y counted from the bottom.
    vec4 At(int x, int y) const;
    void Set(int x, int y, vec4 colour);
    // One channel (0 red, 1 green, 2 blue, 3 alpha) of pixel (x, y).
    float Channel(int x, int y, int channel) const { return values[Index(x, y) + channel]; }

    // Each channel rounded to 8 bits, as an RGBA8 framebuffer stores it.
    CRgbaImage Quantized() const;

    // PAM with TUPLTYPE RGB_ALPHA and MAXVAL 255. Write returns false when the
    // file cannot be written; Read returns false and an explanation in error
    // for anything else than such a file.
    bool WritePam(const std::string& path) const;
    static bool ReadPam(const std::string& path, CRgbaImage& image, std::string& error);

private:
    size_t Index(int x, int y) const { return (static_cast<size_t>(y) * width + x) * 4; }

    int width = 0;
    int height = 0;
    std::vector<float> values;
};

}  // namespace picture
