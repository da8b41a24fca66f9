#include "vuda32/Gdi/QDC.h"
#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QBitmap.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCreateCompatibleBitmap = 77;
constexpr int kLineLoad = 334;
}

void QBitmap::Describe() {
    m_description = BITMAP{};
    GetInfo(sizeof(m_description), &m_description);
}

void QBitmap::Load(LPCSTR name, HINSTANCE instance, bool fromFile) {
    SetHandle(nullptr, true);
    m_description = BITMAP{};
    HANDLE image = LoadImageA(fromFile ? nullptr : instance, name, IMAGE_BITMAP, 0, 0,
                              fromFile ? LR_LOADFROMFILE : 0);
    if (image == nullptr)
        RaiseGen(kFile, "Load", kLineLoad, 10001);
    Attach(image, true);
    Describe();
}

void QBitmap::CreateCompatibleBitmap(QDC& dc, int width, int height) {
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc.GetHdc(), width, height);
    if (bitmap == nullptr)
        RaiseGen(kFile, "CreateCompatibleBitmap", kLineCreateCompatibleBitmap, 10003);
    Attach(bitmap, true);
    Describe();
}
