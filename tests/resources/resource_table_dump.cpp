// Writes the Linux resource table linked into this program to standard
// output, so tests can compare it with the Windows executable's resources.
//
// For each entry: a line "TYPE ID LANGUAGE SIZE" (TYPE is the number of a
// numeric type or the name of a string type), then SIZE raw bytes, then a
// line end.
#include <cstdio>

#include "platform/resource_table.h"

int main() {
    for (std::size_t i = 0; i < platform::g_embeddedResourceCount; ++i) {
        const platform::ResourceEntry& entry = platform::g_embeddedResources[i];
        if (entry.typeName != nullptr) {
            std::printf("%s", entry.typeName);
        } else {
            std::printf("%d", entry.typeId);
        }
        std::printf(" %d %d %zu\n", entry.id, entry.language, entry.size);
        if (std::fwrite(entry.data, 1, entry.size, stdout) != entry.size) return 1;
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
