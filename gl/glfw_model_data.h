// A model's geometry as separate per-attribute arrays, loaded from an
// embedded OBJ text and its MTL library, with tangents and material colours.
#pragma once

#include <cstdint>

class GLFWModelData {
public:
    // Loads the model; ends the process with "Failed to load mesh" when it cannot.
    GLFWModelData(int objResourceId, int mtlResourceId, float scale);
    ~GLFWModelData();
    GLFWModelData(const GLFWModelData&) = delete;
    GLFWModelData& operator=(const GLFWModelData&) = delete;

    float* positions;       // 3 per vertex, scaled
    float* texCoords;       // 2 per vertex
    float* normals;         // 3 per vertex, unit length
    float* tangents;        // 3 per vertex, unit length
    float* bitangents;      // 3 per vertex, unit length
    float* ambients;        // 3 per vertex: the material's Ka
    float* diffuses;        // 3 per vertex: Kd
    float* speculars;       // 4 per vertex: Ks, then Ns
    std::uint32_t* triangleIndices;
    std::int32_t vertexCount;
    std::int32_t indexCount;
    float scale;

private:
    void Load(int objResourceId, int mtlResourceId);
    void ComputeTangents();
};
