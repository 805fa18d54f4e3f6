// The Windows entry point: the screensaver host starts us with the switch text.
#include <windows.h>

#include "app/screensaver_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return ScreensaverMain(commandLine, instance, showCommand);
}
