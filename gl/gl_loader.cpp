#include "gl/gl_loader.h"

#include "platform/platform.h"

GLLoaderVersionInfo GLLoaderVersion = {0, 0};

// Open only while the table is being filled; the window layer keeps the same
// library loaded for its own context code, so the pointers stay valid.
static void* s_glLibrary = nullptr;

void* GLLoaderGetProcAddress(const char* name) {
    void* address = platform::GetContextProcAddress(name);
    if (address != nullptr) return address;
    if (s_glLibrary != nullptr) return platform::GetLibrarySymbol(s_glLibrary, name);
    void* library = platform::OpenGlLibrary();
    address = platform::GetLibrarySymbol(library, name);
    platform::CloseGlLibrary(library);
    return address;
}

int GLLoaderInit() {
    s_glLibrary = platform::OpenGlLibrary();
    for (const GLEntryPoint& entry : kGLEntryPoints) *entry.pointer = GLLoaderGetProcAddress(entry.name);
    platform::CloseGlLibrary(s_glLibrary);
    s_glLibrary = nullptr;

    if (glGetIntegerv == nullptr) return -1;
    glGetIntegerv(GL_MAJOR_VERSION, &GLLoaderVersion.major);
    glGetIntegerv(GL_MINOR_VERSION, &GLLoaderVersion.minor);
    return GLLoaderVersion.major < 3 ? -1 : 0;
}

int GLLoaderIsSupported(int major, int minor) {
    if (major < 3) return 0;
    if (GLLoaderVersion.major == major) return GLLoaderVersion.minor >= minor ? 1 : 0;
    return GLLoaderVersion.major >= major ? 1 : 0;
}

// Every GL function the screensaver calls, by the pointer it calls.
static const struct {
    const char* name;
    void* const* pointer;
} kRequiredFunctions[] = {
#define REQUIRED(fn) {#fn, reinterpret_cast<void* const*>(&corvelle_##fn)}
    REQUIRED(glGetIntegerv), REQUIRED(glCullFace), REQUIRED(glFrontFace), REQUIRED(glDisable),
    REQUIRED(glGenFramebuffers), REQUIRED(glBindFramebuffer), REQUIRED(glGenTextures), REQUIRED(glBindTexture),
    REQUIRED(glTexImage2D), REQUIRED(glTexParameteri), REQUIRED(glFramebufferTexture), REQUIRED(glDrawBuffers),
    REQUIRED(glCheckFramebufferStatus), REQUIRED(glActiveTexture), REQUIRED(glEnable), REQUIRED(glClear),
    REQUIRED(glViewport), REQUIRED(glUniform1i), REQUIRED(glUniform1f), REQUIRED(glCreateProgram),
    REQUIRED(glCreateShader), REQUIRED(glShaderSource), REQUIRED(glCompileShader), REQUIRED(glGetShaderiv),
    REQUIRED(glGetShaderInfoLog), REQUIRED(glDeleteShader), REQUIRED(glDeleteProgram), REQUIRED(glAttachShader),
    REQUIRED(glLinkProgram),
    REQUIRED(glUseProgram), REQUIRED(glGetUniformLocation), REQUIRED(glGetAttribLocation),
    REQUIRED(glGetProgramiv), REQUIRED(glGetProgramInfoLog), REQUIRED(glTexStorage2D),
    REQUIRED(glTexSubImage2D), REQUIRED(glGenerateMipmap), REQUIRED(glGenBuffers), REQUIRED(glBindBuffer),
    REQUIRED(glBufferData), REQUIRED(glEnableVertexAttribArray), REQUIRED(glVertexAttribPointer),
    REQUIRED(glDrawElements), REQUIRED(glUniformMatrix4fv),
#undef REQUIRED
};

bool GLLoaderCheckRequirements(std::string* problem) {
    std::string found = std::to_string(GLLoaderVersion.major) + "." + std::to_string(GLLoaderVersion.minor);
    if (GLLoaderVersion.major < 3 && glGetString != nullptr) {
        // Before 3.0 the version is only available as text.
        const GLubyte* text = glGetString(GL_VERSION);
        if (text != nullptr) found = reinterpret_cast<const char*>(text);
    }
    if (!GLLoaderIsSupported(4, 2)) {
        *problem = "Corvelle Screensaver needs OpenGL 4.2 or later; this computer's OpenGL context is version " +
                   found + ".";
        return false;
    }
    for (const auto& required : kRequiredFunctions) {
        if (*required.pointer == nullptr) {
            *problem = std::string("Corvelle Screensaver needs OpenGL 4.2 or later; this computer's OpenGL ") +
                       found + " context lacks " + required.name + ".";
            return false;
        }
    }
    return true;
}
