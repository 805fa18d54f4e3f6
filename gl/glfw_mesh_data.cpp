#include "gl/glfw_mesh_data.h"

#include <cstring>

GLFWMeshData::GLFWMeshData(int objResourceId, int mtlResourceId, float scale)
    : vertexData(nullptr), floatsPerVertex(24), positionOffset(0), texCoordOffset(3), normalOffset(5),
      tangentOffset(8), bitangentOffset(11), ambientOffset(14), diffuseOffset(17), specularOffset(20),
      indexData(nullptr), modelData(new GLFWModelData(objResourceId, mtlResourceId, scale)),
      vertexCount(modelData->vertexCount), indexCount(modelData->indexCount) {
    vertexData = new float[static_cast<std::size_t>(vertexCount) * floatsPerVertex];
    indexData = new std::uint32_t[indexCount];

    const GLFWModelData& m = *modelData;
    const struct {
        const float* source;
        int width;
        std::int32_t offset;
    } attributes[] = {
        {m.positions, 3, positionOffset}, {m.texCoords, 2, texCoordOffset},   {m.normals, 3, normalOffset},
        {m.tangents, 3, tangentOffset},   {m.bitangents, 3, bitangentOffset}, {m.ambients, 3, ambientOffset},
        {m.diffuses, 3, diffuseOffset},   {m.speculars, 4, specularOffset},
    };
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        float* vertex = vertexData + static_cast<std::size_t>(i) * floatsPerVertex;
        for (const auto& a : attributes) std::memcpy(vertex + a.offset, a.source + i * a.width, a.width * sizeof(float));
    }
    std::memcpy(indexData, m.triangleIndices, static_cast<std::size_t>(indexCount) * sizeof(std::uint32_t));
}

GLFWMeshData::~GLFWMeshData() {
    delete[] vertexData;
    delete[] indexData;
    delete modelData;
}
