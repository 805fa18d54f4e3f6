// The OBJ reader: statements to meshes, mesh naming, the progress report and
// the positional material assignment.
#include "objl/model_loader.h"

#include <iostream>
#include <new>
#include <stdexcept>

#include "objl/text_utilities.h"

namespace objl {

namespace {

// Reads "count" numbers of a "v", "vt" or "vn" line; further numbers are ignored.
std::vector<float> readNumbers(const std::string& keyword, const std::string& rest, std::size_t count) {
    std::vector<std::string> pieces;
    splitText(rest, pieces, " ");
    if (pieces.size() < count) {
        throw std::invalid_argument("a \"" + keyword + "\" line needs " + (count == 3 ? "three" : "two") +
                                    " numbers: \"" + rest + "\"");
    }
    std::vector<float> numbers;
    for (std::size_t i = 0; i < count; ++i) numbers.push_back(textToFloat(pieces[i]));
    return numbers;
}

// A CR takes the character after it along, so only a CR at the end goes alone.
void removeCarriageReturns(std::string& line) {
    for (std::size_t cr = line.find('\r'); cr != std::string::npos; cr = line.find('\r')) line.erase(cr, 2);
}

// The state of one load, from the first line of the OBJ text to the material assignment.
class ObjReader {
public:
    ObjReader(ModelLoader& loader, const std::string& mtlText, std::ostream& progress)
        : loader_(loader), mtlText_(mtlText), progress_(progress) {}

    void readLine(std::string line) {
        removeCarriageReturns(line);
        progressCounter_ = (progressCounter_ + 1) % 1000;
        if (progressCounter_ == 1 && !meshName_.empty()) reportProgress();

        const std::string keyword = leadingWord(line);
        const std::string rest = lineRemainder(line);
        if (keyword == "o" || keyword == "g" || (!line.empty() && line[0] == 'g')) {
            readGroupLine(keyword, rest);
        } else if (keyword == "v") {
            const std::vector<float> n = readNumbers(keyword, rest, 3);
            positions_.emplace_back(n[0], n[1], n[2]);
        } else if (keyword == "vt") {
            const std::vector<float> n = readNumbers(keyword, rest, 2);
            texCoords_.emplace_back(n[0], n[1]);
        } else if (keyword == "vn") {
            const std::vector<float> n = readNumbers(keyword, rest, 3);
            normals_.emplace_back(n[0], n[1], n[2]);
        } else if (keyword == "f") {
            readFace(line);
        } else if (keyword == "usemtl") {
            materialNames_.push_back(rest);
            if (meshIsStarted()) closeMesh(meshName_ + "_2");
            progressCounter_ = 0;
        } else if (keyword == "mtllib") {
            loader_.loadMaterialText(mtlText_);
        }
    }

    void finish() {
        progress_ << '\n';
        if (meshIsStarted()) closeMesh(meshName_);
        assignMaterials();
    }

private:
    // The name, the list sizes and the last material name, on one line that
    // the next report overwrites.
    void reportProgress() {
        progress_ << "\r- " << meshName_ << "\t| vertices > " << positions_.size() << "\t| texcoords > "
                  << texCoords_.size() << "\t| normals > " << normals_.size() << "\t| triangles > "
                  << meshVertices_.size() / 3;
        if (!materialNames_.empty()) progress_ << "\t| material: " << materialNames_.back();
    }

    // "o", "g" or any line starting with g. The first one names the mesh that
    // holds everything read so far; later ones close the mesh being built.
    void readGroupLine(const std::string& keyword, const std::string& rest) {
        const bool named = keyword == "o" || keyword == "g";
        if (!groupingStarted_) {
            groupingStarted_ = true;
            meshName_ = named ? rest : "unnamed";
        } else if (meshIsStarted()) {
            closeMesh(meshName_);
            meshName_ = rest;
        } else {
            meshName_ = named ? rest : "unnamed";
        }
        progress_ << std::endl;
        progressCounter_ = 0;
    }

    void readFace(const std::string& line) {
        std::vector<Vertex> faceVertices;
        loader_.buildFaceVertices(faceVertices, positions_, texCoords_, normals_, line);
        meshVertices_.insert(meshVertices_.end(), faceVertices.begin(), faceVertices.end());
        loader_.allVertices.insert(loader_.allVertices.end(), faceVertices.begin(), faceVertices.end());

        std::vector<std::uint32_t> faceIndices;
        loader_.triangulatePolygon(faceIndices, faceVertices);
        const auto meshBase = static_cast<std::uint32_t>(meshVertices_.size() - faceVertices.size());
        const auto modelBase = static_cast<std::uint32_t>(loader_.allVertices.size() - faceVertices.size());
        for (std::uint32_t k : faceIndices) {
            meshIndices_.push_back(meshBase + k);
            loader_.allIndices.push_back(modelBase + k);
        }
    }

    bool meshIsStarted() const { return !meshIndices_.empty() && !meshVertices_.empty(); }

    void closeMesh(const std::string& name) {
        Mesh mesh(meshVertices_, meshIndices_);
        mesh.name = name;
        loader_.meshes.push_back(mesh);
        meshVertices_.clear();
        meshIndices_.clear();
    }

    // The i-th "usemtl" name gives its material to the i-th completed mesh;
    // names beyond the last mesh have none to give it to.
    void assignMaterials() {
        for (std::size_t i = 0; i < materialNames_.size() && i < loader_.meshes.size(); ++i) {
            for (const Material& material : loader_.materials) {
                if (material.name == materialNames_[i]) {
                    loader_.meshes[i].material = material;
                    break;
                }
            }
        }
    }

    ModelLoader& loader_;
    const std::string& mtlText_;
    std::ostream& progress_;

    std::vector<Vector3> positions_;
    std::vector<Vector2> texCoords_;
    std::vector<Vector3> normals_;
    std::vector<Vertex> meshVertices_;
    std::vector<std::uint32_t> meshIndices_;
    std::vector<std::string> materialNames_;
    std::string meshName_;
    bool groupingStarted_ = false;
    std::uint32_t progressCounter_ = 1000;
};

}  // namespace

LoadResult ModelLoader::loadFromTexts(const std::string& objText, const std::string& mtlText) {
    return loadFromTexts(objText, mtlText, std::cout);
}

LoadResult ModelLoader::loadFromTexts(const std::string& objText, const std::string& mtlText,
                                      std::ostream& progress) {
    meshes.clear();
    allVertices.clear();
    allIndices.clear();
    try {
        ObjReader reader(*this, mtlText, progress);
        forEachLine(objText, [&reader](const std::string& line) { reader.readLine(line); });
        reader.finish();
    } catch (const std::invalid_argument& error) {
        return {false, error.what()};
    } catch (const std::out_of_range& error) {
        return {false, error.what()};
    } catch (const std::bad_alloc&) {
        return {false, "out of memory while loading the model"};
    }
    if (meshes.empty() && allVertices.empty() && allIndices.empty())
        return {false, "the OBJ text gave no mesh, vertex or index"};
    return {true, std::string()};
}

}  // namespace objl
