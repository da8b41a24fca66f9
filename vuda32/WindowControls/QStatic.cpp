#include "vuda32/WindowControls/QStatic.h"

#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\WindowControls\\QStatic.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineChangeColor = 64;
}

void QStatic::SetDefault() { SetControlDefault("STATIC", 0x5000000B, 0); }

bool QStatic::WindowProc(HWND, UINT, WPARAM, LPARAM, LRESULT&, bool) { return false; }

HBRUSH QStatic::ChangeColor(HDC dc) {
    if (SetBkMode(dc, TRANSPARENT) == 0)
        RaiseWin(kFile, "ChangeColor", kLineChangeColor, 16501);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}
