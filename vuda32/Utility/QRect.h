// Rectangles.
//   QRect   the platform's rectangle (left, top, right, bottom) with width, height and moves
#pragma once

#include <windows.h>

struct QRect : RECT {
    QRect() : RECT{0, 0, 0, 0} {}
    QRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    QRect(const RECT& r) : RECT(r) {}  // NOLINT: a RECT is a QRect
    QRect& operator=(const RECT& r) {
        static_cast<RECT&>(*this) = r;
        return *this;
    }

    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    POINT TopLeft() const { return POINT{left, top}; }

    // Grows by dx on the left and right and by dy on the top and bottom (17502 on failure).
    void InflateRect(int dx, int dy);
    // Moves by dx, dy (17501 on failure).
    void OffsetRect(int dx, int dy);
};
