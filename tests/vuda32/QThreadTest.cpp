#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Synchronization/QThread.h"

namespace {

// A thread whose start-up step can be given work (a delay, windows) or made to fail.
class TestThread : public QThread {
public:
    bool failStartup = false;
    std::function<void(TestThread&)> startupWork;
    std::atomic<bool> startupDone{false};
    std::atomic<bool> exited{false};

    bool Quit(WPARAM exitValue) { return ::PostThreadMessageA(GetThreadId(), WM_QUIT, exitValue, 0) != FALSE; }

    // The limit only keeps a thread that never ends from hanging the run.
    DWORD WaitForEnd() {
        if (::WaitForSingleObject(GetThreadHandle(), 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "thread did not end";
            Quit(0);
            ::WaitForSingleObject(GetThreadHandle(), INFINITE);
        }
        DWORD code = 0;
        EXPECT_TRUE(GetExitCode(&code));
        return code;
    }

protected:
    bool InitInstance(QThreadStart* start) override {
        MSG msg;  // gives the thread its queue, so it can be posted to from now on
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        if (startupWork) startupWork(*this);
        startupDone = true;
        return failStartup ? false : QThread::InitInstance(start);
    }
    void ExitInstance() override { exited = true; }
};

// A WM_COMMAND ends the loop with 1000 * tag + command id (tag in the user-data slot).
LRESULT CALLBACK CommandEndsLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return ::DefWindowProcA(window, message, wParam, lParam);
    ::PostQuitMessage(static_cast<int>(::GetWindowLongPtrA(window, GWLP_USERDATA) * 1000 + LOWORD(wParam)));
    return 0;
}

// A system window class will do: the window's procedure is replaced by CommandEndsLoop.
HWND CreateTaggedWindow(LONG_PTR tag) {
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                    nullptr);
    EXPECT_NE(window, nullptr);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, tag);
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandEndsLoop));
    return window;
}

}  // namespace

TEST(QThreadTest, CreatorGoesOnOnlyAfterTheStartupStepWhichMayFailAndLeakNothing) {
    KVTestEnv env;
    {
        TestThread warmUp;  // what the process sets up for its first threads is no leak
        ASSERT_TRUE(warmUp.CreateThread(nullptr));
        warmUp.Quit(0);
        warmUp.WaitForEnd();
    }
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        TestThread thread;
        // The delay makes a creator that does not wait return long before the step is done.
        thread.startupWork = [](TestThread&) { ::Sleep(300); };
        ASSERT_TRUE(thread.CreateThread(nullptr));
        EXPECT_TRUE(thread.startupDone);
        EXPECT_NE(thread.GetThreadId(), 0u);

        EXPECT_TRUE(thread.Quit(42));
        EXPECT_EQ(thread.WaitForEnd(), 42u);
        EXPECT_TRUE(thread.exited);
        EXPECT_EQ(thread.GetThreadId(), 0u);
        EXPECT_NE(thread.GetThreadHandle(), nullptr);
    }

    // A failed start-up step returns false and keeps nothing.
    {
        TestThread thread;
        thread.failStartup = true;
        EXPECT_FALSE(thread.CreateThread(nullptr));
        EXPECT_TRUE(thread.startupDone);
        EXPECT_EQ(thread.GetThreadHandle(), nullptr);
        EXPECT_EQ(thread.GetThreadId(), 0u);
        EXPECT_FALSE(thread.exited);
    }
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);
}

// In the loop, accelerators become commands of the message's window or the accel window: F5
// posted to a window tagged 1 while the accelerator table maps it to command 77.
TEST(QThreadTest, TheLoopTranslatesAcceleratorsForTheMessagesWindowOrTheAccelWindow) {
    KVTestEnv env;
    for (bool toAccelWindow : {false, true}) {
        TestThread thread;
        HWND target = nullptr;
        HACCEL table = nullptr;
        thread.startupWork = [&](TestThread& self) {
            target = CreateTaggedWindow(1);
            HWND other = CreateTaggedWindow(2);
            ACCEL f5 = {FVIRTKEY, VK_F5, 77};
            table = ::CreateAcceleratorTableA(&f5, 1);
            self.SetAccelTable(table);
            if (toAccelWindow) self.SetAccelWindow(other);
        };
        EXPECT_TRUE(thread.CreateThread(nullptr));
        ::PostMessageA(target, WM_KEYDOWN, VK_F5, 0);
        EXPECT_EQ(thread.WaitForEnd(), toAccelWindow ? 2077u : 1077u);
        ::DestroyAcceleratorTable(table);
    }
}
