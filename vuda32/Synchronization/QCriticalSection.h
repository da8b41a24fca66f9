// Mutual exclusion between the threads of one process.
//   QCriticalSection      owns one platform critical section (recursive for its owner)
//   QCriticalSectionLock  enters a QCriticalSection for one scope, leaving it on every path
#pragma once

#include <windows.h>

class QCriticalSection {
public:
    QCriticalSection();
    virtual ~QCriticalSection();
    QCriticalSection(const QCriticalSection&) = delete;
    QCriticalSection& operator=(const QCriticalSection&) = delete;

    void Enter();
    void Leave();

private:
    CRITICAL_SECTION section_;
};

class QCriticalSectionLock {
public:
    explicit QCriticalSectionLock(QCriticalSection& section) : section_(&section) { section_->Enter(); }
    ~QCriticalSectionLock() { section_->Leave(); }
    QCriticalSectionLock(const QCriticalSectionLock&) = delete;
    QCriticalSectionLock& operator=(const QCriticalSectionLock&) = delete;

private:
    QCriticalSection* section_;
};
