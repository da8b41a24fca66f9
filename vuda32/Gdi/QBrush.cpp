#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QBrush.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCreateSolidBrush = 56;
}

void QBrush::CreateSolidBrush(COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    if (brush == nullptr)
        RaiseGen(kFile, "CreateSolidBrush", kLineCreateSolidBrush, 20501);
    Attach(brush, true);
}
