// Window classes.
//   QWinClass   registers one window class and unregisters it when destroyed
#pragma once

#include <windows.h>

#include <string>

class QWinClass {
public:
    QWinClass() = default;
    // Unregisters; a failure (1001) is reported to the swallowed-error sink, never raised.
    ~QWinClass();
    QWinClass(const QWinClass&) = delete;
    QWinClass& operator=(const QWinClass&) = delete;

    // Double-clicks, the arrow cursor and the module's icons iconId and iconId+1 by
    // default; the given icons replace them only as a pair. 1003 on failure.
    void Register(UINT iconId, const std::string& className, HINSTANCE instance,
                  WNDPROC windowProc, HBRUSH background, UINT classStyle, HICON largeIcon,
                  HICON smallIcon);

    ATOM GetAtom() const { return m_atom; }
    const std::string& GetClassName() const { return m_className; }

private:
    ATOM m_atom = 0;
    HINSTANCE m_instance = nullptr;
    WNDCLASSEXA m_description = {};
    std::string m_className;
    UINT m_iconId = 0;
};
