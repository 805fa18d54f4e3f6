// The records the model loader produces: plain values, copied member by member.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace objl {

struct Vector2 {
    Vector2() = default;
    Vector2(float x, float y) : x(x), y(y) {}

    float x = 0.0f;
    float y = 0.0f;
};

struct Vector3 {
    Vector3() = default;
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Component-wise difference.
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
    return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Float equality of all three components: NaN never equals, 0 equals -0.
inline bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline bool operator!=(const Vector3& a, const Vector3& b) {
    return !(a == b);
}

struct Vertex {
    Vector3 position;  // from a "v" line
    Vector3 normal;    // from a "vn" line, or generated for the face
    Vector2 texCoord;  // from a "vt" line
};

// A material of an MTL library. Every number defaults to 0, dissolve included;
// the map fields hold the text after their keyword and name no opened file.
struct Material {
    std::string name;                 // "newmtl"
    Vector3 ambient;                  // "Ka"
    Vector3 diffuse;                  // "Kd"
    Vector3 specular;                 // "Ks"
    float specularExponent = 0.0f;    // "Ns"
    float opticalDensity = 0.0f;      // "Ni"
    float dissolve = 0.0f;            // "d"
    std::int32_t illumination = 0;    // "illum"
    std::string ambientMap;           // "map_Ka"
    std::string diffuseMap;           // "map_Kd"
    std::string specularMap;          // "map_Ks"
    std::string specularExponentMap;  // "map_Ns"
    std::string dissolveMap;          // "map_d"
    std::string bumpMap;              // "map_Bump", "map_bump" or "bump"
};

struct Mesh {
    Mesh() = default;
    // A nameless mesh with the default material.
    Mesh(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices)
        : vertices(vertices), indices(indices) {}

    std::string name;
    std::vector<Vertex> vertices;         // one per face corner, in file order
    std::vector<std::uint32_t> indices;   // triangle corners as positions in vertices
    Material material;                    // the default material when none was assigned
};

}  // namespace objl
