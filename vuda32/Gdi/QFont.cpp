#include "vuda32/Exception/QException.h"
#include "vuda32/Gdi/QDC.h"
#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QFont.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCreate = 68;
constexpr int kLineCreateFontIndirect = 102;
constexpr int kLineStockIdRefused = 118;
constexpr int kLineCreateStockFont = 127;
}

void QFont::Create(const std::string& face, int height, int weight, bool italic,
                   bool underline) {
    HFONT font = CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE,
                             underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    if (font == nullptr)
        RaiseGen(kFile, "Create", kLineCreate, 10501);
    Attach(font, true);
}

void QFont::CreatePointFont(const std::string& face, int points, QDC& dc, int weight,
                            bool italic, bool underline) {
    int height = -MulDiv(points, GetDeviceCaps(dc.GetHdc(), LOGPIXELSY), 72);
    Create(face, height, weight, italic, underline);
}

void QFont::CreateFontIndirect(const LOGFONTA& description) {
    HFONT font = ::CreateFontIndirectA(&description);
    if (font == nullptr)
        RaiseGen(kFile, "CreateFontIndirect", kLineCreateFontIndirect, 10501);
    Attach(font, true);
}

void QFont::CreateStockFont(int stockId) {
    switch (stockId) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
        break;
    default:
        throw QGenException(kFile, "CreateStockFont", kLineStockIdRefused, 15503, 0);
    }
    HGDIOBJ font = GetStockObject(stockId);
    if (font == nullptr)
        RaiseGen(kFile, "CreateStockFont", kLineCreateStockFont, 15502);
    Attach(font, false);
}
