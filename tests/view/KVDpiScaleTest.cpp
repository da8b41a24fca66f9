// The factor between 96-DPI layouts and a display's pixels: the system's rounding (checked
// against the system itself where there is one), 96 DPI as the identity, rectangles that keep
// their neighbours, and font heights from the same DPI.
#include "register/view/KVDpiScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Rect {
    int left, top, right, bottom;
};

TEST(KVDpiScaleTest, MulDivRoundsHalvesAwayFromZeroAndAnswersMinusOneWhenItCannot) {
    // a * b / c = expected: halves (1.5, -1.5), quarters (16.25, 73.75), no divisor, overflow.
    const int32_t cases[][4] = {{1, 144, 96, 2},        {-1, 144, 96, -2},   {1, 144, -96, -2},
                                {-1, -144, 96, 2},      {13, 120, 96, 16},   {59, 120, 96, 74},
                                {0, -5, 3, 0},          {5, 7, 0, -1},       {INT32_MAX, 2, 1, -1},
                                {INT32_MIN, 1, 1, -1},  {INT32_MAX, 96, 96, INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(c[3], KVMulDiv(c[0], c[1], c[2])) << c[0] << " * " << c[1] << " / " << c[2];
#ifdef _WIN32
    // The same answers as the system's own, halves, signs and edges included.
    for (int32_t a : {-1000, -301, -9, -3, -1, 0, 1, 3, 9, 301, 1000, INT32_MAX, INT32_MIN + 1})
        for (int32_t b : {-192, -7, 0, 1, 5, 120, 144, 192})
            for (int32_t c : {-96, -2, 1, 2, 3, 72, 96})
                EXPECT_EQ(MulDiv(a, b, c), KVMulDiv(a, b, c)) << a << " * " << b << " / " << c;
#endif
}

TEST(KVDpiScaleTest, NinetySixDpiChangesNothingAndOtherScalesMultiply) {
    const KVDpiScale base;
    EXPECT_TRUE(base.IsBase());
    for (int v = -500; v <= 2000; ++v) ASSERT_EQ(v, base.Scale(v));
    EXPECT_EQ(575, KVDpiScale(120).Scale(460));
    EXPECT_EQ(690, KVDpiScale(144).Scale(460));
    // A resolution no display reports counts as 96.
    for (int dpi : {0, -96, 47, 961, INT_MAX}) EXPECT_EQ(96, KVDpiScale(dpi).Dpi()) << dpi;
    EXPECT_EQ(48, KVDpiScale(48).Dpi());
    EXPECT_EQ(960, KVDpiScale(960).Dpi());
}

TEST(KVDpiScaleTest, RectanglesThatTouchStillTouchAndOnesApartStayApart) {
    for (int dpi : {120, 144, 168, 192}) {
        const KVDpiScale scale(dpi);
        for (int edge = 0; edge < 500; ++edge) {
            const Rect left = scale.ScaleRect(Rect{edge - 37, 10, edge, 31});
            const Rect right = scale.ScaleRect(Rect{edge, 10, edge + 53, 31});
            ASSERT_EQ(left.right, right.left) << dpi << " DPI, edge " << edge;
            const Rect apart = scale.ScaleRect(Rect{edge + 1, 10, edge + 60, 31});
            ASSERT_LT(left.right, apart.left) << dpi << " DPI, edge " << edge;
        }
        const Rect r = scale.ScaleRect(Rect{44, 113, 176, 127});
        EXPECT_EQ(scale.Scale(44), r.left);
        EXPECT_EQ(scale.Scale(113), r.top);
        EXPECT_EQ(scale.Scale(176), r.right);
        EXPECT_EQ(scale.Scale(127), r.bottom);
    }
}

TEST(KVDpiScaleTest, FontHeightsComeFromTheSameDpi) {
    // Eight points at 96 DPI is what a point font of a 96-DPI screen gets; nine points is 12.
    EXPECT_EQ(-11, KVDpiScale(96).FontHeight(8));
    EXPECT_EQ(-12, KVDpiScale(96).FontHeight(9));
    EXPECT_EQ(-13, KVDpiScale(120).FontHeight(8));
    EXPECT_EQ(-16, KVDpiScale(144).FontHeight(8));
    EXPECT_EQ(-21, KVDpiScale(192).FontHeight(8));
}

}  // namespace
