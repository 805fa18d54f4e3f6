// The GL entry points: every GL function is called through a pointer that
// GLLoaderInit fills once, right after the context has been made current.
#pragma once

#include <string>

#include "gl/gl_entry_points.h"

struct GLLoaderVersionInfo {
    int major;
    int minor;
};

// The context's version as GLLoaderInit read it; 0.0 until then.
extern GLLoaderVersionInfo GLLoaderVersion;

// Fills the table and reads the version: 0 for a context of version 3 or
// more, -1 otherwise (also when glGetIntegerv could not be found).
int GLLoaderInit();

// The context's lookup first, then the GL library's own exports (which is
// where the OpenGL 1.0 and 1.1 functions come from); null when neither has it.
void* GLLoaderGetProcAddress(const char* name);

// 1 when the recorded version is at least major.minor (and major is 3 or more), else 0.
int GLLoaderIsSupported(int major, int minor);

// The screensaver needs OpenGL 4.2 and the functions it calls. Answers false
// with a sentence for the user in `problem` when the context falls short.
bool GLLoaderCheckRequirements(std::string* problem);
