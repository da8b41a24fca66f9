#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "vuda32/Exception/QErrorReport.h"
#include "vuda32/Exception/QException.h"

namespace {

// What the report box showed, read on its own thread when it is activated; the hook then
// presses OK so that ShowReport returns.
struct SeenBox {
    std::string caption;
    std::string text;
    HICON icon = nullptr;
    bool seen = false;
};
SeenBox g_seen;
HHOOK g_hook = nullptr;

BOOL CALLBACK FindIcon(HWND child, LPARAM) {
    if (HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0))) {
        g_seen.icon = icon;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK ReadAndCloseBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !g_seen.seen) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char buffer[4096];
        GetWindowTextA(box, buffer, sizeof buffer);
        g_seen.caption = buffer;
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        g_seen.text = buffer;
        // The icon sits in one of the box's statics; its id differs between systems.
        EnumChildWindows(box, FindIcon, 0);
        g_seen.seen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

TEST(QExceptionReportWinTest, SystemTextComesFromTheSystemTableAndTheReportBoxShowsTheSite) {
    const std::string text = SystemErrorText(ERROR_CANNOT_FIND_WND_CLASS);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // An error number the system does not know has no text; what the report then says is
    // checked with the platform-free report.
    EXPECT_TRUE(SystemErrorText(0x2FFFFFFF).empty());

    // ShowReport shows the raising site in an error box.
    QWinException e(".\\Window\\QWinBase.cpp", "InternalCreate", 1134, 3502, 1407);
    e.AddInfo(".\\KVRegister.cpp", "Register", 77, "", 0, 0);

    g_seen = SeenBox();
    g_hook = SetWindowsHookExA(WH_CBT, ReadAndCloseBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    e.ShowReport();
    UnhookWindowsHookEx(g_hook);

    ASSERT_TRUE(g_seen.seen);
    EXPECT_EQ(g_seen.caption, "TEST APP - Error !");
    EXPECT_NE(g_seen.text.find("Error Code: 0xdae\n"), std::string::npos);
    EXPECT_NE(g_seen.text.find("Win32 Error Code: 0x0000057f\n"), std::string::npos);
    EXPECT_NE(g_seen.text.find("Method: InternalCreate\n"), std::string::npos);
    EXPECT_EQ(g_seen.text.substr(g_seen.text.size() - 10), "Line: 1134");
    EXPECT_EQ(g_seen.icon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_ERROR)));
}
