// GLFWTexture on a real context: storage levels, texels read back from GL,
// parameters and the binding it leaves, with the small bitmaps of gl_tests.rc.
#include <vector>

#include <gtest/gtest.h>

#include "gl/glfw_texture.h"
#include "tests/gl/test_resource_ids.h"

namespace {

struct Texel {
    float r, g, b, a;
};

// A pixel given as its bitmap bytes, as a texel.
Texel FromBytes(int b, int g, int r, int a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            static_cast<float>(a) / 255.0f};
}

void ExpectTexel(const float* actual, const Texel& expected) {
    EXPECT_FLOAT_EQ(actual[0], expected.r);
    EXPECT_FLOAT_EQ(actual[1], expected.g);
    EXPECT_FLOAT_EQ(actual[2], expected.b);
    EXPECT_FLOAT_EQ(actual[3], expected.a);
}

GLint TextureParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint LevelParameter(int level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// The texels of one level of the texture bound on the active unit.
std::vector<float> ReadLevel(int level, int size) {
    std::vector<float> texels(static_cast<std::size_t>(size) * size * 4, -1.0f);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_FLOAT, texels.data());
    return texels;
}

TEST(GLFWTextureTest, LevelTable) {
    const struct {
        int size;
        int levels;
    } table[] = {{2048, 11}, {1024, 10}, {512, 9}, {256, 8}, {128, 7}, {64, 6},
                 {32, 5},    {16, 4},    {8, 3},    {4, 2},    {2, 1},   {1, 1}};
    for (const auto& row : table) EXPECT_EQ(GLFWTexture::LevelCount(row.size), row.levels) << row.size;
}

// The storage GL reports for textures of the table's sizes. A size without
// a bitmap of its own uses a missing resource, which gives a black picture.
TEST(GLFWTextureTest, StorageHasTheTablesLevelsInFloatRgba) {
    const struct {
        int resource;
        int size;
        int levels;
    } cases[] = {{kMissingBitmap, 256, 8}, {kBlocks4x4, 4, 2}, {kTexels2x2, 2, 1}, {kTexel1x1, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        GLFWTexture texture(c.resource, c.size);
        ASSERT_NE(texture.GetTextureId(), 0u);
        EXPECT_EQ(TextureParameter(GL_TEXTURE_IMMUTABLE_FORMAT), GL_TRUE);
        EXPECT_EQ(TextureParameter(GL_TEXTURE_IMMUTABLE_LEVELS), c.levels);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA32F);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), c.size);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), c.size);
        GLuint id = texture.GetTextureId();
        glDeleteTextures(1, &id);
    }
}

TEST(GLFWTextureTest, MissingBitmapGivesBlack) {
    GLFWTexture texture(kMissingBitmap, 2);
    const std::vector<float> texels = ReadLevel(0, 2);
    for (float value : texels) EXPECT_EQ(value, 0.0f);
    GLuint id = texture.GetTextureId();
    glDeleteTextures(1, &id);
}

// Level 0 holds the picture bottom row first, each byte divided by 255; the
// further levels are generated, though only level 0 is sampled.
TEST(GLFWTextureTest, LevelsHoldTheBitmapBottomRowFirst) {
    const struct {
        const char* what;
        int resource;
        int size;
        int level;
        Texel texels[4];
    } cases[] = {
        {"level 0 of 2 x 2", kTexels2x2, 2, 0,
         {
             {1.0f, 128.0f / 255.0f, 0.0f, 0.0f},  // bottom-left: B 0, G 128, R 255, A 0
             FromBytes(10, 20, 30, 40),            // bottom-right
             FromBytes(50, 60, 70, 80),            // top-left
             {1.0f, 1.0f, 1.0f, 1.0f},             // top-right
         }},
        {"level 1 of 4 x 4 in blocks", kBlocks4x4, 4, 1,
         {FromBytes(0, 0, 255, 0), FromBytes(0, 255, 0, 51), FromBytes(255, 0, 0, 102),
          FromBytes(255, 255, 255, 255)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GLFWTexture texture(c.resource, c.size);
        const std::vector<float> texels = ReadLevel(c.level, 2);
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k);
            ExpectTexel(&texels[4 * k], c.texels[k]);
        }
        GLuint id = texture.GetTextureId();
        glDeleteTextures(1, &id);
    }
}

TEST(GLFWTextureTest, ParametersAndBindingAfterConstruction) {
    // Leave another unit active with another texture, so the checks below can fail.
    GLuint other = 0;
    glGenTextures(1, &other);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, other);

    GLFWTexture texture(kTexels2x2, 2);

    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.GetTextureId());

    const struct {
        GLenum name;
        GLint value;
    } parameters[] = {
        {GL_TEXTURE_WRAP_S, GL_REPEAT},        {GL_TEXTURE_WRAP_T, GL_REPEAT},
        {GL_TEXTURE_MAG_FILTER, GL_LINEAR},    {GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR},
        {GL_TEXTURE_BASE_LEVEL, 0},            {GL_TEXTURE_MAX_LEVEL, 0},
    };
    for (const auto& p : parameters) EXPECT_EQ(TextureParameter(p.name), p.value) << std::hex << p.name;

    GLuint ids[] = {other, texture.GetTextureId()};
    glDeleteTextures(2, ids);
}

// The copy itself, for a picture that is not square and has no alpha.
TEST(GLFWTextureTest, LoadBitmapTexelsKeepsRowsOfTheGivenWidth) {
    std::vector<float> buffer(3 * 2 * 4, -1.0f);
    GLFWTexture::LoadBitmapTexels(buffer.data(), kTexels3x2Rgb, 3, 2);
    const Texel expected[] = {FromBytes(1, 2, 3, 0),    FromBytes(4, 5, 6, 0),    FromBytes(7, 8, 9, 0),
                              FromBytes(10, 11, 12, 0), FromBytes(13, 14, 15, 0), FromBytes(16, 17, 18, 0)};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        ExpectTexel(&buffer[4 * k], expected[k]);
    }
}

}  // namespace
