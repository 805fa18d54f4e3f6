// The loader's only contact with the platform: texts from embedded resources.
#include "objl/model_loader.h"
#include "objl/text_utilities.h"
#include "platform/platform.h"

namespace objl {

std::string readTextResource(int resourceId) {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!platform::FindResourceBytes("TEXTFILE", resourceId, &data, &size)) return std::string();
    return std::string(reinterpret_cast<const char*>(data), size);
}

bool ModelLoader::loadFromResources(int objResourceId, int mtlResourceId) {
    return loadFromTexts(readTextResource(objResourceId), readTextResource(mtlResourceId)).ok;
}

bool ModelLoader::loadMaterialResource(int mtlResourceId) {
    return loadMaterialText(readTextResource(mtlResourceId));
}

}  // namespace objl
