#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QBrush.cpp";
}

void QBrush::CreateSolidBrush(COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    if (brush == nullptr)
        RaiseGen(kFile, "CreateSolidBrush", 56, 20501);
    Attach(brush, true);
}
