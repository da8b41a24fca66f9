#include "vuda32/Utility/QRaise.h"

#include <windows.h>

#include "vuda32/Exception/QException.h"

void RaiseGen(const char* file, const char* method, int line, uint32_t code) {
    DWORD error = GetLastError();
    throw QGenException(file, method, line, code, error);
}

void RaiseWin(const char* file, const char* method, int line, uint32_t code) {
    DWORD error = GetLastError();
    throw QWinException(file, method, line, code, error);
}
