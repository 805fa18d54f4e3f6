// Geometry, face corners and ear-clipping triangulation.
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objl/geometry.h"
#include "objl/model_loader.h"
#include "tests/objl/objl_expect.h"

namespace {

using objl::Vector2;
using objl::Vector3;
using objl::Vertex;
using Indices = std::vector<std::uint32_t>;

const float kNaN = std::nanf("");

TEST(Geometry, VectorOperations) {
    ExpectVector3Eq(objl::crossProduct(Vector3(1, 0, 0), Vector3(0, 1, 0)), Vector3(0, 0, 1));
    ExpectVector3Eq(objl::crossProduct(Vector3(1, 2, 3), Vector3(4, 5, 6)), Vector3(-3, 6, -3));
    EXPECT_EQ(objl::dotProduct(Vector3(1, 2, 3), Vector3(4, -5, 6)), 12.0f);
    // Summed left to right, 1 + 1e8 loses the 1 before -1e8 is added.
    EXPECT_EQ(objl::dotProduct(Vector3(1, 1e8f, -1e8f), Vector3(1, 1, 1)), 0.0f);
    EXPECT_EQ(objl::magnitude(Vector3(2, 3, 6)), 7.0f);
    EXPECT_EQ(objl::angleBetween(Vector3(1, 0, 0), Vector3(0, 3, 0)), 1.5707964f);
    EXPECT_EQ(objl::angleBetween(Vector3(1, 0, 0), Vector3(-2, 0, 0)), 3.1415927f);
    EXPECT_EQ(objl::angleBetween(Vector3(0, 0, 5), Vector3(0, 0, 1)), 0.0f);
    EXPECT_TRUE(std::isnan(objl::angleBetween(Vector3(0, 0, 0), Vector3(1, 0, 0))));
}

TEST(Geometry, PointInTriangle) {
    const Vector3 a(0, 0, 0), b(2, 0, 0), c(0, 2, 0);
    struct Case {
        const char* name;
        Vector3 p, t1, t2, t3;
        bool inside;
    };
    const std::vector<Case> cases = {
        {"inside", {0.5f, 0.5f, 0}, a, b, c, true},
        {"on an edge", {1, 0, 0}, a, b, c, true},
        {"on the hypotenuse", {1, 1, 0}, a, b, c, true},
        {"at a corner", {0, 0, 0}, a, b, c, true},
        {"above the plane, inside", {0.5f, 0.5f, 3}, a, b, c, true},
        {"outside", {2, 2, 0}, a, b, c, false},
        {"just outside an edge", {-0.25f, 0.5f, 0}, a, b, c, false},
        {"degenerate triangle", {1, 0, 0}, a, b, Vector3(4, 0, 0), false},
    };
    for (const Case& c : cases) EXPECT_EQ(objl::pointInTriangle(c.p, c.t1, c.t2, c.t3), c.inside) << c.name;
}

// Face vertices at these positions, with zero normals and texture coordinates.
std::vector<Vertex> FaceAt(const std::vector<Vector3>& positions) {
    std::vector<Vertex> face;
    for (const Vector3& p : positions) {
        Vertex v;
        v.position = p;
        face.push_back(v);
    }
    return face;
}

TEST(Triangulation, Polygons) {
    struct Case {
        const char* name;
        std::vector<Vector3> positions;
        Indices expected;
    };
    const std::vector<Case> cases = {
        {"no corner", {}, {}},
        {"two corners", {{0, 0, 0}, {1, 0, 0}}, {}},
        {"triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}},
        {"collinear triangle", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0, 1, 2}},
        // Cut along the diagonal from the last corner to the second.
        {"square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 1, 3, 1, 2, 3}},
        {"concave quadrilateral", {{0, 0, 0}, {2, 1, 0}, {0, 2, 0}, {0.5f, 1, 0}}, {0, 1, 3, 1, 2, 3}},
        // The ear at corner 0 first, then the last four corners.
        {"convex pentagon", {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 3, 0}, {-1, 1, 0}}, {0, 1, 4, 1, 2, 4, 2, 3, 4}},
        // Corner 0 lies on the line between its neighbours (180 degrees) and is
        // passed over; the first ear is corner 1.
        {"180 degree corner",
         {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {-1, 1, 0}, {-1, 0, 0}},
         {0, 1, 2, 0, 2, 4, 2, 3, 4}},
        // Corner 0's neighbours lie on the same side (0 degrees): passed over.
        // Corner 1's triangle holds (1, 0, 0) on its edge, so corner 2 is the first ear.
        {"0 degree corner",
         {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}, {1, 0, 0}},
         {1, 2, 3, 0, 1, 4, 1, 3, 4}},
        // Every corner is at 0 or 180 degrees: the first pass finds no ear.
        {"no ear on the first pass", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}, {}},
        // The apex is clipped, then the five collinear corners left have no ear.
        {"no ear on a later pass",
         {{1.5f, 1, 0}, {1, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {2, 0, 0}},
         {0, 1, 5}},
        // A repeated position yields every face vertex that holds it.
        {"quadrilateral repeating a position", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, {0, 0, 1, 3, 3, 0, 1, 2, 3}},
        // A NaN coordinate: the corner's angle and ear test give no reason to
        // pass it over, so it is clipped first; no position equals it, so its
        // triangle yields only its neighbours, and it leaves the list by its
        // place (it used to stay, and the same clip repeated without end).
        {"pentagon with a NaN corner",
         {{kNaN, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 0.5f, 0}},
         {1, 4, 1, 2, 4, 2, 3, 4}},
        {"NaN corner in the middle",
         {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {kNaN, 3, 0}, {-1, 1, 0}},
         {0, 1, 4, 1, 2, 4, 2, 4}},
    };
    const objl::ModelLoader loader;
    for (const Case& c : cases) {
        Indices indices = {99};  // appended to, never cleared
        loader.triangulatePolygon(indices, FaceAt(c.positions));
        Indices expected = {99};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(indices, expected) << c.name;
    }
}

