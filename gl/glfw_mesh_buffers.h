// The GL vertex and index buffers of one drawable, and the description of its
// vertex attributes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "gl/gl_loader.h"

class GLFWProgramManager;

class GLFWMeshBuffers {
public:
    explicit GLFWMeshBuffers(GLFWProgramManager* programManager);
    ~GLFWMeshBuffers();
    GLFWMeshBuffers(const GLFWMeshBuffers&) = delete;
    GLFWMeshBuffers& operator=(const GLFWMeshBuffers&) = delete;

    // Store their arguments only; nothing reaches GL before Upload.
    void SetVertexData(std::int32_t byteSize, float* data, std::int32_t floatsPerVertex);
    void SetIndexData(std::int32_t byteSize, std::uint32_t* data, std::int32_t count);

    // Records an attribute of the named program; a name already present keeps its first entry.
    void AddAttribute(const char* programName, const char* attributeName, std::int32_t components,
                      std::int32_t offset);
    void Bind();
    void SetAttributePointers();
    void Prepare();
    void Upload();
    std::int32_t GetIndexCount() const { return indexCount; }

    GLFWProgramManager* programManager;
    GLuint vertexBuffer;
    GLuint indexBuffer;
    float* vertexData;
    std::int32_t vertexDataSize;
    std::int32_t floatsPerVertex;
    std::map<std::string, std::int32_t> attributeLocations;
    std::map<std::string, std::int32_t> attributeSizes;
    std::map<std::string, std::int32_t> attributeOffsets;
    std::uint32_t* indexData;
    std::int32_t indexDataSize;
    std::int32_t indexCount;
};
