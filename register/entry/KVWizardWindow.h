// Where the wizard window plugs into a step of the registration object.
//   KVWizardWindow          what a step needs of the window of a run
//   KVWizardWindowFactory   makes that window for the run's model
// Without a factory a run has no window: the model and its observers work alone (tests, and
// hosts that only drive the model).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class KVRegisterModel;

class KVWizardWindow {
public:
    virtual ~KVWizardWindow() = default;
    // Marked when the window could not be built (a file it needs is missing or malformed).
    virtual bool IsFailed() const = 0;
    // Starts the window's own thread, which creates the window; returns once it has started.
    virtual void StartThread() = 0;
    virtual void Show() = 0;
    virtual bool HasWindow() const = 0;
    // Asks the window to close and waits for its thread, at most `timeoutMs`; a wait that
    // times out is not an error.
    virtual void Close(uint32_t timeoutMs) = 0;
};

using KVWizardWindowFactory = std::function<std::unique_ptr<KVWizardWindow>(KVRegisterModel&)>;
