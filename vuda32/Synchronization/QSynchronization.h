// Waits on any kernel handles.
//   QSynchronization  WaitForSingleObject and WaitForMultipleObjects that raise only when the
//                     wait itself fails; a timeout is an ordinary result
#pragma once

#include <windows.h>

namespace QSynchronization {
// The platform's result: WAIT_OBJECT_0 + index, WAIT_ABANDONED_0 + index or WAIT_TIMEOUT.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, bool waitAll, DWORD timeoutMs);
}  // namespace QSynchronization
