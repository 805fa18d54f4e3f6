#include "tests/picture/rgba_image.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace picture {

namespace {

// Larger pictures are refused when read: the tests use small viewports.
constexpr int kMaxSide = 16384;

unsigned char ToByte(float v) {
    return static_cast<unsigned char>(std::lround(sat(v) * 255.0f));
}

}  // namespace

CRgbaImage::CRgbaImage(int width, int height)
    : width(width), height(height), values(static_cast<size_t>(width) * height * 4, 0.0f) {}

vec4 CRgbaImage::At(int x, int y) const {
    const float* p = &values[Index(x, y)];
    return {p[0], p[1], p[2], p[3]};
}

void CRgbaImage::Set(int x, int y, vec4 colour) {
    float* p = &values[Index(x, y)];
    p[0] = colour.x;
    p[1] = colour.y;
    p[2] = colour.z;
    p[3] = colour.w;
}

CRgbaImage CRgbaImage::Quantized() const {
    CRgbaImage out = *this;
    for (float& v : out.values) v = ToByte(v) / 255.0f;
    return out;
}

bool CRgbaImage::WritePam(const std::string& path) const {
    std::ofstream file(path, std::ios::binary);
    file << "P7\nWIDTH " << width << "\nHEIGHT " << height
         << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<char> row(static_cast<size_t>(width) * 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) row[x * 4 + c] = static_cast<char>(ToByte(Channel(x, y, c)));
        file.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(file);
}

bool CRgbaImage::ReadPam(const std::string& path, CRgbaImage& image, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    if (!std::getline(file, line) || line != "P7") {
        error = path + " is not a PAM file";
        return false;
    }
    long width = -1, height = -1, depth = -1, maxval = -1;
    std::string tupleType;
    bool ended = false;
    while (!ended && std::getline(file, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key.empty() || key[0] == '#') continue;
        if (key == "ENDHDR") ended = true;
        else if (key == "WIDTH") fields >> width;
        else if (key == "HEIGHT") fields >> height;
        else if (key == "DEPTH") fields >> depth;
        else if (key == "MAXVAL") fields >> maxval;
        else if (key == "TUPLTYPE") fields >> tupleType;
        else {
            error = path + ": unknown header line \"" + line + "\"";
            return false;
        }
    }
    if (!ended || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || depth != 4 ||
        maxval != 255 || tupleType != "RGB_ALPHA") {
        error = path + ": expected an 8-bit RGB_ALPHA PAM of at most " + std::to_string(kMaxSide) +
                " pixels a side";
        return false;
    }
    CRgbaImage read(static_cast<int>(width), static_cast<int>(height));
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    for (int y = read.height - 1; y >= 0; --y) {
        if (!file.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()))) {
            error = path + ": the pixel rows end early";
            return false;
        }
        for (int x = 0; x < read.width; ++x)
            read.Set(x, y, {row[x * 4] / 255.0f, row[x * 4 + 1] / 255.0f, row[x * 4 + 2] / 255.0f,
                            row[x * 4 + 3] / 255.0f});
    }
    image = std::move(read);
    return true;
}

}  // namespace picture
