// One linked shader program, built from two TEXTFILE resources, with a cache
// of uniform and attribute locations.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "gl/gl_loader.h"

class GLFWProgram {
public:
    // The most a shader text may hold before its end marker, and the size of
    // the buffer that holds it: the text plus four terminating zeros.
    static const std::size_t kSourceLimit = 16384;
    static const std::size_t kSourceBufferSize = kSourceLimit + 4;

    // Reads both texts, compiles and links them. Returns only with a linked
    // program: a compile or link failure shows its log and a message, then
    // ends the process with exit code 0.
    GLFWProgram(int vertexResourceId, int fragmentResourceId);
    ~GLFWProgram();
    GLFWProgram(const GLFWProgram&) = delete;
    GLFWProgram& operator=(const GLFWProgram&) = delete;

    GLuint GetProgramId() const;
    // -1 when the program has no active uniform (attribute) of that name.
    // Both kinds share one cache keyed by the name alone: GL is asked once
    // per name, and a name asked as one kind answers the same for the other.
    GLint GetUniformLocation(const char* name);
    GLint GetAttribLocation(const char* name);
    void Use();
    // Sets the sampler `name` of the current program to `unit` and binds
    // `texture` as GL_TEXTURE_2D on that unit, leaving the unit active.
    void SetTexture(const char* name, int unit, GLuint texture);

    // Copies the TEXTFILE resource `resourceId` into `buffer` (limit + 4
    // bytes) up to its first tilde, the end of the resource or `limit`
    // bytes, whichever comes first, and zero-terminates it with four zeros.
    // A missing resource gives an empty text.
    static void LoadTextResource(int resourceId, char* buffer, std::size_t limit);

    std::vector<char> vertexSource;
    std::vector<char> fragmentSource;
    GLuint vertexShader;
    GLuint fragmentShader;
    GLuint program;
    std::map<std::string, GLint> locations;

private:
    enum class LocationKind { Uniform, Attribute };

    GLint LookupLocation(LocationKind kind, const char* name);
    static GLuint CompileShader(GLenum type, const char* source, const char* failureMessage);
    void Link();
    static void ShowInfoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog);
};
