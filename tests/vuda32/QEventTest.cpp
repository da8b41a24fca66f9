#include <gtest/gtest.h>

#include <string>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Synchronization/QEvent.h"
#include "vuda32/Synchronization/QSynchronization.h"

namespace {

const DWORD kSignalled = WAIT_OBJECT_0;
const DWORD kTimedOut = WAIT_TIMEOUT;

template <typename Call>
std::string RaisedAt(Call&& call) {
    return Where(RaisedBy<QGenException>(call));
}

}  // namespace

TEST(QEventTest, AnAutomaticEventWakesOneWaitAndResetClearsIt) {
    KVTestEnv env;
    QEvent automatic;
    automatic.Create(false, false);
    EXPECT_EQ(automatic.Wait(0), kTimedOut);
    automatic.SetEvent();
    EXPECT_EQ(automatic.Wait(0), kSignalled);
    EXPECT_EQ(automatic.Wait(0), kTimedOut);
    automatic.SetEvent();
    automatic.ResetEvent();
    EXPECT_EQ(automatic.Wait(0), kTimedOut);
}

TEST(QEventTest, CloseReleasesTheHandleMayBeRepeatedAndOperationsAfterItRaise) {
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

    // Operations on a closed event raise with their own place.
    QEvent event;
    event.Create(false, false);
    ::CloseHandle(event.GetHandle());  // behind the wrapper's back
    EXPECT_EQ(RaisedAt([&] { event.Close(); }),
              "QGenException 19002 Close:63 error 6 in .\\Synchronization\\QEvent.cpp");
    // The dead handle is forgotten: the destructor does not try it again.
    EXPECT_EQ(event.GetHandle(), nullptr);
    EXPECT_EQ(RaisedAt([&] { event.SetEvent(); }),
              "QGenException 19004 SetEvent:122 error 6 in .\\Synchronization\\QEvent.cpp");
    EXPECT_EQ(RaisedAt([&] { event.ResetEvent(); }),
              "QGenException 19005 ResetEvent:113 error 6 in .\\Synchronization\\QEvent.cpp");
    EXPECT_EQ(RaisedAt([&] { event.Wait(0); }),
              "QGenException 19003 Wait:135 error 6 in .\\Synchronization\\QEvent.cpp");
}

TEST(QSynchronizationTest, WaitConsumesTheSignalAndAFailedWaitRaises) {
    KVTestEnv env;
    QEvent result;
    result.Create(false, false);
    result.SetEvent();
    EXPECT_EQ(QSynchronization::WaitForSingleObject(result.GetHandle(), 0), kSignalled);
    EXPECT_EQ(QSynchronization::WaitForSingleObject(result.GetHandle(), 0), kTimedOut);
    // No handle at all rather than a closed one, whose value another thread may reuse.
    EXPECT_EQ(RaisedAt([] { QSynchronization::WaitForSingleObject(nullptr, 0); }),
              "QGenException 19501 WaitForSingleObject:44 error 6 in "
              ".\\Synchronization\\QSynchronization.cpp");
}
