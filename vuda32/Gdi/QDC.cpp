#include "vuda32/Gdi/QDC.h"

#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QDC.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineBitBlt = 80;
constexpr int kLineDrawText = 179;
constexpr int kLineFillRect = 199;
constexpr int kLineFillSolidRect = 220;
constexpr int kLineGetBkColor = 260;
constexpr int kLineGetBkMode = 280;
constexpr int kLineGetCurrentPositionEx = 301;
constexpr int kLineGetNearestColor = 336;
constexpr int kLineGetPolyFillMode = 358;
constexpr int kLineGetROP2 = 380;
constexpr int kLineGetStretchBltMode = 403;
constexpr int kLineGetTextColor = 427;
constexpr int kLineLine = 457;
constexpr int kLineLineTo = 491;
constexpr int kLineMoveToEx = 525;
constexpr int kLineRectangle = 535;
constexpr int kLineRectangleFromRect = 545;
constexpr int kLineSelectObject = 570;
constexpr int kLineSetBkColor = 594;
constexpr int kLineSetBkMode = 617;
constexpr int kLineSetPolyFillMode = 641;
constexpr int kLineSetROP2 = 666;
constexpr int kLineSetStretchBltMode = 689;
constexpr int kLineSetTextColor = 713;
constexpr int kLineTextOut = 734;
constexpr int kLineUnSelectObject = 759;
constexpr int kLineDrawEdge = 781;  // our own number

// Returns the platform's answer, raising when it is the call's failure value.
template <typename T, typename F>
T Checked(T value, F failure, const char* method, int line, uint32_t code) {
    if (value == static_cast<T>(failure))
        RaiseGen(kFile, method, line, code);
    return value;
}
}  // namespace

void QDC::BitBlt(int x, int y, int width, int height, QDC& source, int sx, int sy, DWORD rop) {
    Checked(::BitBlt(m_dc, x, y, width, height, source.GetHdc(), sx, sy, rop), FALSE, "BitBlt",
            kLineBitBlt, 2522);
}

void QDC::BitBlt(const RECT& rect, QDC& source, int sx, int sy, DWORD rop) {
    BitBlt(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, sx, sy,
           rop);
}

void QDC::DrawEdge(RECT rect, UINT edge, UINT flags) {
    Checked(::DrawEdge(m_dc, &rect, edge, flags), FALSE, "DrawEdge", kLineDrawEdge, 2529);
}

int QDC::DrawText(const std::string& text, RECT& rect, UINT format) {
    return Checked(::DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &rect, format),
                   0, "DrawText", kLineDrawText, 2523);
}

void QDC::FillRect(const RECT& rect, HBRUSH brush) {
    Checked(::FillRect(m_dc, &rect, brush), 0, "FillRect", kLineFillRect, 2528);
}

void QDC::FillSolidRect(const RECT& rect, COLORREF colour) {
    COLORREF old = SetBkColor(colour);
    BOOL drawn = ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    DWORD error = GetLastError();
    // The colour goes back before anything is raised.
    ::SetBkColor(m_dc, old);
    if (!drawn)
        throw QGenException(kFile, "FillSolidRect", kLineFillSolidRect, 2521, error);
}

void QDC::DrawTransparent(int x, int y, int width, int height, QDC& image, QDC& mask, int sx,
                          int sy) {
    BitBlt(x, y, width, height, image, sx, sy, SRCINVERT);
    BitBlt(x, y, width, height, mask, sx, sy, SRCAND);
    BitBlt(x, y, width, height, image, sx, sy, SRCINVERT);
}

COLORREF QDC::GetBkColor() {
    return Checked(::GetBkColor(m_dc), CLR_INVALID, "GetBkColor", kLineGetBkColor, 2509);
}

int QDC::GetBkMode() { return Checked(::GetBkMode(m_dc), 0, "GetBkMode", kLineGetBkMode, 2511); }

POINT QDC::GetCurrentPositionEx() {
    POINT point = {0, 0};
    Checked(::GetCurrentPositionEx(m_dc, &point), FALSE, "GetCurrentPositionEx",
            kLineGetCurrentPositionEx, 2502);
    return point;
}

