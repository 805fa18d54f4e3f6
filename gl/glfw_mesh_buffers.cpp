#include "gl/glfw_mesh_buffers.h"

#include <cstdint>

#include "gl/glfw_program.h"
#include "gl/glfw_program_manager.h"

GLFWMeshBuffers::GLFWMeshBuffers(GLFWProgramManager* programManager)
    : programManager(programManager), vertexBuffer(0), indexBuffer(0), vertexData(nullptr), vertexDataSize(0),
      floatsPerVertex(0), indexData(nullptr), indexDataSize(0), indexCount(0) {
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
}

GLFWMeshBuffers::~GLFWMeshBuffers() {
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &indexBuffer);
}

void GLFWMeshBuffers::SetVertexData(std::int32_t byteSize, float* data, std::int32_t floats) {
    vertexDataSize = byteSize;
    vertexData = data;
    floatsPerVertex = floats;
}

void GLFWMeshBuffers::SetIndexData(std::int32_t byteSize, std::uint32_t* data, std::int32_t count) {
    indexDataSize = byteSize;
    indexData = data;
    indexCount = count;
}

void GLFWMeshBuffers::AddAttribute(const char* programName, const char* attributeName, std::int32_t components,
                                   std::int32_t offset) {
    GLFWProgram* program = programManager->GetProgram(programName);
    const std::int32_t location = program->GetAttribLocation(attributeName);
    attributeLocations.insert({attributeName, location});
    attributeSizes.insert({attributeName, components});
    attributeOffsets.insert({attributeName, offset});
}

void GLFWMeshBuffers::Bind() {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
}

// In key order. An attribute the program does not use has location -1: GL
// refuses these calls with an error, which nothing reads, and drawing goes on.
void GLFWMeshBuffers::SetAttributePointers() {
    for (const auto& entry : attributeLocations) {
        const std::int32_t components = attributeSizes.at(entry.first);
        const std::int32_t offset = attributeOffsets.at(entry.first);
        const GLuint location = static_cast<GLuint>(entry.second);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, floatsPerVertex * 4,
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset) * 4));
    }
}

void GLFWMeshBuffers::Prepare() {
    Bind();
    SetAttributePointers();
}

void GLFWMeshBuffers::Upload() {
    Prepare();
    glBufferData(GL_ARRAY_BUFFER, vertexDataSize, vertexData, GL_STATIC_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexDataSize, indexData, GL_STATIC_DRAW);
}
