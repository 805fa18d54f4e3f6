// Face corners to vertices, and faces to triangles by ear clipping.
#include <cstddef>

#include "objl/geometry.h"
#include "objl/model_loader.h"
#include "objl/text_utilities.h"

namespace objl {

namespace {

// The forms a corner can take, told by the number of its "/" pieces.
enum class CornerForm { Position, PositionTexture, PositionTextureNormal, PositionNormal, None };

CornerForm cornerForm(const std::vector<std::string>& parts) {
    switch (parts.size()) {
        case 1: return CornerForm::Position;
        case 2: return CornerForm::PositionTexture;
        case 3: return parts[1].empty() ? CornerForm::PositionNormal : CornerForm::PositionTextureNormal;
        default: return CornerForm::None;
    }
}

// Appends, for every face vertex in order, its index once for each of a, b and
// c whose position it shares. Distinct positions give the three corners in
// ascending order, which keeps the polygon's winding.
void emitTriangle(std::vector<std::uint32_t>& faceIndices, const std::vector<Vertex>& faceVertices,
                  const Vector3& a, const Vector3& b, const Vector3& c) {
    for (std::size_t j = 0; j < faceVertices.size(); ++j) {
        const Vector3& p = faceVertices[j].position;
        const auto index = static_cast<std::uint32_t>(j);
        if (p == a) faceIndices.push_back(index);
        if (p == b) faceIndices.push_back(index);
        if (p == c) faceIndices.push_back(index);
    }
}

// The last two triangles once four corners are left: the diagonal runs from
// the last corner to the second, with no convexity test.
void emitQuadrilateral(std::vector<std::uint32_t>& faceIndices, const std::vector<Vertex>& faceVertices,
                       const Vector3& prev, const Vector3& cur, const Vector3& next,
                       const std::vector<Vertex>& remaining) {
    emitTriangle(faceIndices, faceVertices, cur, prev, next);
    Vector3 fourth;
    for (const Vertex& v : remaining) {
        if (v.position != cur && v.position != prev && v.position != next) {
            fourth = v.position;
            break;
        }
    }
    emitTriangle(faceIndices, faceVertices, prev, next, fourth);
}

// Whether the corner's angle, in degrees, rules it out as an ear: 0 and 180
// degrees (and beyond) are passed over; a NaN angle is not.
bool isFlatOrStraight(const Vector3& prev, const Vector3& cur, const Vector3& next) {
    const double degrees = static_cast<double>(angleBetween(prev - cur, next - cur)) * (180.0 / 3.14159265359);
    return degrees <= 0.0 || degrees >= 180.0;
}

// Whether some face vertex other than the three corners lies in the triangle.
bool holdsAnotherVertex(const std::vector<Vertex>& faceVertices, const Vector3& prev, const Vector3& cur,
                        const Vector3& next) {
    for (const Vertex& q : faceVertices) {
        if (pointInTriangle(q.position, prev, cur, next) && q.position != prev && q.position != cur &&
            q.position != next)
            return true;
    }
    return false;
}

// Takes the clipped corner out of the corners left: the first one at its
// position. A position with a NaN coordinate equals no position, not even its
// own; such a corner is taken out by its place, so every clip shortens the
// list and the clipping ends.
void removeClippedCorner(std::vector<Vertex>& remaining, std::size_t place) {
    const Vector3 clipped = remaining[place].position;
    for (auto it = remaining.begin(); it != remaining.end(); ++it) {
        if (it->position == clipped) {
            remaining.erase(it);
            return;
        }
    }
    remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(place));
}

}  // namespace

void ModelLoader::buildFaceVertices(std::vector<Vertex>& faceVertices, const std::vector<Vector3>& positions,
                                    const std::vector<Vector2>& texCoords, const std::vector<Vector3>& normals,
                                    const std::string& faceLine) const {
    std::vector<std::string> corners;
    splitText(lineRemainder(faceLine), corners, " ");
    std::vector<std::string> parts;
    Vertex work;  // reused from corner to corner: a corner overwrites only what it names
    bool lacksNormals = false;
    for (const std::string& corner : corners) {
        splitText(corner, parts, "/");
        const CornerForm form = cornerForm(parts);
        if (form == CornerForm::None) continue;
        work.position = elementAtObjIndex(positions, parts[0]);
        if (form == CornerForm::PositionTexture || form == CornerForm::PositionTextureNormal)
            work.texCoord = elementAtObjIndex(texCoords, parts[1]);
        else
            work.texCoord = Vector2(0.0f, 0.0f);
        if (form == CornerForm::PositionTextureNormal || form == CornerForm::PositionNormal)
            work.normal = elementAtObjIndex(normals, parts[2]);
        else
            lacksNormals = true;
        faceVertices.push_back(work);
    }
    // A face of fewer than three vertices has no first triangle to take a normal from.
    if (!lacksNormals || faceVertices.size() < 3) return;
    const Vector3 a = faceVertices[0].position - faceVertices[1].position;
    const Vector3 b = faceVertices[2].position - faceVertices[1].position;
    const Vector3 normal = crossProduct(a, b);
    for (Vertex& v : faceVertices) v.normal = normal;
}

void ModelLoader::triangulatePolygon(std::vector<std::uint32_t>& faceIndices,
                                     const std::vector<Vertex>& faceVertices) const {
    if (faceVertices.size() < 3) return;
    if (faceVertices.size() == 3) {
        faceIndices.insert(faceIndices.end(), {0, 1, 2});
        return;
    }
    std::vector<Vertex> remaining = faceVertices;
    // Each pass looks for the first ear; clipping it restarts the pass.
    bool clipped = true;
    while (clipped) {
        clipped = false;
        const std::size_t count = remaining.size();
        for (std::size_t i = 0; i < count; ++i) {
            const Vector3 prev = remaining[i == 0 ? count - 1 : i - 1].position;
            const Vector3 cur = remaining[i].position;
            const Vector3 next = remaining[i + 1 == count ? 0 : i + 1].position;
            if (count == 4) {
                emitQuadrilateral(faceIndices, faceVertices, prev, cur, next, remaining);
                return;
            }
            if (isFlatOrStraight(prev, cur, next)) continue;
            if (holdsAnotherVertex(faceVertices, prev, cur, next)) continue;
            emitTriangle(faceIndices, faceVertices, cur, prev, next);
            removeClippedCorner(remaining, i);
            clipped = true;
            break;
        }
    }
}

}  // namespace objl
