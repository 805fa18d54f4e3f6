// A small hidden GLFW window with the screensaver's context hints, its
// context current and the GL entry points loaded: the real context of the
// GL tests and of the Windows probe.
#pragma once

struct GLFWwindow;

// Initialises GLFW and opens the window; null when either fails. Stores what
// GLLoaderInit answered in `loaderResult`.
GLFWwindow* OpenTestContextWindow(int* loaderResult);
