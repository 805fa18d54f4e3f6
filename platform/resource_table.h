// The table of embedded resources on platforms whose executables carry none.
// tools/embed_resources.py generates its definition from a resource script at
// build time; each executable links exactly one generated table.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace platform {

extern const ResourceEntry g_embeddedResources[];
extern const std::size_t g_embeddedResourceCount;

}  // namespace platform
