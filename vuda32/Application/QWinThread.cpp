#include "vuda32/Application/QWinThread.h"

#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Synchronization/QSynchronization.h"

void QWinThread::SetDefault() {
    SetDefaultParams();
    CREATESTRUCTA& params = GetCreateParams();
    params.style = WS_OVERLAPPEDWINDOW;
    params.dwExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    // A window without background brush still works; this one is not worth failing for.
    MakeDefaultBrush();
}

bool QWinThread::InitInstance(QThreadStart* start) {
    try {
        if (!Create(false))
            return false;
    } catch (const QException& e) {
        ReportSwallowedError(e);
        return false;
    }
    return QThread::InitInstance(start);
}

void QWinThread::ExitInstance() {
    try {
        Destroy();
    } catch (const QException& e) {
        ReportSwallowedError(e);
    }
}

void QWinThread::Close(DWORD timeoutMs) {
    HWND window = GetHwnd();
    if (window == nullptr)
        return;
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    if (GetThreadHandle() != nullptr)
        QSynchronization::WaitForSingleObject(GetThreadHandle(), timeoutMs);
}
