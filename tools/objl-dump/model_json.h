// The loader's result as JSON, for objl-dump.
#pragma once

#include <ostream>

#include "objl/model_loader.h"

// Writes {"ok", "error", "meshes", "allVertices", "allIndices"}: every mesh
// with its name, its vertices as [px, py, pz, nx, ny, nz, u, v], its indices
// and every field of its material. Floats carry 9 significant digits with the
// sign of zero kept; NaN and infinities are the strings "nan", "inf", "-inf".
// Texts are bytes without an encoding: bytes from 128 up are written as
// \u0080..\u00ff, so the output is valid UTF-8 and each byte can be recovered.
void WriteModelJson(std::ostream& out, const objl::ModelLoader& loader, const objl::LoadResult& result);
