#include "app/main_loop.h"

#include <GLFW/glfw3.h>

#include "app/command_line.h"
#include "app/glfw_screensaver.h"
#include "app/scene.h"
#include "math/glfw_frame_info.h"

extern CCommandLine* g_commandLine;
extern GLFWScreensaver* g_screensaver;

void UpdateFrame() {
    const float time = static_cast<float>(glfwGetTime());
    g_frameInfo->SetTime(time);
    RenderScene();
}

void RunMainLoop() {
    InitScene();
    GLFWwindow* window = g_screensaver->window;
    bool keepRunning = true;
    do {
        UpdateFrame();
        glfwSwapBuffers(window);
        glfwPollEvents();  // key and mouse-button events end the process in here
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS) keepRunning = false;
        if (glfwWindowShouldClose(window)) keepRunning = false;
        if (g_commandLine->mode == Preview && !platform::IsPreviewWindowEnabled(g_commandLine->parentWindow)) break;
    } while (keepRunning);
}
