#include "platform/bitmap_decoder.h"

#include <cstdint>

namespace platform {

static std::uint32_t ReadU32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

static std::uint16_t ReadU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool DecodeDib(const unsigned char* data, std::size_t size, int width, int height,
               std::vector<unsigned char>& bgra) {
    const std::size_t kInfoHeaderSize = 40;
    const std::uint32_t kBiRgb = 0;
    if (width <= 0 || height <= 0 || data == nullptr || size < kInfoHeaderSize) return false;
    const std::uint32_t headerSize = ReadU32(data);
    if (headerSize < kInfoHeaderSize || headerSize > size) return false;

    const std::int32_t dibWidth = static_cast<std::int32_t>(ReadU32(data + 4));
    const std::int32_t dibHeight = static_cast<std::int32_t>(ReadU32(data + 8));
    const std::uint16_t bitCount = ReadU16(data + 14);
    const std::uint32_t compression = ReadU32(data + 16);
    const std::uint32_t colorsUsed = ReadU32(data + 32);
    if (compression != kBiRgb || (bitCount != 24 && bitCount != 32)) return false;
    if (dibWidth <= 0 || dibHeight == 0 || dibHeight == INT32_MIN) return false;
    if (colorsUsed > 256) return false;

    const bool topDown = dibHeight < 0;
    const std::int64_t rows = topDown ? -static_cast<std::int64_t>(dibHeight) : dibHeight;
    const std::int64_t bytesPerPixel = bitCount / 8;
    const std::int64_t stride = ((dibWidth * bytesPerPixel) + 3) / 4 * 4;
    const std::int64_t pixelsStart = headerSize + static_cast<std::int64_t>(colorsUsed) * 4;
    if (pixelsStart + stride * rows > static_cast<std::int64_t>(size)) return false;

    bgra.assign(static_cast<std::size_t>(width) * height * 4, 0);
    const std::int64_t copyRows = rows < height ? rows : height;
    const std::int64_t copyColumns = dibWidth < width ? dibWidth : width;
    for (std::int64_t row = 0; row < copyRows; ++row) {
        // Output row 0 is the picture's bottom row.
        const std::int64_t sourceRow = topDown ? rows - 1 - row : row;
        const unsigned char* source = data + pixelsStart + sourceRow * stride;
        unsigned char* target = bgra.data() + static_cast<std::size_t>(row) * width * 4;
        for (std::int64_t column = 0; column < copyColumns; ++column) {
            const unsigned char* pixel = source + column * bytesPerPixel;
            target[column * 4 + 0] = pixel[0];
            target[column * 4 + 1] = pixel[1];
            target[column * 4 + 2] = pixel[2];
            target[column * 4 + 3] = bytesPerPixel == 4 ? pixel[3] : 0;
        }
    }
    return true;
}

}  // namespace platform
