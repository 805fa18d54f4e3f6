// libFuzzer target: arbitrary OBJ and MTL texts through the loader's
// in-memory seam, objl::ModelLoader::loadFromTexts.
//
// The input is split at its first NUL byte: the bytes before it are the OBJ
// text, the bytes after it the MTL text that every "mtllib" line reads (an
// input without NUL is an OBJ text with an empty library). Besides what the
// sanitizers catch, a result that breaks the loader's rules stops the run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

#include "objl/model_loader.h"

namespace {

// Every index names a vertex of its own list.
bool IndicesInRange(const std::vector<std::uint32_t>& indices, std::size_t vertexCount) {
    for (const std::uint32_t index : indices) {
        if (index >= vertexCount) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string objText = input.substr(0, split);
    const std::string mtlText = split == std::string::npos ? std::string() : input.substr(split + 1);

    std::ostream progress(nullptr);  // the progress report goes nowhere
    objl::ModelLoader loader;
    const objl::LoadResult result = loader.loadFromTexts(objText, mtlText, progress);

    // A load that succeeds gave something; one that failed says why (and may
    // keep what it read before the line that ended it).
    const bool anything = !loader.meshes.empty() || !loader.allVertices.empty() || !loader.allIndices.empty();
    if (result.ok && !anything) std::abort();
    if (result.ok != result.error.empty()) std::abort();
    if (!IndicesInRange(loader.allIndices, loader.allVertices.size())) std::abort();
    for (const objl::Mesh& mesh : loader.meshes) {
        if (!IndicesInRange(mesh.indices, mesh.vertices.size())) std::abort();
    }
    return 0;
}
