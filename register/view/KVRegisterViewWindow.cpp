#include "register/view/KVRegisterViewWindow.h"

#include "register/view/KVRegisterView.h"

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
    // On the window's thread; an error there marks the window failed.
    view_->Show();
}

bool KVRegisterViewWindow::Close(uint32_t timeoutMs) {
    HANDLE thread = view_->GetThreadHandle();
    if (HasEnded()) return true;
    // Posted, not sent: a window thread that hangs cannot hold the host's thread beyond the
    // wait. A window that has gone already takes nothing, and its thread is on its way out.
    // (A null handle would post to this thread's own queue.)
    if (HWND window = view_->GetWindowHandle()) ::PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
}

bool KVRegisterViewWindow::HasEnded() const {
    HANDLE thread = view_->GetThreadHandle();
    if (thread == nullptr) return true;
    // The window's own thread ends a run only when it lets go of the last reference to the
    // library on its way out (the host unloaded it in the middle of a run): its loop is over
    // and it will not touch the window object again, so the object may go.
    if (::GetThreadId(thread) == GetCurrentThreadId()) return true;
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

std::unique_ptr<KVWizardWindow> KVMakeRegisterView(KVRegisterModel& model, const std::string& keyPath) {
    return std::make_unique<KVRegisterViewWindow>(model, keyPath);
}
