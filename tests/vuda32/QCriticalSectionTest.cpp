#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/Synchronization/QEvent.h"

namespace {

// Another thread that enters the section as soon as it can and says so. The limits given
// to EnteredWithin are a safety net for a broken lock; a working one answers at once.
class Contender {
public:
    explicit Contender(QCriticalSection& section) {
        entered_.Create(true, false);
        thread_ = std::thread([this, &section] {
            section.Enter();
            entered_.SetEvent();
            section.Leave();
        });
    }
    ~Contender() { thread_.join(); }

    bool EnteredWithin(DWORD timeoutMs) { return entered_.Wait(timeoutMs) == WAIT_OBJECT_0; }

private:
    QEvent entered_;
    std::thread thread_;
};

}  // namespace

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

TEST(QCriticalSectionTest, OwnerMayEnterAgainAndMustLeaveAsOften) {
    KVTestEnv env;
    QCriticalSection section;
    section.Enter();
    section.Enter();
    section.Leave();
    // Still held once: another thread must not get in yet.
    Contender other(section);
    EXPECT_FALSE(other.EnteredWithin(200));
    section.Leave();
    EXPECT_TRUE(other.EnteredWithin(10000));
}

TEST(QCriticalSectionTest, LockLeavesWhenAnExceptionPasses) {
    KVTestEnv env;
    QCriticalSection section;
    try {
        QCriticalSectionLock lock(section);
        throw std::runtime_error("failure inside the lock");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(Contender(section).EnteredWithin(10000));
}
