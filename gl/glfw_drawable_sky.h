// The full-screen rectangle that carries the hearts program.
#pragma once

#include "gl/glfw_drawable_object.h"

class GLFWDrawableSky : public GLFWDrawableObject {
public:
    using GLFWDrawableObject::GLFWDrawableObject;

    // Position, texture coordinate and normal of the 24-float vertex.
    void SetupAttributes() override;
    // "iTime", "viewportWidth" and "viewportHeight" from the frame information.
    void SetFrameUniforms() override;
    void BeforeDraw() override;
};
