#include "vuda32/Application/QGlobalData.h"

#include "vuda32/Window/QWindowsHook.h"
#include "vuda32/Exception/QException.h"

namespace {
const char* const kFile = ".\\Application\\QGlobalData.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineAddHook = 108;
}

QGlobalData::QGlobalData() : m_waitCursor(LoadCursorA(nullptr, IDC_WAIT)) {}

void QGlobalData::AddHook(QWindowsHook* hook) {
    QCriticalSectionLock lock(m_hookLock);
    if (!m_hooksInitialized) {
        for (QWindowsHook*& slot : m_hooks)
            slot = nullptr;
        m_hooksInitialized = true;
    }
    QWindowsHook*& slot = GetHookSlot(hook->GetKind());
    if (slot != nullptr || &slot == &m_noSlot)
        throw QGenException(kFile, "AddHook", kLineAddHook, 9501, 0);
    slot = hook;
}

QWindowsHook*& QGlobalData::GetHookSlot(int kind) {
    if (kind < 0 || kind >= HookKindCount) {
        m_noSlot = nullptr;
        return m_noSlot;
    }
    return m_hooks[kind];
}

QGlobalData& GetGlobalData() {
    static QGlobalData data;
    return data;
}
