#include "app/screensaver_main.h"

#include "app/command_line.h"
#include "app/glfw_screensaver.h"
#include "app/main_loop.h"
#include "ui/about_window.h"

CCommandLine* g_commandLine = nullptr;
GLFWScreensaver* g_screensaver = nullptr;

int ScreensaverMain(const char* commandLine, platform::ModuleInstance instance, int showCommand) {
    g_commandLine = new CCommandLine(commandLine);

    const ScreensaverMode mode = g_commandLine->mode;
    if ((mode == Preview || mode == NoSwitch) && !g_commandLine->IsFirstInstance()) return 0;

    if (mode == Configure) {
        new CAboutWindow(instance, showCommand);  // returns once the window has closed
        return 0;
    }

    g_screensaver = new GLFWScreensaver(g_commandLine);
    RunMainLoop();
    return 0;
}
