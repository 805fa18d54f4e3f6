#include "gl/glfw_model_data.h"

#include <GLFW/glfw3.h>

#include "math/vector_math.h"
#include "objl/model_loader.h"
#include "platform/platform.h"

namespace {

// Without its model the screensaver has nothing to draw.
[[noreturn]] void FailToLoadMesh() {
    platform::ShowMessage("Failed to load mesh", "Debug");
    glfwTerminate();
    platform::ExitProcess(0);
}

void Put3(float* array, std::int64_t k, float x, float y, float z) {
    array[3 * k + 0] = x;
    array[3 * k + 1] = y;
    array[3 * k + 2] = z;
}

Vec3 Get3(const float* array, std::uint32_t k) { return Vec3(array[3 * k], array[3 * k + 1], array[3 * k + 2]); }

Vec2 Get2(const float* array, std::uint32_t k) { return Vec2(array[2 * k], array[2 * k + 1]); }

}  // namespace

GLFWModelData::GLFWModelData(int objResourceId, int mtlResourceId, float scale)
    : positions(nullptr), texCoords(nullptr), normals(nullptr), tangents(nullptr), bitangents(nullptr),
      ambients(nullptr), diffuses(nullptr), speculars(nullptr), triangleIndices(nullptr), vertexCount(0),
      indexCount(0), scale(scale) {
    Load(objResourceId, mtlResourceId);
}

GLFWModelData::~GLFWModelData() {
    delete[] positions;
    delete[] texCoords;
    delete[] normals;
    delete[] tangents;
    delete[] bitangents;
    delete[] ambients;
    delete[] diffuses;
    delete[] speculars;
    delete[] triangleIndices;
}

void GLFWModelData::Load(int objResourceId, int mtlResourceId) {
    objl::ModelLoader* loader = new objl::ModelLoader();
    if (!loader->loadFromResources(objResourceId, mtlResourceId)) FailToLoadMesh();

    std::int64_t vertices = 0;
    std::int64_t indices = 0;
    for (const objl::Mesh& mesh : loader->meshes) {
        vertices += static_cast<std::int64_t>(mesh.vertices.size());
        indices += static_cast<std::int64_t>(mesh.indices.size());
    }
    // The GL buffers take 32-bit sizes of 96 bytes a vertex.
    if (vertices > INT32_MAX / 96 || indices > INT32_MAX / 4) FailToLoadMesh();
    vertexCount = static_cast<std::int32_t>(vertices);
    indexCount = static_cast<std::int32_t>(indices);

    positions = new float[3 * vertexCount];
    texCoords = new float[2 * vertexCount];
    normals = new float[3 * vertexCount];
    tangents = new float[3 * vertexCount]();
    bitangents = new float[3 * vertexCount]();
    ambients = new float[3 * vertexCount];
    diffuses = new float[3 * vertexCount];
    speculars = new float[4 * vertexCount];
    triangleIndices = new std::uint32_t[indexCount];

    std::uint32_t vertexBase = 0;
    std::uint32_t indexBase = 0;
    for (const objl::Mesh& mesh : loader->meshes) {
        const objl::Material& material = mesh.material;
        for (std::size_t j = 0; j < mesh.vertices.size(); ++j) {
            const objl::Vertex& vertex = mesh.vertices[j];
            const std::int64_t k = vertexBase + j;
            Put3(positions, k, vertex.position.x * scale, vertex.position.y * scale, vertex.position.z * scale);
            const Vec3 normal = normalize(Vec3(vertex.normal.x, vertex.normal.y, vertex.normal.z));
            Put3(normals, k, normal[0], normal[1], normal[2]);
            texCoords[2 * k + 0] = vertex.texCoord.x;
            texCoords[2 * k + 1] = vertex.texCoord.y;
            Put3(ambients, k, material.ambient.x, material.ambient.y, material.ambient.z);
            Put3(diffuses, k, material.diffuse.x, material.diffuse.y, material.diffuse.z);
            speculars[4 * k + 0] = material.specular.x;
            speculars[4 * k + 1] = material.specular.y;
            speculars[4 * k + 2] = material.specular.z;
            speculars[4 * k + 3] = material.specularExponent;
        }
        for (std::size_t t = 0; t < mesh.indices.size(); ++t) triangleIndices[indexBase + t] = vertexBase + mesh.indices[t];
        vertexBase += static_cast<std::uint32_t>(mesh.vertices.size());
        indexBase += static_cast<std::uint32_t>(mesh.indices.size());
    }
    ComputeTangents();
    delete loader;
}

// One tangent and bitangent per triangle, written to its three corners; a
// vertex shared by several triangles keeps the last one's. Indices left over
// after the last whole triangle take no part.
void GLFWModelData::ComputeTangents() {
    for (std::int64_t t = 0; t + 2 < indexCount; t += 3) {
        const std::uint32_t a = triangleIndices[t];
        const std::uint32_t b = triangleIndices[t + 1];
        const std::uint32_t c = triangleIndices[t + 2];
        const Vec3 pa = Get3(positions, a);
        const Vec3 e1 = Get3(positions, b) - pa;
        const Vec3 e2 = Get3(positions, c) - pa;
        const Vec2 uva = Get2(texCoords, a);
        const Vec2 d1 = Get2(texCoords, b) - uva;
        const Vec2 d2 = Get2(texCoords, c) - uva;
        const float f = 1.0f / (d1[0] * d2[1] - d2[0] * d1[1]);

        Vec3 tangent;
        Vec3 bitangent;
        for (int i = 0; i < 3; ++i) {
            tangent[i] = (d2[1] * e1[i] - d1[1] * e2[i]) * f;
            bitangent[i] = ((-d2[0]) * e1[i] + d1[0] * e2[i]) * f;
        }
        tangent = normalize(tangent);
        bitangent = normalize(bitangent);
        for (std::uint32_t corner : {a, b, c}) {
            Put3(tangents, corner, tangent[0], tangent[1], tangent[2]);
            Put3(bitangents, corner, bitangent[0], bitangent[1], bitangent[2]);
        }
    }
}
