// The contact sheet: pictures side by side, each where the layout puts it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "driver/KVRgbImage.h"

namespace {

KVRgbImage Plain(uint32_t width, uint32_t height, uint8_t red) {
    KVRgbImage picture{width, height, {}};
    for (uint32_t i = 0; i < width * height; ++i) picture.rgb.insert(picture.rgb.end(), {red, 0, 0});
    return picture;
}

uint8_t RedAt(const KVRgbImage& image, uint32_t x, uint32_t y) { return image.rgb[(size_t{y} * image.width + x) * 3]; }

TEST(KVRgbImageTest, SideBySideTopAlignsPicturesBetweenGapsAndSkipsBrokenOnes) {
    KVRgbImage broken = Plain(2, 2, 7);
    broken.rgb.pop_back();
    const KVRgbImage sheet = KVRgbImage::SideBySide({Plain(3, 2, 10), broken, Plain(2, 4, 20)}, 1, 0x405060);
    ASSERT_TRUE(sheet.Valid());
    EXPECT_EQ(1u + 3 + 1 + 2 + 1, sheet.width);
    EXPECT_EQ(1u + 4 + 1, sheet.height);
    EXPECT_EQ(0x50, sheet.rgb[1]);
    // The background frames the sheet, fills the gap between the pictures (4, 1) and lies below
    // the shorter one (3, 3).
    const uint32_t reds[][3] = {{0, 0, 0x40}, {1, 1, 10},   {3, 2, 10},  {3, 3, 0x40}, {4, 1, 0x40},
                                {5, 1, 20},   {6, 4, 20},   {7, 4, 0x40}};
    for (const auto& r : reds) EXPECT_EQ(r[2], RedAt(sheet, r[0], r[1])) << r[0] << ", " << r[1];

    EXPECT_FALSE(KVRgbImage::SideBySide({}, 4, 0).Valid());
    EXPECT_FALSE(KVRgbImage::SideBySide({broken}, 4, 0).Valid());
}

}  // namespace
