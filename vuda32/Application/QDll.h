// The application object of the library and the module entry that feeds it.
//   QDll       base of the one application object: receives the loader's notifications and
//              holds the window whose native window is being created right now
//   GetApp     the one application object
//   QDllMain   the body of the module entry; the DLL's DllMain calls it
#pragma once

#include <windows.h>

class QWinBase;

class QDll {
public:
    QDll();
    virtual ~QDll();
    QDll(const QDll&) = delete;
    QDll& operator=(const QDll&) = delete;

    // What the number means is the derived application's business; nothing reads it.
    virtual int GetApplicationId();
    // Stores the module handle in the global data; windows, classes and icons need it.
    virtual bool ProcessAttach(HINSTANCE instance);
    virtual bool ProcessDetach(HINSTANCE instance);
    virtual bool ThreadAttach(HINSTANCE instance);
    virtual bool ThreadDetach(HINSTANCE instance);

    // The window under creation; only touched under the window-creation lock and by the
    // window procedure on the creating thread.
    QWinBase* GetPendingWindow() const { return m_pendingWindow; }
    void SetPendingWindow(QWinBase* window) { m_pendingWindow = window; }

private:
    QWinBase* m_pendingWindow = nullptr;
};

QDll* GetApp();

// True once the loader has told the module that the process is ending (a process detach with
// a reserved argument): the other threads are gone and libraries this module loaded may be
// unloaded already, so nothing may be freed that the system takes back anyway.
bool QDllIsProcessEnding();

// Forwards reasons 0 to 3 to the application object and answers with its result; any other
// reason answers TRUE. Nothing unwinds into the loader: a failure answers FALSE.
BOOL QDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
