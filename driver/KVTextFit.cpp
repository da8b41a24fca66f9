#include "driver/KVTextFit.h"

#include "driver/KVWindowText.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A push button draws its text inside its 3-D edge and the focus frame of a default button.
const int kButtonTextMargin = 3;

std::string FontName(HFONT font) {
    LOGFONTA description{};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) return "the system font";
    return std::string(description.lfFaceName) + " " + std::to_string(std::abs(description.lfHeight)) + " px";
}

}  // namespace

KVTextFit KVMeasureTextFit(HWND control) {
    KVTextFit fit;
    const std::string className = KVWindowClass(control);
    const bool isButton = _stricmp(className.c_str(), "Button") == 0;
    if (!isButton && _stricmp(className.c_str(), "Static") != 0) return fit;
    const std::string text = KVWindowText(control);
    if (text.empty()) return fit;

    RECT area;
    GetClientRect(control, &area);
    // What a person sees of the control ends at the window's edge (the titles reach beyond it).
    const HWND window = GetParent(control);
    RECT shown;
    GetWindowRect(control, &shown);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
    RECT windowArea;
    GetClientRect(window, &windowArea);
    int width = std::min<int>(area.right, windowArea.right - shown.left);
    int height = std::min<int>(area.bottom, windowArea.bottom - shown.top);
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (isButton) {
        width -= 2 * kButtonTextMargin;
        height -= 2 * kButtonTextMargin;
        format |= DT_SINGLELINE;
    } else {
        format |= DT_WORDBREAK;
        if ((GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    }
    if (width <= 0 || height <= 0) return fit;

    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(control);
    if (dc == nullptr) return fit;
    const HGDIOBJ old = SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT needed{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);

    fit.measured = true;
    fit.neededWidth = needed.right - needed.left;
    fit.neededHeight = needed.bottom - needed.top;
    fit.width = width;
    fit.height = height;
    fit.font = FontName(font);
    return fit;
}
