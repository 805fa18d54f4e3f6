// The exchange of pictures with PAM files: what the reference tool writes
// and what it reads back from the frames of corvelle-still.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/picture/rgba_image.h"

namespace picture {
namespace {

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "rgba_image_test_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(RgbaImage, PamRoundTripKeepsEightBitValuesAndTheBottomRow) {
    CRgbaImage picture(3, 2);
    picture.Set(0, 0, {1.0f, 0.0f, 0.5f, 0.25f});  // bottom left
    picture.Set(2, 1, {0.2f, 0.4f, 0.6f, 1.0f});   // top right
    const std::string path = TempPath("round_trip.pam");
    ASSERT_TRUE(picture.WritePam(path));

    CRgbaImage read;
    std::string error;
    ASSERT_TRUE(CRgbaImage::ReadPam(path, read, error)) << error;
    ASSERT_EQ(read.Width(), 3);
    ASSERT_EQ(read.Height(), 2);
    const CRgbaImage want = picture.Quantized();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < 4; ++c) EXPECT_EQ(read.Channel(x, y, c), want.Channel(x, y, c));
    EXPECT_EQ(read.Channel(0, 0, 2), 128 / 255.0f);

    // Files list the top row first: the first pixel in the file is top left.
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string pixels = bytes.substr(bytes.find("ENDHDR\n") + 7);
    ASSERT_EQ(pixels.size(), 24u);
    EXPECT_EQ(static_cast<unsigned char>(pixels[8 + 3]), 255);      // top right alpha
    EXPECT_EQ(static_cast<unsigned char>(pixels[12 + 0]), 255);     // bottom left red
    EXPECT_EQ(static_cast<unsigned char>(pixels[12 + 3]), 64);      // bottom left alpha
}

TEST(RgbaImage, ReadPamRefusesWhatIsNotAnEightBitRgbaPam) {
    const std::string header = "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"binary PPM", "P6\n2 1\n255\n" + std::string(6, '\0')},
        {"pixels cut short", header + std::string(7, '\0')},
        {"three channels", "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n" + std::string(6, '\0')},
        {"16 bits", "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 65535\nTUPLTYPE RGB_ALPHA\nENDHDR\n" + std::string(16, '\0')},
        {"no size", "P7\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
        {"negative width", "P7\nWIDTH -2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
        {"huge", "P7\nWIDTH 100000\nHEIGHT 100000\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
        {"no end of header", "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n"},
        {"unknown header line", "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nCOLOUR red\nENDHDR\n" +
                                    std::string(8, '\0')},
    };
    for (const Case& c : cases) {
        const std::string path = TempPath("bad.pam");
        WriteFile(path, c.bytes);
        CRgbaImage read;
        std::string error;
        EXPECT_FALSE(CRgbaImage::ReadPam(path, read, error)) << c.name;
        EXPECT_NE(error, "") << c.name;
        EXPECT_EQ(read.Width(), 0) << c.name << ": the picture is left untouched";
    }
    CRgbaImage read;
    std::string error;
    WriteFile(TempPath("good.pam"), header + std::string(8, '\x7f'));
    EXPECT_TRUE(CRgbaImage::ReadPam(TempPath("good.pam"), read, error)) << error;
    EXPECT_FALSE(CRgbaImage::ReadPam(TempPath("missing.pam"), read, error));
}

}  // namespace
}  // namespace picture
