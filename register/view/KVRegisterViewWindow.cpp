#include "register/view/KVRegisterViewWindow.h"

#include "register/view/KVRegisterView.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"

KVRegisterViewWindow::KVRegisterViewWindow(KVRegisterModel& model, const std::string& keyPath)
    : view_(std::make_unique<KVRegisterView>(model, keyPath)) {}

KVRegisterViewWindow::~KVRegisterViewWindow() = default;

bool KVRegisterViewWindow::IsFailed() const {
    // The window library marks a window whose message handling let an error escape; the view
    // marks itself when its pages cannot be built.
    return startFailed_ || view_->IsViewFailed() || view_->QWinBase::IsFailed();
}

void KVRegisterViewWindow::SetOwnerWindow(HWND owner) { view_->SetOwnerWindow(owner); }

void KVRegisterViewWindow::StartThread() {
    if (!view_->CreateThread(nullptr)) startFailed_ = true;
}

void KVRegisterViewWindow::Show() {
    try {
        view_->ShowWindow(SW_SHOWNORMAL);
    } catch (const QException& e) {
        ReportSwallowedError(e);
        startFailed_ = true;
    }
}

bool KVRegisterViewWindow::HasWindow() const { return view_->GetHwnd() != nullptr; }

bool KVRegisterViewWindow::Close(uint32_t timeoutMs) {
    HANDLE thread = view_->GetThreadHandle();
    // The window's own thread ends a run only when it lets go of the last reference to the
    // library on its way out (the host unloaded it in the middle of a run): its loop is over
    // and it will not touch the window object again, so the object may go.
    if (thread != nullptr && ::GetThreadId(thread) == GetCurrentThreadId()) return true;
    if (view_->GetHwnd() != nullptr)
        view_->QWinThread::Close(timeoutMs);
    else if (thread != nullptr)
        // A thread whose window is already gone is about to end; it still runs code of the
        // window object until it has.
        WaitForSingleObject(thread, timeoutMs);
    return thread == nullptr || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

std::unique_ptr<KVWizardWindow> KVMakeRegisterView(KVRegisterModel& model, const std::string& keyPath) {
    return std::make_unique<KVRegisterViewWindow>(model, keyPath);
}
