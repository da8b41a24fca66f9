#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Synchronization/QEvent.h"
#include "vuda32/Synchronization/QThread.h"

namespace {

// Only a safety net for a thread that never ends; a working one ends at once.
const DWORD kEndLimitMs = 10000;

// A thread whose start-up step can be delayed, made to fail or given windows.
class TestThread : public QThread {
public:
    DWORD startupDelayMs = 0;
    bool failStartup = false;
    // Called on the new thread during start-up, e.g. to create windows.
    void (*startupWork)(TestThread*) = nullptr;

    std::atomic<bool> startupDone{false};
    std::atomic<bool> exited{false};
    std::atomic<void*> parameterSeen{nullptr};

    // Ends the loop with a quit message carrying this exit value.
    bool Quit(WPARAM exitValue) { return ::PostThreadMessageA(GetThreadId(), WM_QUIT, exitValue, 0) != FALSE; }

    // Waits for the end and returns the exit code; a thread that does not end within the
    // limit is told to quit (code 0) so that the test reports instead of hanging.
    DWORD WaitForEnd() {
        if (::WaitForSingleObject(GetThreadHandle(), kEndLimitMs) != WAIT_OBJECT_0) {
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
        // Give the thread its message queue, so that it can be posted to from now on.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        parameterSeen = GetThreadParameter();
        if (startupDelayMs != 0) ::Sleep(startupDelayMs);
        if (startupWork != nullptr) startupWork(this);
        startupDone = true;
        if (failStartup) return false;
        return QThread::InitInstance(start);
    }
    void ExitInstance() override { exited = true; }
};

// Test windows tell which of them received a command by ending the loop with
// 1000 * tag + command id, the tag kept in the user-data slot.
LRESULT CALLBACK CommandEndsLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        ::PostQuitMessage(static_cast<int>(::GetWindowLongPtrA(window, GWLP_USERDATA) * 1000 + LOWORD(wParam)));
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

const char* const kWindowClass = "KVTestCommandWindow";

HWND CreateTaggedWindow(LONG_PTR tag, DWORD style, HWND parent, const char* className = kWindowClass) {
    static const ATOM registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CommandEndsLoop;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassA(&windowClass);
    }();
    EXPECT_NE(registered, 0);
    HWND window = ::CreateWindowExA(0, className, "", style, 0, 0, 200, 100, parent,
                                    parent ? reinterpret_cast<HMENU>(tag) : nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, tag);
    return window;
}

// Two hidden windows, an accelerator table turning F5 into command 77, and the window that
// key messages are posted to.
class AcceleratorThread : public TestThread {
public:
    explicit AcceleratorThread(bool toSecondWindow) : toSecondWindow_(toSecondWindow) {
        startupWork = [](TestThread* self) { static_cast<AcceleratorThread*>(self)->Build(); };
    }
    ~AcceleratorThread() override {
        if (table_ != nullptr) ::DestroyAcceleratorTable(table_);
    }
    HWND first = nullptr;

private:
    void Build() {
        first = CreateTaggedWindow(1, WS_OVERLAPPED, nullptr);
        HWND second = CreateTaggedWindow(2, WS_OVERLAPPED, nullptr);
        ACCEL f5 = {FVIRTKEY, VK_F5, 77};
        table_ = ::CreateAcceleratorTableA(&f5, 1);
        EXPECT_NE(table_, nullptr);
        SetAccelTable(table_);
        if (toSecondWindow_) {
            EXPECT_EQ(SetAccelWindow(second), nullptr);
        }
    }
    bool toSecondWindow_;
    HACCEL table_ = nullptr;
};

// Starts and ends one thread, so that whatever the process sets up on its first thread
// is not mistaken for a leak later.
void WarmUp() {
    TestThread thread;
    ASSERT_TRUE(thread.CreateThread(nullptr));
    thread.Quit(0);
    thread.WaitForEnd();
}

}  // namespace

TEST(QThreadTest, CreatorReturnsOnlyAfterTheStartupStep) {
    KVTestEnv env;
    TestThread thread;
    // The delay makes a creator that does not wait return long before the step is done.
    thread.startupDelayMs = 300;
    void* parameter = std::malloc(16);
    ASSERT_TRUE(thread.CreateThread(parameter));
    EXPECT_TRUE(thread.startupDone);
    EXPECT_EQ(thread.parameterSeen, parameter);
    EXPECT_NE(thread.GetThreadHandle(), nullptr);
    EXPECT_NE(thread.GetThreadId(), 0u);
    EXPECT_TRUE(thread.Quit(0));
    thread.WaitForEnd();
}

