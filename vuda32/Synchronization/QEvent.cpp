#include "QEvent.h"

#include "vuda32/Exception/QException.h"

namespace {

const char* const kSourceFile = ".\\Synchronization\\QEvent.cpp";

// Codes and the lines our error reports have always named for them; support staff match
// reports against these lines, so they stay fixed whatever this file looks like.
struct Site {
    const char* method;
    int line;
    uint32_t code;
};
const Site kClose = {"Close", 63, 19002};
const Site kCreate = {"Create", 75, 19001};
const Site kCreateNamed = {"Create", 85, 19001};
const Site kPulse = {"PulseEvent", 104, 19006};
const Site kReset = {"ResetEvent", 113, 19005};
const Site kSet = {"SetEvent", 122, 19004};
const Site kWait = {"Wait", 135, 19003};

// Called on the statement after the failing call, so the system error is still its own.
[[noreturn]] void Raise(const Site& site) {
    const DWORD error = ::GetLastError();
    throw QGenException(kSourceFile, site.method, site.line, site.code, error);
}

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
    if (!::CloseHandle(handle)) Raise(kClose);
}

void QEvent::Create(bool manualReset, bool initialState) {
    Close();
    handle_ = ::CreateEventA(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE, nullptr);
    if (handle_ == nullptr) Raise(kCreate);
}

void QEvent::Create(bool manualReset, bool initialState, const std::string& name) {
    Close();
    handle_ = ::CreateEventA(nullptr, manualReset ? TRUE : FALSE, initialState ? TRUE : FALSE,
                             name.c_str());
    if (handle_ == nullptr) Raise(kCreateNamed);
}

void QEvent::PulseEvent() {
    if (!::PulseEvent(handle_)) Raise(kPulse);
}

void QEvent::ResetEvent() {
    if (!::ResetEvent(handle_)) Raise(kReset);
}

void QEvent::SetEvent() {
    if (!::SetEvent(handle_)) Raise(kSet);
}

DWORD QEvent::Wait(DWORD timeoutMs) {
    const DWORD result = ::WaitForSingleObject(handle_, timeoutMs);
    if (result == WAIT_FAILED) Raise(kWait);
    return result;
}
