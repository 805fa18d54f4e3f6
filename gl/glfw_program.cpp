#include "gl/glfw_program.h"

#include "platform/platform.h"

GLFWProgram::GLFWProgram(int vertexResourceId, int fragmentResourceId)
    : vertexSource(kSourceBufferSize), fragmentSource(kSourceBufferSize), vertexShader(0), fragmentShader(0),
      program(0) {
    LoadTextResource(vertexResourceId, vertexSource.data(), kSourceLimit);
    LoadTextResource(fragmentResourceId, fragmentSource.data(), kSourceLimit);
    program = glCreateProgram();
    vertexShader = CompileShader(GL_VERTEX_SHADER, vertexSource.data(), "Vertex shader compilation error");
    fragmentShader = CompileShader(GL_FRAGMENT_SHADER, fragmentSource.data(), "Fragment shader compilation error");
    Link();
}

GLFWProgram::~GLFWProgram() {
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    glDeleteProgram(program);
}

void GLFWProgram::LoadTextResource(int resourceId, char* buffer, std::size_t limit) {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    platform::FindResourceBytes("TEXTFILE", resourceId, &bytes, &size);
    const std::size_t end = size < limit ? size : limit;
    std::size_t length = 0;
    while (length < end && bytes[length] != '~') {
        buffer[length] = static_cast<char>(bytes[length]);
        ++length;
    }
    for (std::size_t i = 0; i < 4; ++i) buffer[length + i] = '\0';
}

GLuint GLFWProgram::CompileShader(GLenum type, const char* source, const char* failureMessage) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        ShowInfoLog(shader, glGetShaderiv, glGetShaderInfoLog);
        platform::ShowMessage(failureMessage, "Debug");
        glDeleteShader(shader);
        platform::ExitProcess(0);
    }
    return shader;
}

// A program that does not link would draw nothing; say so and stop, as for a
// compile error.
void GLFWProgram::Link() {
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == 0) {
        ShowInfoLog(program, glGetProgramiv, glGetProgramInfoLog);
        platform::ShowMessage("Shader program link error", "Debug");
        platform::ExitProcess(0);
    }
}

// Shows a shader's or a program's info log in a message box.
void GLFWProgram::ShowInfoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    getLog(object, length, &length, log.data());
    platform::ShowMessage(log.data(), "Debug");
}

GLuint GLFWProgram::GetProgramId() const { return program; }

GLint GLFWProgram::GetUniformLocation(const char* name) { return LookupLocation(LocationKind::Uniform, name); }

GLint GLFWProgram::GetAttribLocation(const char* name) { return LookupLocation(LocationKind::Attribute, name); }

GLint GLFWProgram::LookupLocation(LocationKind kind, const char* name) {
    const std::string key(name);
    auto found = locations.find(key);
    if (found != locations.end()) return found->second;
    const GLint location =
        kind == LocationKind::Uniform ? glGetUniformLocation(program, name) : glGetAttribLocation(program, name);
    locations.emplace(key, location);
    return location;
}

void GLFWProgram::Use() { glUseProgram(program); }

void GLFWProgram::SetTexture(const char* name, int unit, GLuint texture) {
    glUniform1i(GetUniformLocation(name), unit);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}
