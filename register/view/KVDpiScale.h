// The wizard's layout at a display scale (no <windows.h>).
//   KVMulDiv     a * b / c rounded to the nearest integer, halves away from zero, as the
//                system's MulDiv rounds
//   KVDpiScale   the factor between the 96-DPI pixels every layout is written in (register.cfg,
//                the fixed pages, the header) and the pixels of a display at some DPI
#pragma once

#include <cstdint>

// -1 when c is 0 or the result leaves the 32-bit range, as the system's MulDiv answers.
int32_t KVMulDiv(int32_t a, int32_t b, int32_t c);

class KVDpiScale {
public:
    static constexpr int kBaseDpi = 96;
    // What a display can report; anything else (0 from a failed query included) counts as 96.
    static constexpr int kMinDpi = 48;
    static constexpr int kMaxDpi = 960;

    explicit KVDpiScale(int dpi = kBaseDpi);

    int Dpi() const { return dpi_; }
    bool IsBase() const { return dpi_ == kBaseDpi; }
    // A length or coordinate of 96-DPI pixels at this DPI.
    int Scale(int pixels) const { return KVMulDiv(pixels, dpi_, kBaseDpi); }
    // Each edge on its own, so that controls that touch at 96 DPI still touch and controls
    // apart stay apart: the rounding never opens a gap or makes an overlap.
    template <class Rect>
    Rect ScaleRect(const Rect& r) const {
        Rect out = r;
        out.left = Scale(r.left);
        out.top = Scale(r.top);
        out.right = Scale(r.right);
        out.bottom = Scale(r.bottom);
        return out;
    }
    // The height a font of `points` points asks for at this DPI: negative, the character
    // height, as the font mapper takes it. At 96 DPI exactly what a point font of a 96-DPI
    // screen gets, so both ways of sizing a font agree.
    int FontHeight(int points) const { return -KVMulDiv(points, dpi_, 72); }

private:
    int dpi_;
};
