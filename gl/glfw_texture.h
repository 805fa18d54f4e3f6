// A square float RGBA texture made from a BITMAP resource.
#pragma once

#include "gl/gl_loader.h"

class GLFWTexture {
public:
    // Builds a `size` x `size` texture (a power of two from 1 to 2048) from
    // the BITMAP resource `resourceId`, with storage for LevelCount(size)
    // levels, all generated, of which only level 0 is sampled. Leaves it
    // bound as GL_TEXTURE_2D on texture unit 0, which stays active.
    GLFWTexture(int resourceId, int size);

    GLuint GetTextureId() const;

    // Fills `buffer` (width x height x 4 floats) with the bitmap's texels as
    // R, G, B, A in 0..1, the picture's bottom row first. A bitmap that
    // cannot be read gives zeros.
    static void LoadBitmapTexels(float* buffer, int resourceId, int width, int height);

    // The number of storage levels for an edge of `size` texels: log2(size),
    // one fewer than a full chain, and at least 1.
    static int LevelCount(int size);

    GLuint texture;
};
