#include "QSynchronization.h"

#include "vuda32/Exception/QException.h"

namespace {

const char* const kSourceFile = ".\\Synchronization\\QSynchronization.cpp";
// The lines our error reports have always named for these waits; support staff match
// reports against them, so they stay fixed whatever this file looks like.
const int kLineWaitForMultipleObjects = 31;
const int kLineWaitForSingleObject = 44;
const uint32_t kWaitFailed = 19501;

}  // namespace

DWORD QSynchronization::WaitForMultipleObjects(DWORD count, const HANDLE* handles, bool waitAll,
                                               DWORD timeoutMs) {
    const DWORD result = ::WaitForMultipleObjects(count, handles, waitAll ? TRUE : FALSE, timeoutMs);
    if (result == WAIT_FAILED) {
        const DWORD error = ::GetLastError();
        throw QGenException(kSourceFile, "WaitForMultipleObjects", kLineWaitForMultipleObjects,
                            kWaitFailed, error);
    }
    return result;
}

DWORD QSynchronization::WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    const DWORD result = ::WaitForSingleObject(handle, timeoutMs);
    if (result == WAIT_FAILED) {
        const DWORD error = ::GetLastError();
        throw QGenException(kSourceFile, "WaitForSingleObject", kLineWaitForSingleObject,
                            kWaitFailed, error);
    }
    return result;
}
