#include "vuda32/Window/QWindowsHook.h"

#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"

namespace {
const char* const kFile = ".\\Window\\QWindowsHook.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCreateCallWndProc = 88;

// The one procedure the platform calls for every library hook.
LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    QGlobalData& data = GetGlobalData();
    HHOOK handle = nullptr;
    bool passOn = true;
    {
        // Held while the hook runs, so that a hook object is not destroyed under its call.
        QCriticalSectionLock lock(data.GetHookLock());
        try {
            QWindowsHook* hook = data.GetHookSlot(QGlobalData::HookCallWndProc);
            if (hook != nullptr) {
                handle = hook->GetHandle();
                passOn = hook->OnHook(wParam, lParam);
            }
        } catch (...) {
            ReportCaughtError(kFile, "HookProc", __LINE__);
        }
    }
    if (!passOn)
        return 0;
    return CallNextHookEx(handle, code, wParam, lParam);
}
}  // namespace

QWindowsHook::~QWindowsHook() {
    if (m_kind >= 0) {
        QGlobalData& data = GetGlobalData();
        QCriticalSectionLock lock(data.GetHookLock());
        QWindowsHook*& slot = data.GetHookSlot(m_kind);
        // A hook refused with 9501 carries the kind too; it must not empty its rival's slot.
        if (slot == this)
            slot = nullptr;
    }
    // The platform hook itself stays installed: it belongs to one GUI thread and the system
    // removes it when that thread ends, which the wizard waits for before the module can go.
    // Until then the procedure finds the slot empty and passes every message on.
}

bool QWindowsHook::OnHook(WPARAM, LPARAM) { return true; }

void QWindowsHook::CreateCallWndProc(HINSTANCE module, DWORD threadId) {
    m_kind = QGlobalData::HookCallWndProc;
    GetGlobalData().AddHook(this);
    m_hook = SetWindowsHookExA(WH_CALLWNDPROC, HookProc, module, threadId);
    if (m_hook == nullptr) {
        DWORD error = GetLastError();
        throw QGenException(kFile, "CreateCallWndProc", kLineCreateCallWndProc, 11501, error);
    }
}
