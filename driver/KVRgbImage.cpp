#include "driver/KVRgbImage.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

KVRgbImage KVRgbImage::SideBySide(const std::vector<KVRgbImage>& pictures, uint32_t gap, uint32_t background) {
    KVRgbImage sheet;
    uint64_t width = gap;
    uint64_t height = 0;
    for (const KVRgbImage& picture : pictures) {
        if (!picture.Valid()) continue;
        width += picture.width + uint64_t{gap};
        height = std::max<uint64_t>(height, picture.height);
    }
    height += 2 * uint64_t{gap};
    // Far beyond any screen: refuse rather than allocate without bound.
    if (width == gap || width > 65535 || height > 65535) return sheet;
    sheet.width = static_cast<uint32_t>(width);
    sheet.height = static_cast<uint32_t>(height);
    sheet.rgb.resize(std::size_t{sheet.width} * sheet.height * 3);
    const uint8_t fill[3] = {static_cast<uint8_t>(background >> 16), static_cast<uint8_t>(background >> 8),
                             static_cast<uint8_t>(background)};
    for (std::size_t i = 0; i < sheet.rgb.size(); i += 3) std::memcpy(&sheet.rgb[i], fill, 3);

    std::size_t left = gap;
    for (const KVRgbImage& picture : pictures) {
        if (!picture.Valid()) continue;
        const std::size_t row = std::size_t{picture.width} * 3;
        for (std::size_t y = 0; y < picture.height; ++y)
            std::memcpy(&sheet.rgb[((gap + y) * sheet.width + left) * 3], &picture.rgb[y * row], row);
        left += picture.width + gap;
    }
    return sheet;
}
