#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/Synchronization/QEvent.h"

TEST(QCriticalSectionTest, KeepsTwoThreadsApart) {
    KVTestEnv env;
    QCriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 100000; ++i) {
            QCriticalSectionLock lock(section);
            // A read, a yield point and a write: without the lock updates get lost.
            const long seen = counter;
            if (i % 1000 == 0) ::SwitchToThread();
            counter = seen + 1;
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 200000);
}

// An automatic event wakes one wait and reset clears it; a second Create replaces the event,
// the destructor closes the last, and operations on a handle closed behind its back raise.
TEST(QEventTest, AnAutomaticEventWakesOneWaitAndItsHandleIsNeverLeakedNorReused) {
    KVTestEnv env;
    const KVHandleCounts before = KVHandleCounts::Now();
    {
        QEvent event;
        event.Create(true, false);
        event.Create(false, false);
        EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel + 1);
        EXPECT_EQ(event.Wait(0), static_cast<DWORD>(WAIT_TIMEOUT));
        event.SetEvent();
        EXPECT_EQ(event.Wait(0), static_cast<DWORD>(WAIT_OBJECT_0));
        EXPECT_EQ(event.Wait(0), static_cast<DWORD>(WAIT_TIMEOUT));
        event.SetEvent();
        event.ResetEvent();
        EXPECT_EQ(event.Wait(0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    // The destructor closed the last one.
    EXPECT_EQ(KVHandleCounts::Now().kernel, before.kernel);

    QEvent event;
    event.Create(false, false);
    ::CloseHandle(event.GetHandle());  // behind the wrapper's back
    auto raisedAt = [](auto call) { return Where(RaisedBy<QGenException>(call)); };
    EXPECT_EQ(raisedAt([&] { event.Close(); }),
              "QGenException 19002 Close:63 error 6 in .\\Synchronization\\QEvent.cpp");
    // The dead handle is forgotten: the destructor does not try it again.
    EXPECT_EQ(event.GetHandle(), nullptr);
    EXPECT_EQ(raisedAt([&] { event.SetEvent(); }),
              "QGenException 19004 SetEvent:122 error 6 in .\\Synchronization\\QEvent.cpp");
    EXPECT_EQ(raisedAt([&] { event.ResetEvent(); }),
              "QGenException 19005 ResetEvent:113 error 6 in .\\Synchronization\\QEvent.cpp");
    EXPECT_EQ(raisedAt([&] { event.Wait(0); }),
              "QGenException 19003 Wait:135 error 6 in .\\Synchronization\\QEvent.cpp");
}
