// The OBJ reader: the embedded rectangle, mesh naming, material assignment,
// the progress report and the rejected inputs.
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objl/model_loader.h"
#include "objl/text_utilities.h"
#include "tests/objl/objl_expect.h"

namespace {

using objl::Vector2;
using objl::Vector3;
using Indices = std::vector<std::uint32_t>;

// Loads from texts with the progress report captured.
struct Loaded {
    objl::ModelLoader loader;
    objl::LoadResult result;
    std::string progress;
};

void Load(Loaded& loaded, const std::string& obj, const std::string& mtl) {
    std::ostringstream progress;
    loaded.result = loaded.loader.loadFromTexts(obj, mtl, progress);
    loaded.progress = progress.str();
}

const std::string kCounts = "\r- Plane001\t| vertices > 4\t| texcoords > 4\t| normals > 1\t| triangles > 0";

TEST(ModelLoader, EmbeddedRectangle) {
    Loaded loaded;
    Load(loaded, objl::readTextResource(141), objl::readTextResource(140));
    ASSERT_TRUE(loaded.result.ok) << loaded.result.error;
    EXPECT_EQ(loaded.result.error, "");
    const objl::ModelLoader& loader = loaded.loader;
    ASSERT_EQ(loader.meshes.size(), 1u);
    ASSERT_EQ(loader.materials.size(), 1u);
    const objl::Mesh& mesh = loader.meshes[0];
    EXPECT_EQ(mesh.name, "Plane001");

    const std::vector<Vector3> positions = {{-1, 1, 0}, {-1, -1, -0.0f}, {1, 1, 0},
                                            {1, -1, -0.0f}, {1, 1, 0}, {-1, -1, -0.0f}};
    const std::vector<Vector2> texCoords = {{0, 1}, {0, 0}, {1, 1}, {1, 0}, {1, 1}, {0, 0}};
    ASSERT_EQ(mesh.vertices.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "vertex " << i);
        ExpectVector3Eq(mesh.vertices[i].position, positions[i]);
        EXPECT_EQ(std::signbit(mesh.vertices[i].position.z), std::signbit(positions[i].z));
        ExpectVector2Eq(mesh.vertices[i].texCoord, texCoords[i]);
        ExpectVector3Eq(mesh.vertices[i].normal, Vector3(0, 0, 1));
        EXPECT_TRUE(std::signbit(mesh.vertices[i].normal.y));
    }
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(mesh.material.name, "wire_198225087");
    ExpectVector3Eq(mesh.material.diffuse, Vector3(0.7765f, 0.8824f, 0.3412f));
    EXPECT_EQ(mesh.material.specularExponent, 32.0f);

    ASSERT_EQ(loader.allVertices.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) ExpectVector3Eq(loader.allVertices[i].position, positions[i]);
    EXPECT_EQ(loader.allIndices, (Indices{0, 1, 2, 3, 4, 5}));

    // A line end at "o", the counts and a line end at "g", the counts at
    // "usemtl", the counts with the material at the first "f", a final line end.
    EXPECT_EQ(loaded.progress, "\n" + kCounts + "\n" + kCounts + kCounts + "\t| material: wire_198225087" + "\n");
}

TEST(ModelLoader, EmbeddedRectangleFromResources) {
    objl::ModelLoader loader;
    ASSERT_TRUE(loader.loadFromResources(141, 140));
    ASSERT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.meshes[0].name, "Plane001");
    EXPECT_EQ(loader.meshes[0].material.name, "wire_198225087");
    EXPECT_EQ(loader.allIndices.size(), 6u);
}

// One expected mesh: its name, vertex count, indices and material name ("" for the default).
struct MeshShape {
    std::string name;
    std::size_t vertices;
    Indices indices;
    std::string material;
};

const std::string kLibrary = "newmtl m1\nKd 1 0 0\nnewmtl m2\nKd 0 1 0\n";
const std::string kCorners = "mtllib scene.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";

