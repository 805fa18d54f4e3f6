// The sky drawable and the scene against a real GL context.
#include <GLFW/glfw3.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/glfw_screensaver.h"
#include "app/scene.h"
#include "gl/gl_loader.h"
#include "gl/glfw_drawable_sky.h"
#include "gl/glfw_program.h"
#include "gl/glfw_program_manager.h"
#include "gl/glfw_texture.h"
#include "math/glfw_camera.h"
#include "math/glfw_frame_info.h"
#include "tests/gl/test_context_window.h"

namespace {

// What the drawable asks of GL, recorded on the way to the real functions.
struct AttributeCall {
    GLuint location;
    GLint components;
    GLsizei stride;
    std::uintptr_t offset;
};
struct DrawCall {
    GLenum mode;
    GLsizei count;
    GLenum type;
    const void* indices;
};
std::vector<AttributeCall> g_attributeCalls;
std::vector<DrawCall> g_drawCalls;
std::vector<std::pair<GLint, GLfloat>> g_floatUniforms;
PFNGLVERTEXATTRIBPOINTERPROC g_realVertexAttribPointer;
PFNGLDRAWELEMENTSPROC g_realDrawElements;
PFNGLUNIFORM1FPROC g_realUniform1f;

void APIENTRY RecordVertexAttribPointer(GLuint location, GLint size, GLenum type, GLboolean normalized,
                                        GLsizei stride, const void* pointer) {
    g_attributeCalls.push_back({location, size, stride, reinterpret_cast<std::uintptr_t>(pointer)});
    g_realVertexAttribPointer(location, size, type, normalized, stride, pointer);
}

void APIENTRY RecordDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    g_drawCalls.push_back({mode, count, type, indices});
    g_realDrawElements(mode, count, type, indices);
}

void APIENTRY RecordUniform1f(GLint location, GLfloat value) {
    g_floatUniforms.push_back({location, value});
    g_realUniform1f(location, value);
}

class SceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        int loaderResult = -1;
        window = OpenTestContextWindow(&loaderResult);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(loaderResult, 0);
        g_realVertexAttribPointer = corvelle_glVertexAttribPointer;
        g_realDrawElements = corvelle_glDrawElements;
        g_realUniform1f = corvelle_glUniform1f;
        corvelle_glVertexAttribPointer = RecordVertexAttribPointer;
        corvelle_glDrawElements = RecordDrawElements;
        corvelle_glUniform1f = RecordUniform1f;
        SetWindowSize(64, 48);
        InitScene();
    }

    void SetUp() override {
        g_attributeCalls.clear();
        g_drawCalls.clear();
        g_floatUniforms.clear();
    }

    static GLint Location(const char* uniform) {
        return g_programManager->GetProgram("BackgroundProgram")->GetUniformLocation(uniform);
    }

    static GLFWwindow* window;
};

GLFWwindow* SceneTest::window = nullptr;

TEST_F(SceneTest, SkyDeclaresItsAttributesInKeyOrderWithA96ByteStride) {
    g_sky->Draw();
    ASSERT_EQ(g_attributeCalls.size(), 3u);
    // Key order: "position", "position_normal", "position_tex".
    const std::uintptr_t offsets[] = {0, 20, 12};
    const GLint components[] = {3, 3, 2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g_attributeCalls[i].stride, 96) << "call " << i;
        EXPECT_EQ(g_attributeCalls[i].offset, offsets[i]) << "call " << i;
        EXPECT_EQ(g_attributeCalls[i].components, components[i]) << "call " << i;
    }
    const GLFWProgram* program = g_programManager->GetProgram("BackgroundProgram");
    GLint positionLocation = const_cast<GLFWProgram*>(program)->GetAttribLocation("position");
    EXPECT_GE(positionLocation, 0);
    EXPECT_EQ(g_attributeCalls[0].location, static_cast<GLuint>(positionLocation));
}

TEST_F(SceneTest, SkyDrawsSixIndicesInOneCall) {
    g_sky->Draw();
    ASSERT_EQ(g_drawCalls.size(), 1u);
    EXPECT_EQ(g_drawCalls[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(g_drawCalls[0].count, 6);
    EXPECT_EQ(g_drawCalls[0].type, static_cast<GLenum>(GL_UNSIGNED_INT));
    EXPECT_EQ(g_drawCalls[0].indices, nullptr);
}

TEST_F(SceneTest, TwoDrawsInOneFrameUploadTheSameFrameValues) {
    g_frameInfo->SetTime(12.5f);
    g_frameInfo->SetViewport(64.0f, 48.0f);
    g_sky->Draw();
    g_sky->Draw();
    const GLint time = Location("iTime");
    const GLint width = Location("viewportWidth");
    const GLint height = Location("viewportHeight");
    ASSERT_GE(time, 0);
    std::vector<std::pair<GLint, GLfloat>> expected = {{time, 12.5f}, {width, 64.0f}, {height, 48.0f}};
    expected.insert(expected.end(), expected.begin(), expected.end());
    EXPECT_EQ(g_floatUniforms, expected);
}

TEST_F(SceneTest, RenderSceneLeavesTheStateTheNextFrameExpects) {
    SetWindowSize(64, 48);
    RenderScene();
    GLint value = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), g_noiseTexture->GetTextureId());
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), sceneTexture);
    glActiveTexture(GL_TEXTURE1);
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(static_cast<GLuint>(value), g_programManager->GetProgram("BackgroundProgram")->GetProgramId());
    EXPECT_EQ(renderMode, 0);
    // The uniforms the shader does not read are inactive.
    EXPECT_EQ(noiseTextureLocation, -1);
    EXPECT_EQ(cloudsTextureLocation, -1);
    EXPECT_EQ(cloudsTextureSizeLocation, -1);
    EXPECT_EQ(renderModeLocation, -1);
}

TEST_F(SceneTest, AResizeReachesProjectionViewportAndShaderOnTheNextFrame) {
    SetWindowSize(64, 48);
    RenderScene();
    const float squareish = g_camera->GetProjection()[0][0];
    SetWindowSize(32, 48);
    RenderScene();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 48);
    EXPECT_FLOAT_EQ(g_frameInfo->GetViewportWidth(), 32.0f);
    // x scale is f / aspect: halving the width doubles it.
    EXPECT_FLOAT_EQ(g_camera->GetProjection()[0][0], 2.0f * squareish);
    const GLint width = Location("viewportWidth");
    bool sawNewWidth = false;
    for (const auto& call : g_floatUniforms) sawNewWidth |= (call.first == width && call.second == 32.0f);
    EXPECT_TRUE(sawNewWidth);
}

TEST_F(SceneTest, TheCameraAndTheOffscreenTargetAreSetUpOnce) {
    EXPECT_EQ(sceneTextureWidth, 1024);
    EXPECT_EQ(sceneTextureHeight, 1024);
    EXPECT_EQ(cloudsTextureSize, 1024);
    EXPECT_NE(sceneFramebuffer, 0u);
    EXPECT_NEAR(g_camera->target[2], 99.000153f, 1e-4f);
}

}  // namespace
