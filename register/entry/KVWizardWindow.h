// Where the wizard window plugs into a step of the registration object.
//   KVWizardWindow          what a step needs of the window of a run
//   KVWizardWindowFactory   makes that window for the run's model and key path
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class KVRegisterModel;

class KVWizardWindow {
public:
    virtual ~KVWizardWindow() = default;
    // Marked when the window could not be built (a file it needs is missing or malformed)
    // or its thread could not start.
    virtual bool IsFailed() const = 0;
    // Before the thread starts: the host's window to centre on, or null.
    virtual void SetOwnerWindow(HWND) {}
    // Starts the window's own thread, which creates the window; returns once it has started.
    virtual void StartThread() = 0;
    virtual void Show() = 0;
    // Asks the window to close and waits for its thread, at most `timeoutMs`. True when the
    // thread has ended: only then may the window object go.
    virtual bool Close(uint32_t timeoutMs) = 0;
    // True when the window's thread has ended or never ran, or is the calling thread on its
    // way out (it lets go of the library last): the window object may go.
    virtual bool HasEnded() const = 0;
};

using KVWizardWindowFactory =
    std::function<std::unique_ptr<KVWizardWindow>(KVRegisterModel& model, const std::string& keyPath)>;
