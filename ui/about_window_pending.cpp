#include "ui/about_window.h"

// Configure mode has no window yet: it ends at once.
CAboutWindow::CAboutWindow(platform::ModuleInstance, int) {}