TEST(ModelLoader, MeshNamingAndMaterials) {
    struct Case {
        const char* name;
        std::string obj;
        std::vector<MeshShape> meshes;
        Indices allIndices;
    };
    const std::vector<Case> cases = {
        {"two groups", "g a\nf 1 2 3\ng b\nf 2 4 3\n",
         {{"a", 3, {0, 1, 2}, ""}, {"b", 3, {0, 1, 2}, ""}}, {0, 1, 2, 3, 4, 5}},
        {"usemtl closes the mesh, materials by position", "g a\nusemtl m1\nf 1 2 3\nusemtl m2\nf 2 4 3\n",
         {{"a_2", 3, {0, 1, 2}, "m1"}, {"a", 3, {0, 1, 2}, "m2"}}, {0, 1, 2, 3, 4, 5}},
        {"the faces before usemtl get its material", "g a\nf 1 2 3\nusemtl m1\nf 2 4 3\n",
         {{"a_2", 3, {0, 1, 2}, "m1"}, {"a", 3, {0, 1, 2}, ""}}, {0, 1, 2, 3, 4, 5}},
        {"first group line takes earlier faces", "f 1 2 3\no x\nf 2 4 3\n",
         {{"x", 6, {0, 1, 2, 3, 4, 5}, ""}}, {0, 1, 2, 3, 4, 5}},
        {"group line by its first letter", "gx y\nf 1 2 3\n", {{"unnamed", 3, {0, 1, 2}, ""}}, {0, 1, 2}},
        {"nameless group closes a mesh", "g a\nf 1 2 3\ng\nf 2 4 3\n",
         {{"a", 3, {0, 1, 2}, ""}, {"", 3, {0, 1, 2}, ""}}, {0, 1, 2, 3, 4, 5}},
        {"no group lines", "f 1 2 3\nusemtl m1\nf 2 4 3\n",
         {{"_2", 3, {0, 1, 2}, "m1"}, {"", 3, {0, 1, 2}, ""}}, {0, 1, 2, 3, 4, 5}},
        {"names beyond the last mesh are ignored", "usemtl m1\nusemtl m2\nf 1 2 3\n",
         {{"", 3, {0, 1, 2}, "m1"}}, {0, 1, 2}},
        {"unknown material name", "g a\nusemtl nothing\nf 1 2 3\n", {{"a", 3, {0, 1, 2}, ""}}, {0, 1, 2}},
        {"group without faces", "g a\nf 1 2 3\ng b\n", {{"a", 3, {0, 1, 2}, ""}}, {0, 1, 2}},
        {"quadrilateral", "o q\nf 1 2 4 3\n", {{"q", 4, {0, 1, 3, 1, 2, 3}, ""}}, {0, 1, 3, 1, 2, 3}},
        {"face without a triangle keeps its vertices", "g a\nf 1 2\nf 1 2 3\n",
         {{"a", 5, {2, 3, 4}, ""}}, {2, 3, 4}},
        {"other statements are ignored", "# comment\ns 1\nl 1 2\np 1\ng a\nf 1 2 3\ncstype bezier\n",
         {{"a", 3, {0, 1, 2}, ""}}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded loaded;
        Load(loaded, kCorners + c.obj, kLibrary);
        ASSERT_TRUE(loaded.result.ok) << loaded.result.error;
        ASSERT_EQ(loaded.loader.meshes.size(), c.meshes.size());
        for (std::size_t i = 0; i < c.meshes.size(); ++i) {
            const objl::Mesh& mesh = loaded.loader.meshes[i];
            SCOPED_TRACE("mesh " + mesh.name);
            EXPECT_EQ(mesh.name, c.meshes[i].name);
            EXPECT_EQ(mesh.vertices.size(), c.meshes[i].vertices);
            EXPECT_EQ(mesh.indices, c.meshes[i].indices);
            EXPECT_EQ(mesh.material.name, c.meshes[i].material);
        }
        EXPECT_EQ(loaded.loader.allIndices, c.allIndices);
    }
}

TEST(ModelLoader, MaterialsCarryTheirValues) {
    Loaded loaded;
    Load(loaded, kCorners + "g a\nusemtl m2\nf 1 2 3\nusemtl m1\nf 2 4 3\n", kLibrary);
    ASSERT_EQ(loaded.loader.meshes.size(), 2u);
    ExpectVector3Eq(loaded.loader.meshes[0].material.diffuse, Vector3(0, 1, 0));
    ExpectVector3Eq(loaded.loader.meshes[1].material.diffuse, Vector3(1, 0, 0));
}

TEST(ModelLoader, ListsAndIndices) {
    // "-1" is the last position read before the face, even in a later object;
    // a third texture coordinate is ignored; a CR takes the next character along.
    Loaded loaded;
    Load(loaded,
         "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25 0\ng a\nf 1/1 2/1 3/1\n"
         "v 0 \r12 0\ng b\nf -1 -2 -3\n",
         "");
    ASSERT_TRUE(loaded.result.ok) << loaded.result.error;
    ASSERT_EQ(loaded.loader.meshes.size(), 2u);
    const objl::Mesh& a = loaded.loader.meshes[0];
    ExpectVector2Eq(a.vertices[0].texCoord, Vector2(0.5f, 0.25f));
    const objl::Mesh& b = loaded.loader.meshes[1];
    ASSERT_EQ(b.vertices.size(), 3u);
    ExpectVector3Eq(b.vertices[0].position, Vector3(0, 2, 0));
    ExpectVector3Eq(b.vertices[1].position, Vector3(0, 1, 0));
    ExpectVector3Eq(b.vertices[2].position, Vector3(1, 0, 0));
    EXPECT_EQ(b.indices, (Indices{0, 1, 2}));
    EXPECT_EQ(loaded.loader.allIndices, (Indices{0, 1, 2, 3, 4, 5}));
}

TEST(ModelLoader, MaterialLibraryPerMtllibLine) {
    // Every "mtllib" line reads the library again, and a second load keeps
    // the materials of the first.
    objl::ModelLoader loader;
    std::ostringstream progress;
    const std::string obj = kCorners + "mtllib again.mtl\ng a\nusemtl m2\nf 1 2 3\n";
    ASSERT_TRUE(loader.loadFromTexts(obj, kLibrary, progress).ok);
    EXPECT_EQ(loader.materials.size(), 4u);
    ASSERT_TRUE(loader.loadFromTexts(obj, kLibrary, progress).ok);
    EXPECT_EQ(loader.materials.size(), 8u);
    ASSERT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.allVertices.size(), 3u);
    EXPECT_EQ(loader.meshes[0].material.name, "m2");

    // Without a "mtllib" line no library is read.
    objl::ModelLoader bare;
    ASSERT_TRUE(bare.loadFromTexts("v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl m1\nf 1 2 3\n", kLibrary, progress).ok);
    EXPECT_TRUE(bare.materials.empty());
    EXPECT_EQ(bare.meshes[0].material.name, "");
}

