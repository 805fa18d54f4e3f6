#include "tools/objl-dump/model_json.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20 || byte >= 0x80) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string JsonFloat(float value) {
    if (std::isnan(value)) return "\"nan\"";
    if (std::isinf(value)) return value > 0 ? "\"inf\"" : "\"-inf\"";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// "[a, b, ...]" with each item written by format.
template <typename Item, typename Format>
std::string JsonList(const std::vector<Item>& items, Format format) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + format(items[i]);
    return out + "]";
}

std::string JsonVector(const objl::Vector3& v) {
    return JsonList(std::vector<float>{v.x, v.y, v.z}, JsonFloat);
}

std::string JsonVertex(const objl::Vertex& v) {
    return JsonList(std::vector<float>{v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z,
                                       v.texCoord.x, v.texCoord.y},
                    JsonFloat);
}

std::string JsonIndices(const std::vector<std::uint32_t>& indices) {
    return JsonList(indices, [](std::uint32_t index) { return std::to_string(index); });
}

void WriteMaterial(std::ostream& out, const objl::Material& m) {
    out << "      \"material\": {\n"
        << "        \"name\": " << JsonString(m.name) << ",\n"
        << "        \"ambient\": " << JsonVector(m.ambient) << ",\n"
        << "        \"diffuse\": " << JsonVector(m.diffuse) << ",\n"
        << "        \"specular\": " << JsonVector(m.specular) << ",\n"
        << "        \"specularExponent\": " << JsonFloat(m.specularExponent) << ",\n"
        << "        \"opticalDensity\": " << JsonFloat(m.opticalDensity) << ",\n"
        << "        \"dissolve\": " << JsonFloat(m.dissolve) << ",\n"
        << "        \"illumination\": " << m.illumination << ",\n"
        << "        \"ambientMap\": " << JsonString(m.ambientMap) << ",\n"
        << "        \"diffuseMap\": " << JsonString(m.diffuseMap) << ",\n"
        << "        \"specularMap\": " << JsonString(m.specularMap) << ",\n"
        << "        \"specularExponentMap\": " << JsonString(m.specularExponentMap) << ",\n"
        << "        \"dissolveMap\": " << JsonString(m.dissolveMap) << ",\n"
        << "        \"bumpMap\": " << JsonString(m.bumpMap) << "\n"
        << "      }\n";
}

void WriteMesh(std::ostream& out, const objl::Mesh& mesh) {
    out << "    {\n"
        << "      \"name\": " << JsonString(mesh.name) << ",\n"
        << "      \"vertices\": [";
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i)
        out << (i ? ",\n        " : "\n        ") << JsonVertex(mesh.vertices[i]);
    out << (mesh.vertices.empty() ? "],\n" : "\n      ],\n");
    out << "      \"indices\": " << JsonIndices(mesh.indices) << ",\n";
    WriteMaterial(out, mesh.material);
    out << "    }";
}

}  // namespace

void WriteModelJson(std::ostream& out, const objl::ModelLoader& loader, const objl::LoadResult& result) {
    out << "{\n"
        << "  \"ok\": " << (result.ok ? "true" : "false") << ",\n"
        << "  \"error\": " << (result.ok ? "null" : JsonString(result.error)) << ",\n"
        << "  \"meshes\": [";
    for (std::size_t i = 0; i < loader.meshes.size(); ++i) {
        out << (i ? ",\n" : "\n");
        WriteMesh(out, loader.meshes[i]);
    }
    out << (loader.meshes.empty() ? "],\n" : "\n  ],\n");
    out << "  \"allVertices\": " << loader.allVertices.size() << ",\n"
        << "  \"allIndices\": " << JsonIndices(loader.allIndices) << "\n"
        << "}\n";
}
