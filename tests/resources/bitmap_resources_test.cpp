// BITMAP 101 and 223 as the screensaver reads them: through the platform
// layer's LoadBitmapPixels, from the resource table the product links.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace {

struct BitmapCase {
    int id;
    int width;
    int height;
    int bitCount;
};

const BitmapCase kBitmaps[] = {
    {101, 110, 83, 24},   // the About window's picture
    {223, 256, 256, 32},  // the noise picture
};

std::uint32_t U32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

struct Bytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// The resource's bytes as the platform layer finds them; empty when it is missing.
Bytes BitmapBytes(int id) {
    Bytes bytes;
    platform::FindResourceBytes(platform::ResourceKind::Bitmap, id, &bytes.data, &bytes.size);
    return bytes;
}

// Bytes in one pixel row, padded to a multiple of 4.
std::size_t Stride(const BitmapCase& c) { return (static_cast<std::size_t>(c.width) * c.bitCount / 8 + 3) / 4 * 4; }

TEST(EmbeddedBitmaps, HeadersAndSizesMatchTheirFormat) {
    for (const BitmapCase& c : kBitmaps) {
        SCOPED_TRACE(c.id);
        const Bytes bytes = BitmapBytes(c.id);
        const unsigned char* data = bytes.data;
        const std::size_t size = bytes.size;
        ASSERT_GE(size, 40u);
        EXPECT_EQ(U32(data), 40u);
        EXPECT_EQ(static_cast<std::int32_t>(U32(data + 4)), c.width);
        EXPECT_EQ(static_cast<std::int32_t>(U32(data + 8)), c.height);  // positive: rows bottom-up
        EXPECT_EQ(U16(data + 12), 1);
        EXPECT_EQ(U16(data + 14), c.bitCount);
        EXPECT_EQ(U32(data + 16), 0u);  // BI_RGB
        EXPECT_EQ(U32(data + 32), 0u);  // no colour table
        // Header, rows, and the two zero bytes that follow them.
        EXPECT_EQ(size, 40 + Stride(c) * c.height + 2);
        EXPECT_EQ(data[size - 2], 0);
        EXPECT_EQ(data[size - 1], 0);
    }
}

TEST(EmbeddedBitmaps, DecodeToTheirOwnPixels) {
    for (const BitmapCase& c : kBitmaps) {
        SCOPED_TRACE(c.id);
        const unsigned char* data = BitmapBytes(c.id).data;
        ASSERT_NE(data, nullptr);
        std::vector<unsigned char> bgra;
        ASSERT_TRUE(platform::LoadBitmapPixels(c.id, c.width, c.height, bgra));
        ASSERT_EQ(bgra.size(), static_cast<std::size_t>(c.width) * c.height * 4);

        const int bytesPerPixel = c.bitCount / 8;
        const std::size_t stride = Stride(c);
        int mismatches = 0;
        for (int row = 0; row < c.height; ++row) {
            for (int column = 0; column < c.width; ++column) {
                const unsigned char* source = data + 40 + row * stride + column * bytesPerPixel;
                const unsigned char* pixel = &bgra[(static_cast<std::size_t>(row) * c.width + column) * 4];
                // Both pictures carry alpha 0: 24-bit pixels get it, the noise stores it.
                const unsigned char expected[4] = {source[0], source[1], source[2], 0};
                for (int k = 0; k < 4; ++k) mismatches += pixel[k] != expected[k];
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(EmbeddedBitmaps, NoiseGreenIsRedShiftedBy37And17) {
    std::vector<unsigned char> bgra;
    ASSERT_TRUE(platform::LoadBitmapPixels(223, 256, 256, bgra));
    int wrongGreen = 0;
    int greenEqualsRed = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const unsigned char* pixel = &bgra[(y * 256 + x) * 4];
            const unsigned char* shifted = &bgra[(((y - 17) & 255) * 256 + ((x - 37) & 255)) * 4];
            wrongGreen += pixel[1] != shifted[2];
            greenEqualsRed += pixel[1] == pixel[2];
        }
    }
    EXPECT_EQ(wrongGreen, 0);
    // Green is red moved elsewhere, not red itself: they agree only by chance (about 1 in 256).
    EXPECT_LT(greenEqualsRed, 2 * 65536 / 256);
}

}  // namespace
