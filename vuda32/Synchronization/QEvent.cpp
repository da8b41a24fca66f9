#include "QEvent.h"

#include "vuda32/Utility/QRaise.h"

namespace {

const char* const kSourceFile = ".\\Synchronization\\QEvent.cpp";

// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineClose = 63;
constexpr int kLineCreate = 75;
constexpr int kLineCreateNamed = 85;
constexpr int kLinePulseEvent = 104;
constexpr int kLineResetEvent = 113;
constexpr int kLineSetEvent = 122;
constexpr int kLineWait = 135;

}  // namespace

QEvent::~QEvent() {
    // A destructor must not throw; a failed close here leaves nothing we could repair.
    if (handle_ != nullptr) ::CloseHandle(handle_);
}

void QEvent::Close() {
    if (handle_ == nullptr) return;
    HANDLE handle = handle_;
    // Forget the handle even if closing fails: it is unusable either way, and the
    // destructor must not try it again.
    handle_ = nullptr;
    if (!::CloseHandle(handle)) RaiseGen(kSourceFile, "Close", kLineClose, 19002);
}

void QEvent::Create(bool manualReset, bool initialState) {
    Close();
    handle_ = ::CreateEventA(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE, nullptr);
    if (handle_ == nullptr) RaiseGen(kSourceFile, "Create", kLineCreate, 19001);
}

void QEvent::Create(bool manualReset, bool initialState, const std::string& name) {
    Close();
    handle_ = ::CreateEventA(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE,
                             name.c_str());
    if (handle_ == nullptr) RaiseGen(kSourceFile, "Create", kLineCreateNamed, 19001);
}

void QEvent::PulseEvent() {
    if (!::PulseEvent(handle_)) RaiseGen(kSourceFile, "PulseEvent", kLinePulseEvent, 19006);
}

void QEvent::ResetEvent() {
    if (!::ResetEvent(handle_)) RaiseGen(kSourceFile, "ResetEvent", kLineResetEvent, 19005);
}

void QEvent::SetEvent() {
    if (!::SetEvent(handle_)) RaiseGen(kSourceFile, "SetEvent", kLineSetEvent, 19004);
}

DWORD QEvent::Wait(DWORD timeoutMs) {
    const DWORD result = ::WaitForSingleObject(handle_, timeoutMs);
    if (result == WAIT_FAILED) RaiseGen(kSourceFile, "Wait", kLineWait, 19003);
    return result;
}
