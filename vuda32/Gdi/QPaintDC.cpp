#include "vuda32/Gdi/QDC.h"
#include "vuda32/Window/QWinBase.h"

// BeginPaint has no failure worth raising inside a paint message: without a context the
// drawing calls raise their own errors, and there is nothing to end.
QPaintDC::QPaintDC(QWinBase& window) : m_window(&window) {
    SetHdc(BeginPaint(window.GetHwnd(), &m_paint));
}

QPaintDC::QPaintDC(HWND window) : m_hwnd(window) {
    SetHdc(BeginPaint(window, &m_paint));
}

QPaintDC::~QPaintDC() { Free(); }

void QPaintDC::Free() {
    if (GetHdc() == nullptr)
        return;
    HWND window = m_window != nullptr ? m_window->GetHwnd() : m_hwnd;
    EndPaint(window, &m_paint);
    m_paint = PAINTSTRUCT{};
    SetHdc(nullptr);
}
