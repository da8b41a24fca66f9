#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Gdi/QDC.h"
#include "vuda32/Utility/QRaise.h"
#include "vuda32/Window/QWinBase.h"

namespace {
const char* const kFile = ".\\Gdi\\QClientDC.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineFromWindow = 55;
constexpr int kLineFromHandle = 75;
constexpr int kLineAttach = 112;
constexpr int kLineFree = 134;
}

QClientDC::QClientDC(QWinBase& window) : m_window(&window) {
    HDC dc = GetDC(window.GetHwnd());
    if (dc == nullptr)
        RaiseGen(kFile, "QClientDC", kLineFromWindow, 5501);
    SetHdc(dc);
}

QClientDC::QClientDC(HWND window) : m_hwnd(window) {
    HDC dc = GetDC(window);
    if (dc == nullptr)
        RaiseGen(kFile, "QClientDC", kLineFromHandle, 5501);
    SetHdc(dc);
}

QClientDC::~QClientDC() {
    try {
        Free();
    } catch (const QException& e) {
        ReportSwallowedError(e);
    }
}

void QClientDC::Attach(QWinBase& window) {
    Free();
    HDC dc = GetDC(window.GetHwnd());
    if (dc == nullptr)
        RaiseGen(kFile, "Attach", kLineAttach, 5501);
    m_window = &window;
    m_hwnd = nullptr;
    SetHdc(dc);
}

void QClientDC::Free() {
    HDC dc = GetHdc();
    if (dc == nullptr)
        return;
    // Read now, not at construction: the window may be gone already.
    HWND window = m_window != nullptr ? m_window->GetHwnd() : m_hwnd;
    SetHdc(nullptr);
    if (window == nullptr) {
        // The screen's context, or one whose window has been destroyed with its context:
        // giving it back to no window is what the screen's needs and harmless otherwise.
        ReleaseDC(nullptr, dc);
        return;
    }
    if (!ReleaseDC(window, dc))
        RaiseGen(kFile, "Free", kLineFree, 5502);
}
