// What the model and the window need of the run they belong to, without knowing who runs it.
//   KVRunContext   the run's log and the place where the error key that ends a run is
//                  recorded; the registration object is the one of the process
#pragma once

#include <string>

class QLog;

class KVRunContext {
public:
    // The process's context, or null when nothing runs the wizard (a tool or a test that
    // uses the model or the window on their own): then nothing is logged or recorded.
    static KVRunContext* Current();

    // The log, or null when there is none.
    virtual QLog* GetLog() const = 0;
    virtual void SetError(const std::string& errorKey) = 0;

protected:
    // The newest context is the current one, until it goes.
    KVRunContext();
    virtual ~KVRunContext();
    KVRunContext(const KVRunContext&) = delete;
    KVRunContext& operator=(const KVRunContext&) = delete;
};
