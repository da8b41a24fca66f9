#include "vuda32/Utility/QRect.h"

#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Utility\\QRect.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineInflateRect = 191;
constexpr int kLineOffsetRect = 222;
}

void QRect::InflateRect(int dx, int dy) {
    if (!::InflateRect(this, dx, dy))
        RaiseGen(kFile, "InflateRect", kLineInflateRect, 17502);
}

void QRect::OffsetRect(int dx, int dy) {
    if (!::OffsetRect(this, dx, dy))
        RaiseGen(kFile, "OffsetRect", kLineOffsetRect, 17501);
}
