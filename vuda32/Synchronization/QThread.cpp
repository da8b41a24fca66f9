#include "QThread.h"

#include <process.h>

#include <cstdlib>
#include <new>

#include "QCriticalSection.h"
#include "vuda32/Application/QSwallowedError.h"

namespace {

const char* const kFile = ".\\Synchronization\\QThread.cpp";
const char* const kCreateMethod = "QThread::CreateThread";
const uint32_t kEventsMissing = 7001;
const uint32_t kThreadNotStarted = 7002;
const uint32_t kStartupFailed = 7003;
const char* const kEventsMissingText = "Syncronization events could not be created.";
const char* const kThreadNotStartedText = "Thread creation failed.";
const char* const kStartupFailedText =
    "Thread terminated in startup. This is an client generated termination.";

// Threads may be created from several threads at once, so the one record is locked.
QCriticalSection& LastErrorLock() {
    static QCriticalSection lock;
    return lock;
}

QThreadLastError& LastError() {
    static QThreadLastError record;
    return record;
}

// CreateThread reports by its result and never throws, so a record that cannot be
// written (out of memory) is given up rather than passed on.
void RecordCreateError(uint32_t code, const char* text, uint32_t systemError) {
    try {
        QThreadLastError record{code, text, kCreateMethod, systemError, true};
        QCriticalSectionLock lock(LastErrorLock());
        LastError() = std::move(record);
    } catch (...) {
    }
}

void CloseIfOpen(HANDLE handle) {
    if (handle != nullptr) ::CloseHandle(handle);
}

// The waits below are on handles this file created and still holds, which the system can
// only refuse if memory is already corrupt; there is nothing sensible left to do then.
void WaitUntilSignalled(HANDLE handle) { ::WaitForSingleObject(handle, INFINITE); }

// Ends the thread and gives up its reference to the module in one call of the system, so
// that no instruction of the module runs after the reference has gone.
[[noreturn]] void LeaveThread(HMODULE self, int exitValue) {
    if (self != nullptr) ::FreeLibraryAndExitThread(self, static_cast<DWORD>(exitValue));
    ::_endthreadex(static_cast<unsigned>(exitValue));
}

// The per-thread user slot. A thread_local rather than a TlsAlloc index: it needs no
// process-wide index allocated before the first thread and freed at unload.
thread_local void* t_threadParameter = nullptr;

}  // namespace

QThread::~QThread() { CloseIfOpen(threadHandle_); }

bool QThread::CreateThread(void* parameter) { return CreateThread(nullptr, 0, 0, parameter); }

