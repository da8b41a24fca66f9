#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Gdi/QDC.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QMemDC.cpp";
// Failures of the context itself are reported from the source of the drawing operations.
const char* const kContextFile = ".\\Gdi\\QDC.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCreateBitmapMask = 127;
constexpr int kLineCreateCompatibleDC = 145;  // of kContextFile
constexpr int kLineFree = 238;                // of kContextFile
}  // namespace

QMemDC::~QMemDC() {
    try {
        Free();
    } catch (const QException& e) {
        ReportSwallowedError(e);
    }
    // Even a bitmap that would not go out is freed once its context is gone.
    try {
        DeleteContext();
    } catch (const QException& e) {
        ReportSwallowedError(e);
    }
}

void QMemDC::DeleteContext() {
    HDC dc = GetHdc();
    if (dc == nullptr)
        return;
    if (!DeleteDC(dc))
        RaiseGen(kContextFile, "Free", kLineFree, 2507);
    SetHdc(nullptr);
}

void QMemDC::CreateCompatibleDC(QDC* target) {
    AdoptCompatibleDC(target != nullptr ? target->GetHdc() : nullptr, kContextFile,
                      "CreateCompatibleDC", kLineCreateCompatibleDC);
}

// The new context is made first, so failing to make it leaves the held one in place.
void QMemDC::AdoptCompatibleDC(HDC reference, const char* file, const char* method, int line) {
    HDC dc = ::CreateCompatibleDC(reference);
    if (dc == nullptr)
        RaiseGen(file, method, line, 2506);
    try {
        Free();
        DeleteContext();
    } catch (...) {
        DeleteDC(dc);
        throw;
    }
    SetHdc(dc);
}

void QMemDC::Free() {
    if (!m_bitmap)
        return;
    // A bitmap still selected cannot be deleted: it goes out first.
    UnSelectObject(*m_bitmap);
    m_bitmap.reset();
}

void QMemDC::LoadBitmap(QDC& source, LPCSTR name, HINSTANCE instance, bool fromFile) {
    Free();
    if (GetHdc() == nullptr)
        CreateCompatibleDC(&source);
    auto bitmap = std::make_unique<QBitmap>();
    bitmap->Load(name, instance, fromFile);
    SelectObject(*bitmap);
    m_bitmap = std::move(bitmap);
}

void QMemDC::LoadBitmapFile(QDC& source, const std::string& fileName, HINSTANCE instance) {
    LoadBitmap(source, fileName.c_str(), instance, true);
}

void QMemDC::LoadBitmapResource(QDC& source, UINT resourceId, HINSTANCE instance) {
    LoadBitmap(source, MAKEINTRESOURCEA(resourceId), instance, false);
}

void QMemDC::CreateBitmapMask(QMemDC& source, COLORREF transparent) {
    Free();
    QBitmap* image = source.GetBitmap();
    if (image == nullptr)
        return;  // nothing to mask
    const BITMAP& size = image->GetDescription();
    COLORREF old = source.SetBkColor(transparent);
    try {
        AdoptCompatibleDC(nullptr, kFile, "CreateBitmapMask", kLineCreateBitmapMask);
        // A bitmap compatible with a fresh memory context is monochrome.
        auto mask = std::make_unique<QBitmap>();
        mask->CreateCompatibleBitmap(*this, size.bmWidth, size.bmHeight);
        SelectObject(*mask);
        m_bitmap = std::move(mask);
        // Copying colour to one bit makes the background colour white and the rest black.
        BitBlt(0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    } catch (...) {
        ::SetBkColor(source.GetHdc(), old);
        throw;
    }
    source.SetBkColor(old);
}
