// The hidden window in which the developer tools (corvelle-still, the
// benchmark of bench/) draw frames of the scene with the screensaver's own
// code.
#pragma once

#include <string>
#include <vector>

struct GLFWwindow;

// Initialises GLFW and opens a hidden width x height window with the
// screensaver's window hints, its context current and the GL entry points
// loaded and checked; the scene's window size (SetWindowSize) becomes the
// window's framebuffer size. Null, with the reason in `problem`, when a step
// fails.
GLFWwindow* OpenSceneWindow(int width, int height, const char* title, std::string* problem);

// The back buffer's RGBA8 pixels over windowWidth x windowHeight, rows
// bottom-up as GL counts them.
std::vector<unsigned char> ReadSceneFrame();
