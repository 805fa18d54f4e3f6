// The Wavefront OBJ reader with its MTL material library.
//
// Every face corner becomes a vertex of its own, faces are cut into
// triangles, and meshes are closed at group lines, at "usemtl" lines and at the
// end of the text. The i-th "usemtl" name gives its material to the i-th
// completed mesh. While loading, a progress report goes to the progress
// stream (standard output unless the caller gives another).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "objl/records.h"

namespace objl {

// The outcome of a load from texts: ok is what loadFromResources answers;
// error says why a load gave false (empty when ok).
struct LoadResult {
    bool ok;
    std::string error;
};

class ModelLoader {
public:
    ModelLoader() = default;

    // Loads the OBJ text of one TEXTFILE resource, with the MTL text of the
    // other standing in for every "mtllib" line. True when the model gave at
    // least one mesh, vertex or index; false also for any malformed number or
    // index (see loadFromTexts).
    bool loadFromResources(int objResourceId, int mtlResourceId);

    // The same load from texts in memory: each "mtllib" line reads mtlText.
    // Empties meshes, allVertices and allIndices first; materials keeps what
    // earlier loads read. A malformed number, an OBJ index of 0 or outside its
    // list, or a "v"/"vn" line with fewer than three numbers ("vt": two) ends
    // the load at that line with ok false and the reason in error; the lists
    // keep what was read before it.
    LoadResult loadFromTexts(const std::string& objText, const std::string& mtlText);
    LoadResult loadFromTexts(const std::string& objText, const std::string& mtlText, std::ostream& progress);

    // Appends the materials of the MTL library in the TEXTFILE resource.
    // True when materials is not empty afterwards.
    bool loadMaterialResource(int mtlResourceId);
    // The same from a text in memory. A malformed number throws the conversion
    // error of textToFloat or textToInt; materials appended before stay.
    bool loadMaterialText(const std::string& mtlText);

    // Appends one vertex per corner of the "f" line to faceVertices (which the
    // caller passes empty), resolving the corners' OBJ indices in the lists
    // read so far. A face that lacks normals on any corner gets the
    // unnormalised normal of its first three corners on every vertex; one of
    // fewer than three vertices keeps what it had.
    void buildFaceVertices(std::vector<Vertex>& faceVertices, const std::vector<Vector3>& positions,
                           const std::vector<Vector2>& texCoords, const std::vector<Vector3>& normals,
                           const std::string& faceLine) const;

    // Appends the face-local indices of the triangles that ear clipping cuts
    // from the face. Corners are told apart by position.
    void triangulatePolygon(std::vector<std::uint32_t>& faceIndices, const std::vector<Vertex>& faceVertices) const;

    std::vector<Mesh> meshes;                // completed meshes, in completion order
    std::vector<Vertex> allVertices;         // every face vertex of the model
    std::vector<std::uint32_t> allIndices;   // triangles as positions in allVertices
    std::vector<Material> materials;         // every material read, never emptied
};

}  // namespace objl
