#include "QSynchronization.h"

#include "vuda32/Utility/QRaise.h"

namespace {

const char* const kSourceFile = ".\\Synchronization\\QSynchronization.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineWaitForMultipleObjects = 31;
constexpr int kLineWaitForSingleObject = 44;
const uint32_t kWaitFailed = 19501;

}  // namespace

DWORD QSynchronization::WaitForMultipleObjects(DWORD count, const HANDLE* handles, bool waitAll,
                                               DWORD timeoutMs) {
    const DWORD result = ::WaitForMultipleObjects(count, handles, waitAll ? TRUE : FALSE, timeoutMs);
    if (result == WAIT_FAILED)
        RaiseGen(kSourceFile, "WaitForMultipleObjects", kLineWaitForMultipleObjects, kWaitFailed);
    return result;
}

DWORD QSynchronization::WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    const DWORD result = ::WaitForSingleObject(handle, timeoutMs);
    if (result == WAIT_FAILED)
        RaiseGen(kSourceFile, "WaitForSingleObject", kLineWaitForSingleObject, kWaitFailed);
    return result;
}