bool QThread::CreateThread(LPSECURITY_ATTRIBUTES security, unsigned stackSize, uint32_t flags,
                           void* parameter) {
    QThreadStart* start = new (std::nothrow) QThreadStart;
    if (start == nullptr) {
        RecordCreateError(kThreadNotStarted, kThreadNotStartedText, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    start->owner = this;
    start->flags = flags;
    start->parameter = parameter;

    DWORD error = 0;
    start->started = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (start->started == nullptr) error = ::GetLastError();
    start->proceed = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (start->proceed == nullptr) error = ::GetLastError();
    if (start->started == nullptr || start->proceed == nullptr) {
        CloseIfOpen(start->started);
        CloseIfOpen(start->proceed);
        delete start;
        RecordCreateError(kEventsMissing, kEventsMissingText, error);
        return false;
    }

    // Created suspended so that handle and id are stored before the thread can end and
    // clear the id again.
    unsigned id = 0;
    const uintptr_t created = ::_beginthreadex(security, stackSize, &QThread::ThreadFunction, start,
                                               flags | CREATE_SUSPENDED, &id);
    HANDLE thread = reinterpret_cast<HANDLE>(created);
    if (thread == nullptr) {
        error = ::GetLastError();
        ::CloseHandle(start->started);
        ::CloseHandle(start->proceed);
        delete start;
        RecordCreateError(kThreadNotStarted, kThreadNotStartedText, error);
        return false;
    }
    // A handle left from an earlier thread of this object is no longer needed.
    CloseIfOpen(threadHandle_);
    threadHandle_ = thread;
    threadId_ = id;

    if (::ResumeThread(thread) == static_cast<DWORD>(-1)) {
        // The thread has not run a single instruction of ours, so ending it is safe.
        error = ::GetLastError();
        ::TerminateThread(thread, static_cast<DWORD>(-2));
        WaitUntilSignalled(thread);
        ::CloseHandle(thread);
        threadHandle_ = nullptr;
        threadId_ = 0;
        ::CloseHandle(start->started);
        ::CloseHandle(start->proceed);
        delete start;
        RecordCreateError(kThreadNotStarted, kThreadNotStartedText, error);
        return false;
    }
    WaitUntilSignalled(start->started);
    ::CloseHandle(start->started);
    // Tells the thread, should its start-up step fail after the handshake, that nobody
    // waits for started any more (see ThreadFunction).
    start->started = nullptr;

    if (start->failed) {
        ::SetEvent(start->proceed);
        WaitUntilSignalled(thread);
        ::CloseHandle(thread);
        threadHandle_ = nullptr;
        threadId_ = 0;
        ::CloseHandle(start->proceed);
        delete start;
        RecordCreateError(kStartupFailed, kStartupFailedText, 0);
        return false;
    }

    // The thread waits for proceed inside its start-up step: suspended here, it stays
    // before its loop until Resume.
    if (flags & SuspendedFlag) ::SuspendThread(thread);
    // From here on the record belongs to the thread, which may release it at any moment.
    ::SetEvent(start->proceed);
    return true;
}

unsigned __stdcall QThread::ThreadFunction(void* argument) {
    QThreadStart* start = static_cast<QThreadStart*>(argument);
    QThread* owner = start->owner;
    if (t_threadParameter == nullptr) t_threadParameter = start->parameter;
    // The thread keeps the module that holds its code loaded until it has left that code: a
    // host that unloads the library while a window is open must not pull the code out from
    // under the window's thread. The reference goes with the thread's last call.
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCSTR>(&QThread::ThreadFunction), &self);

    // Nothing may unwind out of a thread: an exception counts as a failed step or loop.
    bool initialised = false;
    try {
        initialised = owner->InitInstance(start);
    } catch (...) {
        initialised = false;
        ReportCaughtError(kFile, "InitInstance", __LINE__);
    }

    int exitValue = -2;
    if (!initialised) {
        if (start->started != nullptr) {
            // The creator still waits for started: it sees the mark, cleans up and
            // reports the failed start.
            start->failed = true;
            ::SetEvent(start->started);
            LeaveThread(self, exitValue);
        }
        // The step failed after its handshake: the creator has already gone on, so the
        // thread ends as if its loop had ended.
    } else {
        try {
            exitValue = owner->Run();
        } catch (...) {
            exitValue = -1;
            ReportCaughtError(kFile, "Run", __LINE__);
        }
        try {
            owner->ExitInstance();
        } catch (...) {
            ReportCaughtError(kFile, "ExitInstance", __LINE__);
        }
    }
    std::free(start->parameter);
    t_threadParameter = nullptr;
    owner->threadId_ = 0;
    delete start;
    LeaveThread(self, exitValue);
}

bool QThread::InitInstance(QThreadStart* start) {
    // Our own handles, alive until the creator has seen started and set proceed.
    ::SetEvent(start->started);
    WaitUntilSignalled(start->proceed);
    ::CloseHandle(start->proceed);
    return true;
}

void QThread::ExitInstance() {}

int QThread::Run() {
    for (;;) {
        const BOOL got = ::GetMessageA(&msg_, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return static_cast<int>(msg_.wParam);

        if (accelTable_ != nullptr) {
            HWND target = accelWindow_ != nullptr ? accelWindow_ : msg_.hwnd;
            if (::TranslateAcceleratorA(target, accelTable_, &msg_)) continue;
        }
        HWND active = ::GetActiveWindow();
        if (active != nullptr && ::IsDialogMessageA(active, &msg_)) continue;
        ::TranslateMessage(&msg_);
        ::DispatchMessageA(&msg_);
    }
}

DWORD QThread::Suspend() { return ::SuspendThread(threadHandle_); }

DWORD QThread::Resume() { return ::ResumeThread(threadHandle_); }

bool QThread::GetExitCode(DWORD* exitCode) const {
    return ::GetExitCodeThread(threadHandle_, exitCode) != FALSE;
}

HWND QThread::SetAccelWindow(HWND window) {
    HWND previous = accelWindow_;
    accelWindow_ = window;
    return previous;
}

QThreadLastError QThread::GetLastCreateError() {
    QCriticalSectionLock lock(LastErrorLock());
    return LastError();
}

void QThread::ClearLastCreateError() {
    QCriticalSectionLock lock(LastErrorLock());
    LastError() = QThreadLastError();
}

void* QThread::GetThreadParameter() { return t_threadParameter; }
