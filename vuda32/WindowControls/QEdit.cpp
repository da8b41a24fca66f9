#include "vuda32/WindowControls/QEdit.h"

#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"
#include "vuda32/WindowControls/QControlText.h"

namespace {
const char* const kFile = ".\\WindowControls\\QEdit.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineGetSelectedText = 213;
constexpr int kLineSetText = 242;
}

void QEdit::SetDefault() { SetControlDefault("EDIT", 0x50800080, WS_EX_CLIENTEDGE); }

bool QEdit::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result, bool extra) {
    if (extra)
        return false;
    if (message == WM_CHAR && wParam == VK_TAB && m_tabNavigation) {
        bool backwards = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(::GetParent(hwnd), hwnd, backwards ? TRUE : FALSE);
        if (next != nullptr)
            ::SetFocus(next);
        result = 0;
        return true;
    }
    return ForwardToClass(hwnd, message, wParam, lParam, result, extra);
}

void QEdit::SetText(const std::string& text) {
    if (!::SendMessageA(GetHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        RaiseWin(kFile, "SetText", kLineSetText, 16001);
}

int QEdit::GetText(std::string& text) {
    text = WindowText(GetHwnd());
    return 1;
}

void QEdit::SetSel(int start, int end) {
    ::SendMessageA(GetHwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

int QEdit::GetSelectedText(std::string& text) {
    text.clear();
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(GetHwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    std::string all = WindowText(GetHwnd());
    if (all.empty() || start == end)
        return 2;
    if (start > end || end > all.size())
        throw QWinException(kFile, "GetSelectedText", kLineGetSelectedText, 16002, 0);
    text = all.substr(start, end - start);
    return 1;
}
