#include "gl/glfw_drawable_sky.h"

#include "gl/gl_loader.h"
#include "gl/glfw_mesh_buffers.h"
#include "math/glfw_frame_info.h"

void GLFWDrawableSky::SetupAttributes() {
    meshBuffers->AddAttribute(programName, "position", 3, 0);
    meshBuffers->AddAttribute(programName, "position_tex", 2, 3);
    meshBuffers->AddAttribute(programName, "position_normal", 3, 5);
}

void GLFWDrawableSky::SetFrameUniforms() {
    glUniform1f(UniformLocation("iTime"), frameInfo->GetTime());
    glUniform1f(UniformLocation("viewportWidth"), frameInfo->GetViewportWidth());
    glUniform1f(UniformLocation("viewportHeight"), frameInfo->GetViewportHeight());
}

void GLFWDrawableSky::BeforeDraw() {}
