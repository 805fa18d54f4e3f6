// Mesh preparation: the loader's meshes as separate and interleaved arrays.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "gl/glfw_mesh_data.h"

namespace {

const int kRectangleObj = 141;
const int kRectangleMtl = 140;
const int kTwoMeshesObj = 500;
const int kTwoMeshesMtl = 501;
const int kRepeatedCornerObj = 502;
const int kMissingObj = 999;

void ExpectTriple(const float* values, float x, float y, float z, const char* what, int vertex) {
    EXPECT_FLOAT_EQ(values[0], x) << what << " of vertex " << vertex;
    EXPECT_FLOAT_EQ(values[1], y) << what << " of vertex " << vertex;
    EXPECT_FLOAT_EQ(values[2], z) << what << " of vertex " << vertex;
}

TEST(MeshDataTest, TheEmbeddedRectangle) {
    GLFWMeshData mesh(kRectangleObj, kRectangleMtl, 1.0f);
    ASSERT_EQ(mesh.GetIndexCount(), 6);
    ASSERT_EQ(mesh.vertexCount, 6);
    EXPECT_EQ(mesh.GetFloatsPerVertex(), 24);
    EXPECT_EQ(mesh.GetVertexDataSize(), 6 * 96);
    EXPECT_EQ(mesh.GetIndexDataSize(), 6 * 4);
    const std::vector<std::uint32_t> indices(mesh.GetIndexData(), mesh.GetIndexData() + 6);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));

    const float corners[6][3] = {{-1, 1, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, -1, 0}};
    for (int v = 0; v < 6; ++v) {
        const float* vertex = mesh.GetVertexData() + v * 24;
        ExpectTriple(vertex + 0, corners[v][0], corners[v][1], corners[v][2], "position", v);
        ExpectTriple(vertex + 5, 0, 0, 1, "normal", v);
        ExpectTriple(vertex + 14, 0.7765f, 0.8824f, 0.3412f, "ambient", v);
        ExpectTriple(vertex + 17, 0.7765f, 0.8824f, 0.3412f, "diffuse", v);
        ExpectTriple(vertex + 20, 0.35f, 0.35f, 0.35f, "specular", v);
        EXPECT_FLOAT_EQ(vertex[23], 32.0f) << "specular exponent of vertex " << v;
    }
    // The first triangle: (-1,1) (-1,-1) (1,1) with uv (0,1) (0,0) (1,1): f = 1.
    for (int v = 0; v < 3; ++v) {
        const float* vertex = mesh.GetVertexData() + v * 24;
        ExpectTriple(vertex + 8, 1, 0, 0, "tangent", v);
        ExpectTriple(vertex + 11, 0, 1, 0, "bitangent", v);
    }
}

TEST(MeshDataTest, InterleavedRecordsCopyTheSeparateArrays) {
    GLFWMeshData mesh(kTwoMeshesObj, kTwoMeshesMtl, 1.0f);
    const GLFWModelData& m = *mesh.modelData;
    const struct {
        const float* array;
        int width;
        int offset;
    } attributes[] = {{m.positions, 3, 0},  {m.texCoords, 2, 3}, {m.normals, 3, 5},  {m.tangents, 3, 8},
                      {m.bitangents, 3, 11}, {m.ambients, 3, 14}, {m.diffuses, 3, 17}, {m.speculars, 4, 20}};
    for (int v = 0; v < mesh.vertexCount; ++v) {
        for (const auto& a : attributes) {
            for (int i = 0; i < a.width; ++i) {
                EXPECT_EQ(mesh.vertexData[v * 24 + a.offset + i], a.array[v * a.width + i])
                    << "vertex " << v << " offset " << a.offset + i;
            }
        }
    }
}

TEST(MeshDataTest, ScaleMultipliesPositionsOnly) {
    GLFWMeshData plain(kRectangleObj, kRectangleMtl, 1.0f);
    GLFWMeshData doubled(kRectangleObj, kRectangleMtl, 2.0f);
    ASSERT_EQ(plain.vertexCount, doubled.vertexCount);
    for (int v = 0; v < plain.vertexCount; ++v) {
        for (int i = 0; i < 24; ++i) {
            const float expected = i < 3 ? 2.0f * plain.vertexData[v * 24 + i] : plain.vertexData[v * 24 + i];
            EXPECT_EQ(doubled.vertexData[v * 24 + i], expected) << "vertex " << v << " float " << i;
        }
    }
}

TEST(MeshDataTest, SecondMeshIndicesFollowTheFirstMeshVertices) {
    GLFWMeshData mesh(kTwoMeshesObj, kTwoMeshesMtl, 1.0f);
    ASSERT_EQ(mesh.vertexCount, 7);  // a quad of four corners, then a triangle
    const std::vector<std::uint32_t> indices(mesh.GetIndexData(), mesh.GetIndexData() + mesh.GetIndexCount());
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 3, 1, 2, 3, 4, 5, 6}));
    for (int v = 0; v < 7; ++v) {
        const float* vertex = mesh.GetVertexData() + v * 24;
        ExpectTriple(vertex + 5, 0, 0, 1, "normal (normalised from the file's 0 0 2)", v);
        if (v < 4) {
            ExpectTriple(vertex + 17, 0.9f, 0.0f, 0.0f, "diffuse (red)", v);
            EXPECT_FLOAT_EQ(vertex[23], 12.0f);
        } else {
            ExpectTriple(vertex + 17, 0.0f, 0.0f, 0.8f, "diffuse (blue)", v);
            EXPECT_FLOAT_EQ(vertex[23], 7.0f);
        }
    }
}

TEST(MeshDataTest, LeftOverIndicesStayOutOfTheTangentPass) {
    // A face of four corners, two at the same place, gives 7 indices.
    GLFWMeshData mesh(kRepeatedCornerObj, kTwoMeshesMtl, 1.0f);
    ASSERT_EQ(mesh.GetIndexCount() % 3, 1) << "the fixture should give a count that is not a multiple of 3";
    // The pass reads whole triangles only; the sanitizer build catches a read past the last index.
    for (int i = 0; i < mesh.GetIndexCount(); ++i) EXPECT_LT(mesh.GetIndexData()[i], 4u);
}

TEST(MeshDataDeathTest, AModelThatDoesNotLoadEndsTheProcessWithCodeZero) {
    EXPECT_EXIT(GLFWMeshData(kMissingObj, kTwoMeshesMtl, 1.0f), ::testing::ExitedWithCode(0),
                "Debug: Failed to load mesh");
}

}  // namespace