// The lists of the embedded rectangle model, as its "v", "vt" and "vn" lines give them.
struct RectangleLists {
    std::vector<Vector3> positions = {{-1, 1, 0}, {-1, -1, -0.0f}, {1, 1, 0}, {1, -1, -0.0f}};
    std::vector<Vector2> texCoords = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    std::vector<Vector3> normals = {{0, -0.0f, 1}};
};

TEST(FaceVertices, EmbeddedModelFace) {
    const RectangleLists lists;
    const objl::ModelLoader loader;
    std::vector<Vertex> face;
    loader.buildFaceVertices(face, lists.positions, lists.texCoords, lists.normals, "f 1/1/1 2/2/1 3/3/1 ");
    ASSERT_EQ(face.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ExpectVector3Eq(face[i].position, lists.positions[i]);
        ExpectVector2Eq(face[i].texCoord, lists.texCoords[i]);
        ExpectVector3Eq(face[i].normal, Vector3(0, 0, 1));
        EXPECT_TRUE(std::signbit(face[i].normal.y));
    }
    Indices indices;
    loader.triangulatePolygon(indices, face);
    EXPECT_EQ(indices, (Indices{0, 1, 2}));
}

TEST(FaceVertices, CornerForms) {
    const std::vector<Vector3> positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 2}};
    const std::vector<Vector2> texCoords = {{0.25f, 0.5f}, {0.75f, 1}};
    const std::vector<Vector3> normals = {{0, 0, 1}, {1, 0, 0}};
    struct Expected {
        Vector3 position, normal;
        Vector2 texCoord;
    };
    struct Case {
        std::string line;
        std::vector<Expected> vertices;
    };
    // The generated normal is cross(p0 - p1, p2 - p1) of the first three corners, not
    // normalised; for (0,0,0), (1,0,0) and (1,1,0) or (0,1,0) it is (0, 0, -1).
    const Vector3 squareNormal(0, 0, -1);
    const std::vector<Case> cases = {
        {"f 1 2 3 4",
         {{{0, 0, 0}, squareNormal, {0, 0}},
          {{1, 0, 0}, squareNormal, {0, 0}},
          {{1, 1, 0}, squareNormal, {0, 0}},
          {{0, 1, 0}, squareNormal, {0, 0}}}},
        {"f -3 -2 -1",
         {{{1, 1, 0}, {0, -2, -1}, {0, 0}}, {{0, 1, 0}, {0, -2, -1}, {0, 0}}, {{0, 0, 2}, {0, -2, -1}, {0, 0}}}},
        {"f 1/1 2/2 4/1",
         {{{0, 0, 0}, squareNormal, {0.25f, 0.5f}},
          {{1, 0, 0}, squareNormal, {0.75f, 1}},
          {{0, 1, 0}, squareNormal, {0.25f, 0.5f}}}},
        {"f 1//2 2//1 3//2",
         {{{0, 0, 0}, {1, 0, 0}, {0, 0}}, {{1, 0, 0}, {0, 0, 1}, {0, 0}}, {{1, 1, 0}, {1, 0, 0}, {0, 0}}}},
        // One corner without a normal: every corner gets the generated one.
        {"f 1/1/2 2/2 3/1/1",
         {{{0, 0, 0}, squareNormal, {0.25f, 0.5f}},
          {{1, 0, 0}, squareNormal, {0.75f, 1}},
          {{1, 1, 0}, squareNormal, {0.25f, 0.5f}}}},
        // 1/2/3/4 and the empty corner between two blanks yield nothing.
        {"f 1 1/2/1/1 2  3",
         {{{0, 0, 0}, squareNormal, {0, 0}}, {{1, 0, 0}, squareNormal, {0, 0}}, {{1, 1, 0}, squareNormal, {0, 0}}}},
        // Two corners with normals: no triangle, the normals from the file.
        {"f 1//1 2//1", {{{0, 0, 0}, {0, 0, 1}, {0, 0}}, {{1, 0, 0}, {0, 0, 1}, {0, 0}}}},
        // Fewer than three corners and no normals: nothing to generate a
        // normal from; each vertex keeps what the reused corner record held.
        {"f 1 2", {{{0, 0, 0}, {0, 0, 0}, {0, 0}}, {{1, 0, 0}, {0, 0, 0}, {0, 0}}}},
        {"f 1/2/2 3", {{{0, 0, 0}, {1, 0, 0}, {0.75f, 1}}, {{1, 1, 0}, {1, 0, 0}, {0, 0}}}},
        {"f 5", {{{0, 0, 2}, {0, 0, 0}, {0, 0}}}},
    };
    const objl::ModelLoader loader;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<Vertex> face;
        loader.buildFaceVertices(face, positions, texCoords, normals, c.line);
        ASSERT_EQ(face.size(), c.vertices.size());
        for (std::size_t i = 0; i < face.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "vertex " << i);
            ExpectVector3Eq(face[i].position, c.vertices[i].position);
            ExpectVector3Eq(face[i].normal, c.vertices[i].normal);
            ExpectVector2Eq(face[i].texCoord, c.vertices[i].texCoord);
        }
    }
}

TEST(FaceVertices, BadIndicesAreRejected) {
    const RectangleLists lists;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"f 0 1 2", "OBJ index 0 does not designate an element (indices count from 1)"},
        {"f 1 2 5", "OBJ index 5 is outside a list of length 4"},
        {"f -5 1 2", "OBJ index -5 is outside a list of length 4"},
        {"f 1/5 2/1 3/1", "OBJ index 5 is outside a list of length 4"},
        {"f 1//2 2//1 3//1", "OBJ index 2 is outside a list of length 1"},
        {"f 1/0/1 2/1/1 3/1/1", "OBJ index 0 does not designate an element (indices count from 1)"},
    };
    const objl::ModelLoader loader;
    for (const auto& [line, message] : cases) {
        std::vector<Vertex> face;
        try {
            loader.buildFaceVertices(face, lists.positions, lists.texCoords, lists.normals, line);
            ADD_FAILURE() << line << " was accepted";
        } catch (const std::out_of_range& e) {
            EXPECT_EQ(std::string(e.what()), message) << line;
        }
    }
}

}  // namespace
