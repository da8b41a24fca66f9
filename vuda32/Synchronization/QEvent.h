// Events.
//   QEvent  owns one event handle (auto- or manual-reset, optionally named)
#pragma once

#include <windows.h>

#include <string>

class QEvent {
public:
    QEvent() = default;
    virtual ~QEvent();
    QEvent(const QEvent&) = delete;
    QEvent& operator=(const QEvent&) = delete;

    // An event that is already open is closed first, so a second Create never leaks.
    void Create(bool manualReset, bool initialState);
    // Opens the existing event of that name, if there is one, instead of making a new one.
    void Create(bool manualReset, bool initialState, const std::string& name);
    // Does nothing when already closed.
    void Close();

    void SetEvent();
    void ResetEvent();
    void PulseEvent();
    // WAIT_OBJECT_0 or WAIT_TIMEOUT.
    DWORD Wait(DWORD timeoutMs);

    HANDLE GetHandle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};
