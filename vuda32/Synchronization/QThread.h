// A thread that runs a message loop, created with a start-up handshake.
//   QThreadStart      what creator and new thread share for one creation
//   QThreadLastError  the last creation that failed, process-wide
//   QThread           starts the thread, holds its handle, runs its message loop
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

class QThread;

// Allocated by CreateThread, released by the new thread when it ends normally.
struct QThreadStart {
    QThread* owner = nullptr;
    uint32_t flags = 0;
    // Manual-reset; set by the new thread when its start-up step is done. The creator
    // closes it and clears this field before it sets proceed.
    HANDLE started = nullptr;
    // Manual-reset; set by the creator to let the new thread go on into its loop.
    HANDLE proceed = nullptr;
    bool failed = false;
    // From malloc; freed by the new thread after its loop.
    void* parameter = nullptr;
};

struct QThreadLastError {
    uint32_t code = 0;
    std::string text;
    std::string method;
    uint32_t systemError = 0;
    bool valid = false;
};

class QThread {
public:
    // Creation flag that leaves the new thread suspended before its loop.
    static const uint32_t SuspendedFlag = CREATE_SUSPENDED;

    QThread() = default;
    // Closes the thread handle; does not stop or wait for the thread, which must not
    // outlive this object.
    virtual ~QThread();
    QThread(const QThread&) = delete;
    QThread& operator=(const QThread&) = delete;

    // Returns once the new thread has passed its start-up step (InitInstance); false, with
    // the reason in GetLastCreateError(), when it could not start. On success the thread
    // owns the parameter (malloc'd or null) and frees it after its loop; on failure it
    // stays the caller's.
    bool CreateThread(LPSECURITY_ATTRIBUTES security, unsigned stackSize, uint32_t flags,
                      void* parameter);
    bool CreateThread(void* parameter);

    // The platform's previous suspend count, or (DWORD)-1 on failure.
    DWORD Suspend();
    DWORD Resume();
    // False when the platform cannot tell; STILL_ACTIVE while the thread runs.
    bool GetExitCode(DWORD* exitCode) const;

    HANDLE GetThreadHandle() const { return threadHandle_; }
    // 0 before the thread starts and after its thread function has ended.
    uint32_t GetThreadId() const { return threadId_; }

    HACCEL GetAccelTable() const { return accelTable_; }
    void SetAccelTable(HACCEL table) { accelTable_ = table; }
    // Accelerators go to this window instead of the message's own (null: the message's).
    HWND SetAccelWindow(HWND window);

    // Nothing in the wizard reads these two back: they are static getters so that a test or a
    // debugging session can see why a creation failed, or what a thread was given, without
    // reaching into this file.
    // The last failed creation in this process (valid is false when there was none).
    static QThreadLastError GetLastCreateError();
    static void ClearLastCreateError();
    // The parameter of the QThread running the calling thread (null on other threads).
    static void* GetThreadParameter();

protected:
    // The message loop; returns the quit message's wParam, or -1 when message retrieval fails.
    virtual int Run();
    // The start-up step, on the new thread. The default signals started, waits for
    // proceed and closes it. An override does its own start-up work first and either
    // returns false without calling this one (the creation fails) or returns what this
    // one returns.
    virtual bool InitInstance(QThreadStart* start);
    // After the loop, on the new thread.
    virtual void ExitInstance();

    MSG msg_ = {};
    HACCEL accelTable_ = nullptr;
    std::atomic<uint32_t> threadId_{0};
    HANDLE threadHandle_ = nullptr;
    HWND accelWindow_ = nullptr;

private:
    static unsigned __stdcall ThreadFunction(void* argument);
};
