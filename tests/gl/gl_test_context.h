// A real GL context for the GL tests: a small hidden GLFW window with the
// screensaver's context hints, current on the test thread, with the entry
// points loaded. Linking gl_test_context.cpp into a test binary makes it
// once per process, before the first test (and again in each death-test child).
#pragma once

struct GLFWwindow;

// The test context's window; null when it could not be made.
GLFWwindow* TestContextWindow();
// What GLLoaderInit answered for the test context.
int TestContextLoaderResult();
