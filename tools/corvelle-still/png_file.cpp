#include "tools/corvelle-still/png_file.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(4 + data.size()));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba,
                  std::string* error) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    if (width <= 0 || height <= 0 || rgba.size() != rowBytes * height) {
        *error = "the picture's size does not match its pixels";
        return false;
    }
    // Each row starts with its filter type, 0: the bytes as they are.
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgba.begin() + y * rowBytes, rgba.begin() + (y + 1) * rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) {
        *error = "compression failed";
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutU32(header, static_cast<std::uint32_t>(width));
    PutU32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!out || std::fwrite(file.data(), 1, file.size(), out.get()) != file.size()) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