TEST(ModelLoader, ProgressReport) {
    struct Case {
        const char* name;
        std::string obj;
        std::string progress;
    };
    const std::string counts = "\r- a\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > ";
    const std::vector<Case> cases = {
        {"no group line, no report", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 3\n", "\n"},
        {"counts at the line after a group line", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\nf 1 2 3\n",
         "\n" + counts + "0\n"},
        {"triangles are mesh vertices over 3, material is the last name",
         "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 3\ng a\nf 1 2 3\nusemtl m1\nf 1 2 3\nusemtl m2\nf 1 2 3\n",
         "\n" + counts + "2" + counts + "0\t| material: m1" + counts + "0\t| material: m2\n"},
    };
    for (const Case& c : cases) {
        Loaded loaded;
        Load(loaded, c.obj, "");
        EXPECT_EQ(loaded.progress, c.progress) << c.name;
    }
}

TEST(ModelLoader, NothingToLoadIsFalse) {
    const std::vector<std::string> texts = {"", "# only a comment\r\n", "v 0 0 0\nv 1 0 0\ng a\n", "f 1/2/3/4\n"};
    for (const std::string& text : texts) {
        Loaded loaded;
        Load(loaded, text, kLibrary);
        EXPECT_FALSE(loaded.result.ok) << text;
        EXPECT_EQ(loaded.result.error, "the OBJ text gave no mesh, vertex or index") << text;
    }
    objl::ModelLoader loader;
    EXPECT_FALSE(loader.loadFromResources(999, 140));
}

TEST(ModelLoader, MalformedInputGivesFalseWithTheReason) {
    struct Case {
        std::string obj;
        std::string error;
        std::size_t meshes;       // completed before the bad line
        std::size_t allVertices;  // appended before the bad line
        std::string mtl = kLibrary;
    };
    const std::vector<Case> cases = {
        {"v 1 abc 3\n", "invalid stof argument", 0, 0},
        {"v 1 1e999 3\n", "stof argument out of range", 0, 0},
        {"vt 0.5 x\n", "invalid stof argument", 0, 0},
        {"vn 0 x 1\n", "invalid stof argument", 0, 0},
        {"g a\nf 1 2 3\ng b\nf a b c\n", "invalid stoi argument", 1, 3},
        {"f 99999999999 1 2\n", "stoi argument out of range", 0, 0},
        {"g a\nf 1 2 3\n", "invalid stof argument", 0, 0, "newmtl m\nNs high\n"},
        {"g a\nf 1 2 3\nf 0 1 2\n", "OBJ index 0 does not designate an element (indices count from 1)", 0, 3},
        {"f 1 2 5\n", "OBJ index 5 is outside a list of length 4", 0, 0},
        {"f -5 1 2\n", "OBJ index -5 is outside a list of length 4", 0, 0},
        {"f 1/1 2/1 3/1\n", "OBJ index 1 is outside a list of length 0", 0, 0},
        {"f 1//1 2//1 3//1\n", "OBJ index 1 is outside a list of length 0", 0, 0},
        {"v 1 2\n", "a \"v\" line needs three numbers: \"1 2\"", 0, 0},
        {"vn 0 1\n", "a \"vn\" line needs three numbers: \"0 1\"", 0, 0},
        {"vt 0.5\n", "a \"vt\" line needs two numbers: \"0.5\"", 0, 0},
        {"v\n", "a \"v\" line needs three numbers: \"\"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.obj);
        Loaded loaded;
        Load(loaded, kCorners + c.obj, c.mtl);
        EXPECT_FALSE(loaded.result.ok);
        EXPECT_EQ(loaded.result.error, c.error);
        EXPECT_EQ(loaded.loader.meshes.size(), c.meshes);
        EXPECT_EQ(loaded.loader.allVertices.size(), c.allVertices);
    }
}

TEST(ModelLoader, LoadFromResourcesCatchesTheErrors) {
    objl::ModelLoader loader;
    EXPECT_FALSE(loader.loadFromResources(142, 140));  // a "v" line with "abc"
    EXPECT_TRUE(loader.allVertices.empty());
    EXPECT_FALSE(loader.loadFromResources(143, 140));  // a face naming position 4 of 3
    ASSERT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.meshes[0].name, "a");
    // The loader is still usable afterwards.
    EXPECT_TRUE(loader.loadFromResources(141, 140));
    EXPECT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.meshes[0].name, "Plane001");
}

}  // namespace
