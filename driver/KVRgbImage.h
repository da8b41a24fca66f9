// Pictures of the wizard in memory, before they become PNG files.
//   KVRgbImage   8-bit RGB rows, top row first, as KVPng encodes them; SideBySide lays
//                several pictures out in one row on a plain background
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct KVRgbImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // height rows of width pixels, 3 bytes each

    bool Valid() const { return width > 0 && height > 0 && rgb.size() == std::size_t{width} * height * 3; }

    // The pictures left to right, top-aligned, `gap` pixels apart and around, on `background`
    // (0xRRGGBB). Pictures that are not Valid are left out; none gives an empty image.
    static KVRgbImage SideBySide(const std::vector<KVRgbImage>& pictures, uint32_t gap, uint32_t background);
};
