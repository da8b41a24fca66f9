// Message hooks of the library.
//   QWindowsHook   one installed hook, registered in the global hook table under its kind
#pragma once

#include <windows.h>

class QWindowsHook {
public:
    QWindowsHook() = default;
    virtual ~QWindowsHook();
    QWindowsHook(const QWindowsHook&) = delete;
    QWindowsHook& operator=(const QWindowsHook&) = delete;

    // Sees every message sent to a window of the hooked thread; false keeps the message
    // from the hooks after this one.
    virtual bool OnHook(WPARAM wParam, LPARAM lParam);

    // Registers under kind 0 (9501 when taken) and hooks the thread's sent messages
    // (11501 when the platform refuses; the table entry then stays).
    void CreateCallWndProc(HINSTANCE module, DWORD threadId);

    HHOOK GetHandle() const { return m_hook; }
    int GetKind() const { return m_kind; }

private:
    HHOOK m_hook = nullptr;
    int m_kind = -1;
};
