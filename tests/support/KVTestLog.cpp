#include "tests/support/KVTestLog.h"

#include <windows.h>

std::string KVTestLog::Read(const KVTestEnv& env, int number) {
    const std::string name = env.TempFolder() + "Korvane\\KVRegister" + std::to_string(number) + ".log";
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(file);
    return text;
}