TEST(QThreadTest, LoopReturnsTheQuitMessagesWParam) {
    KVTestEnv env;
    TestThread thread;
    ASSERT_TRUE(thread.CreateThread(nullptr));
    DWORD code = 0;
    EXPECT_TRUE(thread.GetExitCode(&code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));

    EXPECT_TRUE(thread.Quit(42));
    EXPECT_EQ(thread.WaitForEnd(), 42u);
    EXPECT_TRUE(thread.exited);
    // The thread is gone but the object keeps its handle for the exit code.
    EXPECT_EQ(thread.GetThreadId(), 0u);
    EXPECT_NE(thread.GetThreadHandle(), nullptr);
}

TEST(QThreadTest, SuspendedFlagHoldsTheThreadBeforeItsLoop) {
    KVTestEnv env;
    TestThread thread;
    ASSERT_TRUE(thread.CreateThread(nullptr, 0, QThread::SuspendedFlag, nullptr));
    EXPECT_TRUE(thread.startupDone);
    // The quit message waits in the queue: a suspended thread cannot reach its loop.
    EXPECT_TRUE(thread.Quit(7));
    EXPECT_EQ(::WaitForSingleObject(thread.GetThreadHandle(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(thread.Resume(), 1u);
    EXPECT_EQ(thread.WaitForEnd(), 7u);
}

TEST(QThreadTest, FailedStartupReturnsFalseWithTheRecordAndKeepsNothing) {
    KVTestEnv env;
    WarmUp();
    QThread::ClearLastCreateError();
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        TestThread thread;
        thread.failStartup = true;
        void* parameter = std::malloc(16);
        EXPECT_FALSE(thread.CreateThread(parameter));
        EXPECT_TRUE(thread.startupDone);
        EXPECT_EQ(thread.GetThreadHandle(), nullptr);
        EXPECT_EQ(thread.GetThreadId(), 0u);
        EXPECT_FALSE(thread.exited);
        // A thread that never started does not take the parameter.
        std::free(parameter);
    }
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);

    const QThreadLastError error = QThread::GetLastCreateError();
    EXPECT_TRUE(error.valid);
    EXPECT_EQ(error.code, 7003u);
    EXPECT_EQ(error.text, "Thread terminated in startup. This is an client generated termination.");
    EXPECT_EQ(error.method, "QThread::CreateThread");
    EXPECT_EQ(error.systemError, 0u);
}

TEST(QThreadTest, StartedThreadLeavesNoHandleBehindItsObject) {
    KVTestEnv env;
    WarmUp();
    QThread::ClearLastCreateError();
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        TestThread thread;
        ASSERT_TRUE(thread.CreateThread(nullptr));
        thread.Quit(0);
        thread.WaitForEnd();
    }
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);
    EXPECT_FALSE(QThread::GetLastCreateError().valid);
}

TEST(QThreadTest, AcceleratorsBecomeCommandsOfTheMessagesWindow) {
    KVTestEnv env;
    AcceleratorThread thread(false);
    ASSERT_TRUE(thread.CreateThread(nullptr));
    ::PostMessageA(thread.first, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(thread.WaitForEnd(), 1077u);
}

TEST(QThreadTest, AcceleratorsGoToTheAccelWindowWhenOneIsSet) {
    KVTestEnv env;
    AcceleratorThread thread(true);
    ASSERT_TRUE(thread.CreateThread(nullptr));
    ::PostMessageA(thread.first, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(thread.WaitForEnd(), 2077u);
}

TEST(QThreadTest, EscapeCancelsTheActiveWindowAsInADialog) {
    KVTestEnv env;
    static HWND button = nullptr;
    TestThread thread;
    thread.startupWork = [](TestThread*) {
        HWND frame = CreateTaggedWindow(3, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
        button = CreateTaggedWindow(5, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, frame, "BUTTON");
        ::SetActiveWindow(frame);
        ::SetFocus(button);
        EXPECT_EQ(::GetActiveWindow(), frame);
    };
    ASSERT_TRUE(thread.CreateThread(nullptr));
    // Escape typed on the button becomes IDCANCEL for the frame; a loop without dialog-key
    // handling would hand the key to the button, which ignores it.
    ::PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(thread.WaitForEnd(), 3000u + IDCANCEL);
}
