#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "tests/support/KVTestEnv.h"
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

TEST(QCriticalSectionTest, LockLeavesWhenAnExceptionPasses) {
    KVTestEnv env;
    QCriticalSection section;
    try {
        QCriticalSectionLock lock(section);
        throw std::runtime_error("failure inside the lock");
    } catch (const std::runtime_error&) {
    }
    QEvent entered;
    entered.Create(true, false);
    std::thread other([&] {
        QCriticalSectionLock lock(section);
        entered.SetEvent();
    });
    // The limit only keeps a broken lock from hanging the run.
    EXPECT_EQ(entered.Wait(10000), static_cast<DWORD>(WAIT_OBJECT_0));
    other.join();
}
