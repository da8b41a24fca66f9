// The platform half of the error report: system message texts and the modal box.
#include <windows.h>

#include "QErrorReport.h"

std::string SystemErrorText(uint32_t systemError) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, systemError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result;
    if (length != 0 && text != nullptr) result.assign(text, length);
    if (text != nullptr) LocalFree(text);
    return result;
}

void ShowErrorBox(const std::string& caption, const std::string& body) {
    MessageBoxA(nullptr, body.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}
