#include "vuda32/Gdi/QDC.h"

#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QDC.cpp";

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
            80, 2522);
}

void QDC::BitBlt(const RECT& rect, QDC& source, int sx, int sy, DWORD rop) {
    BitBlt(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, sx, sy,
           rop);
}

void QDC::DrawEdge(RECT rect, UINT edge, UINT flags) {
    Checked(::DrawEdge(m_dc, &rect, edge, flags), FALSE, "DrawEdge", 781, 2529);
}

int QDC::DrawText(const std::string& text, RECT& rect, UINT format) {
    return Checked(::DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &rect, format),
                   0, "DrawText", 179, 2523);
}

void QDC::FillRect(const RECT& rect, HBRUSH brush) {
    Checked(::FillRect(m_dc, &rect, brush), 0, "FillRect", 199, 2528);
}

void QDC::FillSolidRect(const RECT& rect, COLORREF colour) {
    COLORREF old = SetBkColor(colour);
    BOOL drawn = ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    DWORD error = GetLastError();
    // The colour goes back before anything is raised.
    ::SetBkColor(m_dc, old);
    if (!drawn)
        throw QGenException(kFile, "FillSolidRect", 220, 2521, error);
}

void QDC::DrawTransparent(int x, int y, int width, int height, QDC& image, QDC& mask, int sx,
                          int sy) {
    BitBlt(x, y, width, height, image, sx, sy, SRCINVERT);
    BitBlt(x, y, width, height, mask, sx, sy, SRCAND);
    BitBlt(x, y, width, height, image, sx, sy, SRCINVERT);
}

COLORREF QDC::GetBkColor() {
    return Checked(::GetBkColor(m_dc), CLR_INVALID, "GetBkColor", 260, 2509);
}

int QDC::GetBkMode() { return Checked(::GetBkMode(m_dc), 0, "GetBkMode", 280, 2511); }

POINT QDC::GetCurrentPositionEx() {
    POINT point = {0, 0};
    Checked(::GetCurrentPositionEx(m_dc, &point), FALSE, "GetCurrentPositionEx", 301, 2502);
    return point;
}

COLORREF QDC::GetNearestColor(COLORREF colour) {
    return Checked(::GetNearestColor(m_dc, colour), CLR_INVALID, "GetNearestColor", 336, 2508);
}

int QDC::GetPolyFillMode() {
    return Checked(::GetPolyFillMode(m_dc), 0, "GetPolyFillMode", 358, 2513);
}

int QDC::GetROP2() { return Checked(::GetROP2(m_dc), 0, "GetROP2", 380, 2515); }

int QDC::GetStretchBltMode() {
    return Checked(::GetStretchBltMode(m_dc), 0, "GetStretchBltMode", 403, 2517);
}

COLORREF QDC::GetTextColor() {
    return Checked(::GetTextColor(m_dc), CLR_INVALID, "GetTextColor", 427, 2519);
}

COLORREF QDC::SetBkColor(COLORREF colour) {
    return Checked(::SetBkColor(m_dc, colour), CLR_INVALID, "SetBkColor", 594, 2510);
}

int QDC::SetBkMode(int mode) {
    return Checked(::SetBkMode(m_dc, mode), 0, "SetBkMode", 617, 2512);
}

int QDC::SetPolyFillMode(int mode) {
    return Checked(::SetPolyFillMode(m_dc, mode), 0, "SetPolyFillMode", 641, 2514);
}

int QDC::SetROP2(int mode) { return Checked(::SetROP2(m_dc, mode), 0, "SetROP2", 666, 2516); }

int QDC::SetStretchBltMode(int mode) {
    return Checked(::SetStretchBltMode(m_dc, mode), 0, "SetStretchBltMode", 689, 2518);
}

COLORREF QDC::SetTextColor(COLORREF colour) {
    return Checked(::SetTextColor(m_dc, colour), CLR_INVALID, "SetTextColor", 713, 2520);
}

void QDC::Line(POINT from, POINT to) {
    Checked(::MoveToEx(m_dc, from.x, from.y, nullptr), FALSE, "Line", 457, 2503);
    Checked(::LineTo(m_dc, to.x, to.y), FALSE, "Line", 457, 2503);
}

void QDC::LineTo(int x, int y) { Checked(::LineTo(m_dc, x, y), FALSE, "LineTo", 491, 2504); }

POINT QDC::MoveToEx(int x, int y) {
    POINT previous = {0, 0};
    Checked(::MoveToEx(m_dc, x, y, &previous), FALSE, "MoveToEx", 525, 2505);
    return previous;
}

void QDC::Rectangle(int left, int top, int right, int bottom) {
    Checked(::Rectangle(m_dc, left, top, right, bottom), FALSE, "Rectangle", 535, 2527);
}

void QDC::Rectangle(const RECT& rect) {
    Checked(::Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom), FALSE, "Rectangle",
            545, 2527);
}

void QDC::TextOut(int x, int y, const std::string& text) {
    Checked(::TextOutA(m_dc, x, y, text.c_str(), static_cast<int>(text.size())), FALSE,
            "TextOut", 734, 2524);
}

void QDC::SelectObject(QGDIObject& object) {
    if (object.IsSelected())
        return;
    HGDIOBJ previous = ::SelectObject(m_dc, object.GetHandle());
    if (previous == nullptr || previous == HGDI_ERROR)
        RaiseGen(kFile, "SelectObject", 570, 2525);
    object.SetSelected(previous);
}

void QDC::UnSelectObject(QGDIObject& object) {
    if (!object.IsSelected())
        return;
    HGDIOBJ back = ::SelectObject(m_dc, object.GetPrevious());
    if (back == nullptr || back == HGDI_ERROR)
        RaiseGen(kFile, "UnSelectObject", 759, 2526);
    object.SetSelected(nullptr);
}
