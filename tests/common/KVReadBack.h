// Reading a file back the way a person would while the program still holds it open.
// Free function: ReadBack.
#pragma once

#include <windows.h>

#include <string>

// The whole file, or "<missing>" when it cannot be opened.
inline std::string ReadBack(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(ok ? read : 0);
    return bytes;
}
