// Writes a PNG of a known pattern for KVPngCheck.py, an independent reader, to verify.
// Usage: KVPngSample <file>
#include <cstdio>
#include <fstream>
#include <vector>

#include "driver/KVPng.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    // Mismatched sizes must give nothing rather than a broken file.
    if (!KVPng::Encode(0, 1, {}).empty() || !KVPng::Encode(2, 2, std::vector<uint8_t>(11)).empty()) {
        std::fprintf(stderr, "Encode accepted pixels that do not match its sizes\n");
        return 1;
    }
    // Rows of 601 bytes: the raw image spans two stored deflate blocks.
    const uint32_t width = 200, height = 150;
    std::vector<uint8_t> rgb;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            rgb.push_back(static_cast<uint8_t>(x));
            rgb.push_back(static_cast<uint8_t>(y));
            rgb.push_back(static_cast<uint8_t>(x * y));
        }
    const std::string png = KVPng::Encode(width, height, rgb);
    std::ofstream file(argv[1], std::ios::binary);
    return file.write(png.data(), static_cast<std::streamsize>(png.size())).flush() ? 0 : 1;
}
