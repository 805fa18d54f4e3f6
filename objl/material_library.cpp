// The MTL material library reader.
#include "objl/model_loader.h"
#include "objl/text_utilities.h"

namespace objl {

namespace {

// A "newmtl" line needs at least this many characters, a trailing CR counted,
// to carry a name; a shorter one names the material "none".
const std::size_t kShortestNamingLine = 8;

// Sets the colour from a line of exactly three numbers; other lines leave it.
void readColour(const std::string& rest, Vector3& colour) {
    std::vector<std::string> pieces;
    splitText(rest, pieces, " ");
    if (pieces.size() != 3) return;
    colour = Vector3{textToFloat(pieces[0]), textToFloat(pieces[1]), textToFloat(pieces[2])};
}

// Applies one attribute line to the material; unknown keywords change nothing.
void readAttribute(const std::string& keyword, const std::string& rest, Material& material) {
    if (keyword == "Ka") readColour(rest, material.ambient);
    else if (keyword == "Kd") readColour(rest, material.diffuse);
    else if (keyword == "Ks") readColour(rest, material.specular);
    else if (keyword == "Ns") material.specularExponent = textToFloat(rest);
    else if (keyword == "Ni") material.opticalDensity = textToFloat(rest);
    else if (keyword == "d") material.dissolve = textToFloat(rest);
    else if (keyword == "illum") material.illumination = textToInt(rest);
    else if (keyword == "map_Ka") material.ambientMap = rest;
    else if (keyword == "map_Kd") material.diffuseMap = rest;
    else if (keyword == "map_Ks") material.specularMap = rest;
    else if (keyword == "map_Ns") material.specularExponentMap = rest;
    else if (keyword == "map_d") material.dissolveMap = rest;
    else if (keyword == "map_Bump" || keyword == "map_bump" || keyword == "bump") material.bumpMap = rest;
}

}  // namespace

// Lines keep their CR: numbers read past it, and names are trimmed of it.
bool ModelLoader::loadMaterialText(const std::string& mtlText) {
    Material current;
    bool open = false;  // whether a "newmtl" line has been seen
    forEachLine(mtlText, [&](const std::string& line) {
        const std::string keyword = leadingWord(line);
        std::string rest = lineRemainder(line);
        if (keyword != "newmtl") {
            readAttribute(keyword, rest, current);
            return;
        }
        if (open) {
            materials.push_back(current);
            current = Material();
        }
        open = true;
        current.name = line.size() >= kShortestNamingLine ? trimTrailingLineBreaks(rest) : std::string("none");
    });
    materials.push_back(current);
    return !materials.empty();
}

}  // namespace objl
