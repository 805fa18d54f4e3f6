#include "app/scene.h"

#include "app/glfw_screensaver.h"
#include "gl/glfw_drawable_sky.h"
#include "gl/glfw_program.h"
#include "gl/glfw_program_manager.h"
#include "gl/glfw_texture.h"
#include "math/glfw_camera.h"
#include "math/glfw_frame_info.h"

namespace {

const char kBackgroundProgram[] = "BackgroundProgram";
const int kFragmentShaderText = 136;
const int kVertexShaderText = 137;
const int kMaterialText = 140;
const int kModelText = 141;
const int kNoiseBitmap = 223;

void CreateSceneFramebuffer() {
    glGenFramebuffers(1, &sceneFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
    glGenTextures(1, &sceneTexture);
    glBindTexture(GL_TEXTURE_2D, sceneTexture);  // on unit 0, where it stays
    sceneTextureWidth = 1024;
    sceneTextureHeight = 1024;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, sceneTextureWidth, sceneTextureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, sceneTexture, 0);
    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0};
    glDrawBuffers(1, drawBuffers);
    // Never drawn into, so its completeness changes nothing.
    (void)(glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE);
}

void LookUpUnusedUniforms() {
    GLFWProgram* program = g_programManager->GetProgram(kBackgroundProgram);
    noiseTextureLocation = program->GetUniformLocation("noiseTexture");
    cloudsTextureLocation = program->GetUniformLocation("cloudsTexture");
    cloudsTextureSizeLocation = program->GetUniformLocation("cloudsTextureSize");
    renderModeLocation = program->GetUniformLocation("renderMode");
}

}  // namespace

GLFWProgramManager* g_programManager = nullptr;
GLFWFrameInfo* g_frameInfo = nullptr;
GLFWCamera* g_camera = nullptr;
GLFWTexture* g_noiseTexture = nullptr;
GLFWDrawableSky* g_sky = nullptr;

GLuint sceneFramebuffer = 0;
GLuint sceneTexture = 0;
std::int32_t sceneTextureWidth = 0;
std::int32_t sceneTextureHeight = 0;
std::int32_t noiseTextureLocation = -1;
std::int32_t cloudsTextureLocation = -1;
std::int32_t cloudsTextureSizeLocation = -1;
std::int32_t renderModeLocation = -1;
std::int32_t renderMode = 0;
std::int32_t cloudsTextureSize = 0;

void InitScene() {
    g_programManager = new GLFWProgramManager();
    g_frameInfo = new GLFWFrameInfo(0.0f);
    g_camera = new GLFWCamera(0.0f, 0.0f, 100.0f);
    g_camera->Pitch(1.0f);
    g_camera->UpdateView(0);
    g_noiseTexture = new GLFWTexture(kNoiseBitmap, 256);
    g_programManager->AddProgram(kBackgroundProgram, kVertexShaderText, kFragmentShaderText);
    g_sky = new GLFWDrawableSky(g_frameInfo, g_camera, g_programManager, kBackgroundProgram, kModelText,
                                kMaterialText, 1.0f);
    g_sky->Init();
    CreateSceneFramebuffer();
    LookUpUnusedUniforms();
    renderMode = 0;
    cloudsTextureSize = 1024;
}

void RenderScene() {
    g_camera->SetProjection(perspective(50.0f, windowAspect, 0.1f, 1000.0f));
    g_frameInfo->SetViewport(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    g_camera->SelectView(0);
    g_sky->SetModelMatrix(translate(0.0f, 0.0f, -100.0f));

    // These reach whatever program is current: none on the first frame.
    glUniform1f(cloudsTextureSizeLocation, static_cast<float>(cloudsTextureSize));
    glUniform1i(cloudsTextureLocation, 0);
    glUniform1i(noiseTextureLocation, 1);

    // renderMode is always 0: draw straight to the window.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, g_noiseTexture->GetTextureId());
    g_frameInfo->SetViewport(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    glViewport(0, 0, windowWidth, windowHeight);
    glUniform1i(renderModeLocation, 0);
    g_sky->Draw();
}