COLORREF QDC::GetNearestColor(COLORREF colour) {
    return Checked(::GetNearestColor(m_dc, colour), CLR_INVALID, "GetNearestColor",
                   kLineGetNearestColor, 2508);
}

int QDC::GetPolyFillMode() {
    return Checked(::GetPolyFillMode(m_dc), 0, "GetPolyFillMode", kLineGetPolyFillMode, 2513);
}

int QDC::GetROP2() { return Checked(::GetROP2(m_dc), 0, "GetROP2", kLineGetROP2, 2515); }

int QDC::GetStretchBltMode() {
    return Checked(::GetStretchBltMode(m_dc), 0, "GetStretchBltMode", kLineGetStretchBltMode, 2517);
}

COLORREF QDC::GetTextColor() {
    return Checked(::GetTextColor(m_dc), CLR_INVALID, "GetTextColor", kLineGetTextColor, 2519);
}

COLORREF QDC::SetBkColor(COLORREF colour) {
    return Checked(::SetBkColor(m_dc, colour), CLR_INVALID, "SetBkColor", kLineSetBkColor, 2510);
}

int QDC::SetBkMode(int mode) {
    return Checked(::SetBkMode(m_dc, mode), 0, "SetBkMode", kLineSetBkMode, 2512);
}

int QDC::SetPolyFillMode(int mode) {
    return Checked(::SetPolyFillMode(m_dc, mode), 0, "SetPolyFillMode", kLineSetPolyFillMode, 2514);
}

int QDC::SetROP2(int mode) {
    return Checked(::SetROP2(m_dc, mode), 0, "SetROP2", kLineSetROP2, 2516);
}

int QDC::SetStretchBltMode(int mode) {
    return Checked(::SetStretchBltMode(m_dc, mode), 0, "SetStretchBltMode", kLineSetStretchBltMode,
                   2518);
}

COLORREF QDC::SetTextColor(COLORREF colour) {
    return Checked(::SetTextColor(m_dc, colour), CLR_INVALID, "SetTextColor", kLineSetTextColor,
                   2520);
}

void QDC::Line(POINT from, POINT to) {
    Checked(::MoveToEx(m_dc, from.x, from.y, nullptr), FALSE, "Line", kLineLine, 2503);
    Checked(::LineTo(m_dc, to.x, to.y), FALSE, "Line", kLineLine, 2503);
}

void QDC::LineTo(int x, int y) {
    Checked(::LineTo(m_dc, x, y), FALSE, "LineTo", kLineLineTo, 2504);
}

POINT QDC::MoveToEx(int x, int y) {
    POINT previous = {0, 0};
    Checked(::MoveToEx(m_dc, x, y, &previous), FALSE, "MoveToEx", kLineMoveToEx, 2505);
    return previous;
}

void QDC::Rectangle(int left, int top, int right, int bottom) {
    Checked(::Rectangle(m_dc, left, top, right, bottom), FALSE, "Rectangle", kLineRectangle, 2527);
}

void QDC::Rectangle(const RECT& rect) {
    Checked(::Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom), FALSE, "Rectangle",
            kLineRectangleFromRect, 2527);
}

void QDC::TextOut(int x, int y, const std::string& text) {
    Checked(::TextOutA(m_dc, x, y, text.c_str(), static_cast<int>(text.size())), FALSE,
            "TextOut", kLineTextOut, 2524);
}

void QDC::SelectObject(QGDIObject& object) {
    if (object.IsSelected())
        return;
    HGDIOBJ previous = ::SelectObject(m_dc, object.GetHandle());
    if (previous == nullptr || previous == HGDI_ERROR)
        RaiseGen(kFile, "SelectObject", kLineSelectObject, 2525);
    object.SetSelected(previous);
}

void QDC::UnSelectObject(QGDIObject& object) {
    if (!object.IsSelected())
        return;
    HGDIOBJ back = ::SelectObject(m_dc, object.GetPrevious());
    if (back == nullptr || back == HGDI_ERROR)
        RaiseGen(kFile, "UnSelectObject", kLineUnSelectObject, 2526);
    object.SetSelected(nullptr);
}
