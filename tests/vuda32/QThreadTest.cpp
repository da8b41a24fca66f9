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
