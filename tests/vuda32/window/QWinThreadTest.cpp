#include <gtest/gtest.h>

#include "tests/support/KVTestEnv.h"
#include "tests/vuda32/window/QWindowTestSupport.h"
#include "vuda32/Application/QWinThread.h"

namespace {

const UINT kDestroyYourself = WM_USER + 40;

// Ends its loop when destroyed, as the wizard window does, but ignores closing.
class LoopWindow : public QWinThread {
public:
    bool WindowProc(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result, bool) override {
        switch (message) {
        case WM_CLOSE:
            result = 0;
            return true;
        case kDestroyYourself:
            DestroyWindow(hwnd);
            return true;
        case WM_DESTROY:
            PostQuitMessage(5);
            return true;
        default:
            return false;
        }
    }
    bool PreCreate(CREATESTRUCTA&) override { return !refuse; }
    void OnCreate() override { createdOn = GetCurrentThreadId(); }

    bool refuse = false;
    DWORD createdOn = 0;
};

}  // namespace

class QWinThreadTest : public ::testing::Test {
protected:
    KVTestEnv env;
    QTestApp testApp;
};

TEST_F(QWinThreadTest, CreatesItsWindowOnItsOwnThreadAndCloseWaitsOnlyUntilItsTimeLimit) {
    LoopWindow window;
    ASSERT_TRUE(window.CreateThread(nullptr));
    HWND hwnd = window.GetHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_NE(window.createdOn, GetCurrentThreadId());
    EXPECT_EQ(GetWindowThreadProcessId(hwnd, nullptr), window.createdOn);
    EXPECT_NE(window.GetBrush(), nullptr);

    window.Close(50);
    EXPECT_NE(window.GetHwnd(), nullptr);
    DWORD exitCode = 0;
    ASSERT_TRUE(window.GetExitCode(&exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));

    window.SendMessage(kDestroyYourself, 0, 0);
    WaitForSingleObject(window.GetThreadHandle(), 10000);
    EXPECT_EQ(window.GetHwnd(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_TRUE(window.GetExitCode(&exitCode));
    EXPECT_EQ(exitCode, 5u);  // the quit message's value

    // A refused window fails the thread's start.
    LoopWindow refused;
    refused.refuse = true;
    EXPECT_FALSE(refused.CreateThread(nullptr));
    EXPECT_EQ(refused.GetHwnd(), nullptr);
}
