#include "app/scene.h"

#include "app/glfw_screensaver.h"
#include "gl/gl_loader.h"
#include "math/glfw_frame_info.h"

GLFWFrameInfo* g_frameInfo = nullptr;

void InitScene() {
    g_frameInfo = new GLFWFrameInfo(0.0f);
}

void RenderScene() {
    g_frameInfo->SetViewport(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, windowWidth, windowHeight);
}
