// A model's vertices interleaved for upload: 24 floats (96 bytes) a vertex.
#pragma once

#include <cstdint>

#include "gl/glfw_model_data.h"

class GLFWMeshData {
public:
    GLFWMeshData(int objResourceId, int mtlResourceId, float scale);
    ~GLFWMeshData();
    GLFWMeshData(const GLFWMeshData&) = delete;
    GLFWMeshData& operator=(const GLFWMeshData&) = delete;

    float* GetVertexData() { return vertexData; }
    std::int32_t GetVertexDataSize() const { return vertexCount * floatsPerVertex * 4; }
    std::int32_t GetFloatsPerVertex() const { return floatsPerVertex; }
    std::uint32_t* GetIndexData() { return indexData; }
    std::int32_t GetIndexDataSize() const { return indexCount * 4; }
    std::int32_t GetIndexCount() const { return indexCount; }

    float* vertexData;
    std::int32_t floatsPerVertex;
    // Where each attribute starts within a vertex, in floats.
    std::int32_t positionOffset;
    std::int32_t texCoordOffset;
    std::int32_t normalOffset;
    std::int32_t tangentOffset;
    std::int32_t bitangentOffset;
    std::int32_t ambientOffset;
    std::int32_t diffuseOffset;
    std::int32_t specularOffset;
    std::uint32_t* indexData;
    GLFWModelData* modelData;
    std::int32_t vertexCount;
    std::int32_t indexCount;
};
