// The scene: one full-screen rectangle whose fragment shader paints the
// hearts. InitScene builds it once; RenderScene draws one frame.
#pragma once

#include <cstdint>

#include "gl/gl_loader.h"

class GLFWCamera;
class GLFWDrawableSky;
class GLFWFrameInfo;
class GLFWProgramManager;
class GLFWTexture;

extern GLFWProgramManager* g_programManager;
extern GLFWFrameInfo* g_frameInfo;
extern GLFWCamera* g_camera;
extern GLFWTexture* g_noiseTexture;
extern GLFWDrawableSky* g_sky;

// An off-screen target that is made once and never drawn into.
extern GLuint sceneFramebuffer;
extern GLuint sceneTexture;
extern std::int32_t sceneTextureWidth;
extern std::int32_t sceneTextureHeight;

// Locations in "BackgroundProgram" of uniforms the hearts shader declares but does not read (-1).
extern std::int32_t noiseTextureLocation;
extern std::int32_t cloudsTextureLocation;
extern std::int32_t cloudsTextureSizeLocation;
extern std::int32_t renderModeLocation;
extern std::int32_t renderMode;
extern std::int32_t cloudsTextureSize;

void InitScene();
void RenderScene();
