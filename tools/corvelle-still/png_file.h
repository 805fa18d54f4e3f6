// Writes 8-bit RGBA pictures as PNG files.
#pragma once

#include <string>
#include <vector>

// `rgba` holds width x height pixels, rows top to bottom. False (with a
// reason in `error`) when the file cannot be written.
bool WritePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba,
                  std::string* error);
