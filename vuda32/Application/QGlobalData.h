// The library's process-wide data.
//   QGlobalData     module handle, window-creation lock, hook lock and hook table, wait cursor
//   GetGlobalData   the one instance
#pragma once

#include <windows.h>

#include "vuda32/Synchronization/QCriticalSection.h"

class QWindowsHook;

class QGlobalData {
public:
    // Kinds of library hooks, the indices into the hook table.
    enum HookKind { HookCallWndProc = 0, HookKindCount = 1 };

    QGlobalData();
    QGlobalData(const QGlobalData&) = delete;
    QGlobalData& operator=(const QGlobalData&) = delete;

    HINSTANCE GetInstance() const { return m_instance; }
    void SetInstance(HINSTANCE instance) { m_instance = instance; }
    HCURSOR GetWaitCursor() const { return m_waitCursor; }

    // Held from just before a library window is created until the creation call returns,
    // because the application object has one pending-window slot for everybody.
    void LockWindowCreation() { m_windowCreationLock.Enter(); }
    void UnlockWindowCreation() { m_windowCreationLock.Leave(); }

    // Registers the hook under its kind; an occupied slot raises 9501 and changes nothing.
    void AddHook(QWindowsHook* hook);
    // The table slot of a kind. Not guarded: callers take the hook lock when it matters.
    QWindowsHook*& GetHookSlot(int kind);
    QCriticalSection& GetHookLock() { return m_hookLock; }

private:
    HCURSOR m_waitCursor = nullptr;
    HINSTANCE m_instance = nullptr;
    QCriticalSection m_windowCreationLock;
    QCriticalSection m_hookLock;
    QWindowsHook* m_hooks[HookKindCount] = {};
    bool m_hooksInitialized = false;
    // Handed out for a kind the table does not have, emptied every time, so that a wrong
    // kind reads "no hook" instead of memory beyond the table.
    QWindowsHook* m_noSlot = nullptr;
};

QGlobalData& GetGlobalData();
