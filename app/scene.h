// The scene: built once by InitScene, drawn every frame by RenderScene.
#pragma once

class GLFWFrameInfo;

extern GLFWFrameInfo* g_frameInfo;

void InitScene();
void RenderScene();
