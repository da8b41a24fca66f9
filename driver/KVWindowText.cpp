#include "driver/KVWindowText.h"

std::string KVWindowClass(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string KVWindowText(HWND window) {
    // Reading a text asks the control's thread, which may be busy or hung.
    const UINT kAnswerMs = 5000;
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerMs, &length) || length == 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                             kAnswerMs, &got))
        got = 0;
    text.resize(got < text.size() ? static_cast<size_t>(got) : 0);
    return text;
}
