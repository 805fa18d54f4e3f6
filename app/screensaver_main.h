// The start of the program on every platform: reads the switches and runs
// the chosen mode. Always returns 0.
#pragma once

#include "platform/platform.h"

int ScreensaverMain(const char* commandLine, platform::ModuleInstance instance, int showCommand);
