#include "vuda32/WindowControls/QCombobox.h"

#include "vuda32/Utility/QRaise.h"
#include "vuda32/WindowControls/QControlText.h"

namespace {
const char* const kFile = ".\\WindowControls\\QCombobox.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineAddString = 92;
constexpr int kLineItemTextLength = 190;
constexpr int kLineItemText = 196;
}

QCombobox::~QCombobox() {
    // The combo box itself after it, by the base.
    Unsubclass(m_editHwnd, m_editPrevious);
}

void QCombobox::SetDefault() { SetControlDefault("COMBOBOX", 0x50A10042, 0); }

void QCombobox::Attach() {
    HWND combo = GetHwnd();
    m_editHwnd = nullptr;
    m_editPrevious = nullptr;
    // A simple or drop-down combo box has an edit field; a drop-down list has none.
    if ((GetStyle() & 3) < 3) {
        HWND edit = ChildWindowFromPoint(combo, POINT{4, 4});
        if (edit != nullptr && edit != combo) {
            m_editHwnd = edit;
            m_editPrevious = Subclass(edit);
        }
    }
    QSubclassedControl::Attach();
}

bool QCombobox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT& result, bool extra) {
    if (extra)
        return false;
    if (message == EM_SETSEL && m_suppressSelection) {
        m_suppressSelection = false;
        result = 0;
        return true;
    }
    if (message == WM_WINDOWPOSCHANGING)
        m_suppressSelection = m_editHwnd != nullptr && GetFocus() != m_editHwnd;
    return ForwardToClass(hwnd, message, wParam, lParam, result, extra,
                          hwnd == m_editHwnd ? m_editPrevious : nullptr);
}

LRESULT QCombobox::AddString(const std::string& text) {
    LRESULT index =
        ::SendMessageA(GetHwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR || index == CB_ERRSPACE)
        RaiseWin(kFile, "AddString", kLineAddString, 15001);
    return index;
}

int QCombobox::GetText(std::string& text) {
    text = WindowText(GetHwnd());
    return 1;
}

int QCombobox::GetText(int index, std::string& text) {
    text.clear();
    LRESULT length = ::SendMessageA(GetHwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        RaiseWin(kFile, "GetText", kLineItemTextLength, 15002);
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = ::SendMessageA(GetHwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&buffer[0]));
    if (copied == CB_ERR)
        RaiseWin(kFile, "GetText", kLineItemText, 15003);
    buffer.resize(static_cast<size_t>(copied) <= static_cast<size_t>(length)
                      ? static_cast<size_t>(copied)
                      : static_cast<size_t>(length));
    text = buffer;
    return 1;
}
