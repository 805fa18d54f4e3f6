// Reads a device-independent bitmap as a BITMAP resource stores it (a
// BITMAPINFOHEADER, an optional colour table, then the pixel rows).
#pragma once

#include <cstddef>
#include <vector>

namespace platform {

// Converts the DIB to `width` x `height` pixels of 4 bytes (B, G, R, A), rows
// bottom-up, as GetDIBits delivers them at 32 bits per pixel: 24-bit pixels
// get alpha 0, 32-bit pixels keep their fourth byte. Pixels outside the
// bitmap stay zero. Returns false for a header it cannot read (too short,
// compressed, a bit depth other than 24 or 32, rows beyond the data).
bool DecodeDib(const unsigned char* data, std::size_t size, int width, int height,
               std::vector<unsigned char>& bgra);

}  // namespace platform
