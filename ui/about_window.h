// The About window of configure mode ("/c").
#pragma once

#include "platform/platform.h"

class CAboutWindow {
public:
    // Shows the window and runs its message loop; returns once it has closed.
    CAboutWindow(platform::ModuleInstance instance, int showCommand);
};
