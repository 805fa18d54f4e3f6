// The MTL material library reader.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objl/model_loader.h"
#include "tests/objl/objl_expect.h"

namespace {

using objl::Material;
using objl::Vector3;

void ExpectMaterialEq(const Material& actual, const Material& expected) {
    EXPECT_EQ(actual.name, expected.name);
    ExpectVector3Eq(actual.ambient, expected.ambient);
    ExpectVector3Eq(actual.diffuse, expected.diffuse);
    ExpectVector3Eq(actual.specular, expected.specular);
    EXPECT_EQ(actual.specularExponent, expected.specularExponent);
    EXPECT_EQ(actual.opticalDensity, expected.opticalDensity);
    EXPECT_EQ(actual.dissolve, expected.dissolve);
    EXPECT_EQ(actual.illumination, expected.illumination);
    EXPECT_EQ(actual.ambientMap, expected.ambientMap);
    EXPECT_EQ(actual.diffuseMap, expected.diffuseMap);
    EXPECT_EQ(actual.specularMap, expected.specularMap);
    EXPECT_EQ(actual.specularExponentMap, expected.specularExponentMap);
    EXPECT_EQ(actual.dissolveMap, expected.dissolveMap);
    EXPECT_EQ(actual.bumpMap, expected.bumpMap);
}

Material Named(const std::string& name) {
    Material m;
    m.name = name;
    return m;
}

TEST(MaterialLibrary, DefaultsAreZero) {
    const Material m;
    ExpectMaterialEq(m, Named(""));
    EXPECT_EQ(m.dissolve, 0.0f);
    EXPECT_EQ(m.illumination, 0);
    ExpectVector3Eq(m.ambient, Vector3(0, 0, 0));
}

TEST(MaterialLibrary, EmbeddedLibrary) {
    objl::ModelLoader loader;
    EXPECT_TRUE(loader.loadMaterialResource(140));
    ASSERT_EQ(loader.materials.size(), 1u);
    Material expected = Named("wire_198225087");
    expected.ambient = Vector3(0.7765f, 0.8824f, 0.3412f);
    expected.diffuse = Vector3(0.7765f, 0.8824f, 0.3412f);
    expected.specular = Vector3(0.35f, 0.35f, 0.35f);
    expected.specularExponent = 32;
    expected.dissolve = 1;
    expected.illumination = 2;
    ExpectMaterialEq(loader.materials[0], expected);
}

TEST(MaterialLibrary, Libraries) {
    Material red = Named("red");
    red.diffuse = Vector3(1, 0, 0);
    Material early = Named("m");
    early.diffuse = Vector3(0.5f, 0.25f, 1);
    Material everything = Named("all");
    everything.ambient = Vector3(0.1f, 0.2f, 0.3f);
    everything.specular = Vector3(1, 1, 1);
    everything.specularExponent = 96.5f;
    everything.opticalDensity = 1.45f;
    everything.dissolve = 0.5f;
    everything.illumination = 3;
    everything.ambientMap = "ambient.png";
    everything.diffuseMap = "diffuse map.png\r";
    everything.specularMap = "shine.png";
    everything.specularExponentMap = "ns.png";
    everything.dissolveMap = "d.png";
    everything.bumpMap = "bump.png";
    Material keptColour = Named("k");
    keptColour.ambient = Vector3(0.5f, 0.5f, 0.5f);

    struct Case {
        const char* name;
        std::string text;
        std::vector<Material> expected;
    };
    const std::vector<Case> cases = {
        {"empty text", "", {Named("")}},
        {"no newmtl line", "Kd 1 0 0\n", {[&] { Material m = red; m.name = ""; return m; }()}},
        {"attributes before the first newmtl", "Kd 0.5 0.25 1\r\nnewmtl m\r\n", {early}},
        {"two materials, the second reset", "newmtl red\nKd 1 0 0\nnewmtl blue\n", {red, Named("blue")}},
        {"every keyword",
         "newmtl all\n\tKa 0.1 0.2 0.3\n\tKs 1 1 1\n\tNs 96.5\n\tNi 1.45\n\td 0.5\n\tillum 3\n"
         "\tmap_Ka ambient.png\n\tmap_Kd diffuse map.png\r\n\tmap_Ks shine.png\n\tmap_Ns ns.png\n\tmap_d d.png\n"
         "\tbump bump.png\n",
         {everything}},
        {"bump keywords", "newmtl a\nmap_Bump one\nnewmtl b\nmap_bump two\n",
         {[] { Material m = Named("a"); m.bumpMap = "one"; return m; }(),
          [] { Material m = Named("b"); m.bumpMap = "two"; return m; }()}},
        {"later lines overwrite", "newmtl red\nKd 0 1 0\nKd 1 0 0\n", {red}},
        {"keywords are case-sensitive", "newmtl red\nKd 1 0 0\nkd 0 1 0\nKD 0 0 1\nns 5\n", {red}},
        {"colours need exactly three values",
         "newmtl k\nKa 0.5 0.5 0.5\nKa 0.9\nKa 0.1 0.2 0.3 0.4\nKa 0.1  0.2 0.3\n", {keptColour}},
        {"comments and other keywords", "# a comment\nnewmtl red\nTr 0\nTf 1 1 1\nKd 1 0 0\n", {red}},
        {"short newmtl lines", "newmtl\nnewmtl \n", {Named("none"), Named("none")}},
        // This reader keeps CRs, so the first word of "newmtl" CR LF is
        // "newmtl" CR: not a keyword of its own, the line changes nothing.
        {"newmtl directly before the CR", "newmtl red\r\nKd 1 0 0\r\nnewmtl\r\n", {red}},
        {"newmtl, blank and CR", "newmtl \r\n", {Named("\r")}},
        {"blanks before the CR stay", "newmtl name  \r\n", {Named("name  ")}},
        {"name of a CR LF line", "newmtl wire_198225087\r\n", {Named("wire_198225087")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        objl::ModelLoader loader;
        EXPECT_TRUE(loader.loadMaterialText(c.text));
        ASSERT_EQ(loader.materials.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) ExpectMaterialEq(loader.materials[i], c.expected[i]);
    }
}

TEST(MaterialLibrary, LoadsAppend) {
    objl::ModelLoader loader;
    loader.loadMaterialResource(140);
    loader.loadMaterialResource(140);
    ASSERT_EQ(loader.materials.size(), 2u);
    EXPECT_EQ(loader.materials[0].name, "wire_198225087");
    EXPECT_EQ(loader.materials[1].name, "wire_198225087");

    // A missing resource is an empty library: one unnamed default material.
    EXPECT_TRUE(loader.loadMaterialResource(999));
    ASSERT_EQ(loader.materials.size(), 3u);
    ExpectMaterialEq(loader.materials[2], Named(""));
}

TEST(MaterialLibrary, ConversionErrorsEndTheRead) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"newmtl a\nnewmtl b\nNs x\nnewmtl c\n", "invalid stof argument"},
        {"newmtl a\nnewmtl b\nKd 1 x 0\n", "invalid stof argument"},
        {"newmtl a\nnewmtl b\nd 1e999\n", "stof argument out of range"},
        {"newmtl a\nnewmtl b\nillum two\n", "invalid stoi argument"},
        {"newmtl a\nnewmtl b\nillum 4294967296\n", "stoi argument out of range"},
    };
    for (const auto& [text, message] : cases) {
        objl::ModelLoader loader;
        try {
            loader.loadMaterialText(text);
            ADD_FAILURE() << text << " was accepted";
        } catch (const std::logic_error& e) {
            EXPECT_EQ(std::string(e.what()), message) << text;
        }
        // The material completed before the bad line stays; the current one is lost.
        ASSERT_EQ(loader.materials.size(), 1u) << text;
        EXPECT_EQ(loader.materials[0].name, "a");
    }
}

}  // namespace
