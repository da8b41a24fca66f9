#include <gtest/gtest.h>

#include <thread>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Synchronization/QCriticalSection.h"

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
