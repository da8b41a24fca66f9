#include "vuda32/WindowControls/QButton.h"

namespace {
const DWORD kDefaultStyle = 0x50010000;  // child, visible, tab stop
}

bool QButton::Create(QWinBase* parent, DWORD style, int id, const RECT& rect,
                     const std::string& title) {
    return CreateControl(parent, id, rect, title, style | WS_CHILD | WS_VISIBLE, 0);
}

bool QButton::Create(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                     bool automatic) {
    return CreateControl(parent, id, rect, title, automatic ? 0x50000009 : 0x50000004, 0);
}

void QButton::SetDefault() { SetControlDefault("BUTTON", kDefaultStyle, 0); }
