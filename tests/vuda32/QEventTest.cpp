#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Synchronization/QEvent.h"
#include "vuda32/Synchronization/QSynchronization.h"

namespace {

const DWORD kSignalled = WAIT_OBJECT_0;
const DWORD kTimedOut = WAIT_TIMEOUT;

struct Raised {
    std::string file;
    std::string method;
    int line;
    uint32_t code;
    uint32_t systemError;
};

// Runs the call, expects it to raise a QGenException and checks the place it names.
void ExpectRaises(const std::function<void()>& call, const Raised& expected) {
    try {
        call();
        ADD_FAILURE() << expected.method << " did not raise";
    } catch (const QGenException& e) {
        ASSERT_EQ(e.GetTrace().size(), 1u);
        const ErrExcepInfo& info = e.GetFirstInfo();
        EXPECT_EQ(info.typeName, "QGenException");
        EXPECT_EQ(info.sourceFile, expected.file);
        EXPECT_EQ(info.method, expected.method);
        EXPECT_EQ(info.line, expected.line);
        EXPECT_EQ(info.errorCode, expected.code);
        EXPECT_EQ(info.description, QGenException::ErrorText(expected.code));
        EXPECT_EQ(info.systemError, expected.systemError);
    }
}

const char* const kEventFile = ".\\Synchronization\\QEvent.cpp";
const char* const kWaitFile = ".\\Synchronization\\QSynchronization.cpp";

std::string UniqueName(const char* what) {
    return std::string("KVTest-") + what + "-" + std::to_string(::GetCurrentProcessId());
}

}  // namespace

TEST(QEventTest, ResetKindAndInitialStateAreThoseAskedFor) {
    KVTestEnv env;
    QEvent automatic;
    automatic.Create(false, false);
    EXPECT_EQ(automatic.Wait(0), kTimedOut);
    automatic.SetEvent();
    EXPECT_EQ(automatic.Wait(0), kSignalled);
    EXPECT_EQ(automatic.Wait(0), kTimedOut);

    QEvent manual;
    manual.Create(true, true);
    EXPECT_EQ(manual.Wait(0), kSignalled);
    EXPECT_EQ(manual.Wait(0), kSignalled);
    manual.ResetEvent();
    EXPECT_EQ(manual.Wait(0), kTimedOut);
}

TEST(QEventTest, EventsOfTheSameNameShareOneSignal) {
    KVTestEnv env;
    const std::string name = UniqueName("shared");
    QEvent first;
    QEvent second;
    first.Create(true, false, name);
    second.Create(true, false, name);
    first.SetEvent();
    EXPECT_EQ(second.Wait(0), kSignalled);
}

TEST(QEventTest, CloseReleasesTheHandleAndMayBeRepeated) {
    KVTestEnv env;
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        QEvent event;
        event.Create(false, false);
        // A second Create replaces the first event instead of leaking it.
        event.Create(true, false);
        EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel + 1);
        event.Close();
        EXPECT_EQ(event.GetHandle(), nullptr);
        event.Close();
        event.Create(false, false);
    }
    // The destructor closed the last one.
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);
}

TEST(QEventTest, OperationsOnAClosedEventRaiseWithTheirOwnPlace) {
    KVTestEnv env;
    QEvent event;
    event.Create(false, false);
    event.Close();
    ExpectRaises([&] { event.SetEvent(); }, {kEventFile, "SetEvent", 122, 19004, ERROR_INVALID_HANDLE});
    ExpectRaises([&] { event.ResetEvent(); }, {kEventFile, "ResetEvent", 113, 19005, ERROR_INVALID_HANDLE});
    ExpectRaises([&] { event.PulseEvent(); }, {kEventFile, "PulseEvent", 104, 19006, ERROR_INVALID_HANDLE});
    ExpectRaises([&] { event.Wait(0); }, {kEventFile, "Wait", 135, 19003, ERROR_INVALID_HANDLE});
}

TEST(QEventTest, NameTakenByAnotherKindOfObjectRaisesAndLeaksNothing) {
    KVTestEnv env;
    const std::string name = UniqueName("mutex");
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        QEvent event;
        ExpectRaises([&] { event.Create(false, false, name); },
                     {kEventFile, "Create", 85, 19001, ERROR_INVALID_HANDLE});
        EXPECT_EQ(event.GetHandle(), nullptr);
    }
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);
    ::CloseHandle(mutex);
}

TEST(QSynchronizationTest, WaitForAnyNamesAndConsumesTheSignalledEvent) {
    KVTestEnv env;
    QEvent result;
    QEvent cancel;
    result.Create(false, false);
    cancel.Create(false, false);
    const HANDLE both[] = {result.GetHandle(), cancel.GetHandle()};

    EXPECT_EQ(QSynchronization::WaitForMultipleObjects(2, both, false, 0), kTimedOut);
    cancel.SetEvent();
    EXPECT_EQ(QSynchronization::WaitForMultipleObjects(2, both, false, INFINITE), kSignalled + 1);
    EXPECT_EQ(cancel.Wait(0), kTimedOut);

    // Waiting for all needs both; a partial signal is left alone.
    result.SetEvent();
    EXPECT_EQ(QSynchronization::WaitForMultipleObjects(2, both, true, 0), kTimedOut);
    EXPECT_EQ(QSynchronization::WaitForSingleObject(result.GetHandle(), 0), kSignalled);
    EXPECT_EQ(QSynchronization::WaitForSingleObject(result.GetHandle(), 0), kTimedOut);
}

TEST(QSynchronizationTest, FailedWaitsRaiseWithTheirOwnPlace) {
    KVTestEnv env;
    QEvent event;
    event.Create(false, false);
    HANDLE stale = event.GetHandle();
    event.Close();
    ExpectRaises([&] { QSynchronization::WaitForSingleObject(stale, 0); },
                 {kWaitFile, "WaitForSingleObject", 44, 19501, ERROR_INVALID_HANDLE});
    const HANDLE some[] = {nullptr};
    ExpectRaises([&] { QSynchronization::WaitForMultipleObjects(1, some, false, 0); },
                 {kWaitFile, "WaitForMultipleObjects", 31, 19501, ERROR_INVALID_HANDLE});
}
