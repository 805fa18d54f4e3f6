#include "gl/glfw_texture.h"

#include <cstddef>
#include <vector>

#include "platform/platform.h"

GLFWTexture::GLFWTexture(int resourceId, int size) : texture(0) {
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexStorage2D(GL_TEXTURE_2D, LevelCount(size), GL_RGBA32F, size, size);

    std::vector<float> texels(static_cast<std::size_t>(size) * size * 4);
    LoadBitmapTexels(texels.data(), resourceId, size, size);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RGBA, GL_FLOAT, texels.data());
    glGenerateMipmap(GL_TEXTURE_2D);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
}

GLuint GLFWTexture::GetTextureId() const { return texture; }

int GLFWTexture::LevelCount(int size) {
    int levels = 0;
    while (levels < 30 && (2 << levels) <= size) ++levels;
    return levels > 0 ? levels : 1;
}

void GLFWTexture::LoadBitmapTexels(float* buffer, int resourceId, int width, int height) {
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<unsigned char> bgra;
    if (!platform::LoadBitmapPixels(resourceId, width, height, bgra) || bgra.size() < count * 4) {
        bgra.assign(count * 4, 0);
    }
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * width + j;
            buffer[4 * k + 0] = static_cast<float>(bgra[4 * k + 2]) / 255.0f;
            buffer[4 * k + 1] = static_cast<float>(bgra[4 * k + 1]) / 255.0f;
            buffer[4 * k + 2] = static_cast<float>(bgra[4 * k + 0]) / 255.0f;
            buffer[4 * k + 3] = static_cast<float>(bgra[4 * k + 3]) / 255.0f;
        }
    }
}
