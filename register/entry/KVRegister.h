// The registration object: the library's application object.
//   KVRegister   owns log, registry reader, model and window of a run; runs one step per call
//                of the host and records the error key that ends a failed run
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/KVRunContext.h"
#include "include/KVRegisterApi.h"
#include "register/entry/KVWizardWindow.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Synchronization/QCriticalSection.h"

class KVRegisterModel;
class KVRegistry;
class QLog;

class KVRegister : public QDll, public KVRunContext {
public:
    static constexpr uint32_t kCloseTimeoutMs = 10000;

    KVRegister();
    ~KVRegister() override;

    // The application object as a KVRegister; null when there is none.
    static KVRegister* Get();

    int GetApplicationId() override;

    // Keeps the key path; opens the log unless there is one already.
    void Init(const std::string& keyPath);
    // Loads the language files once per process. 0, or 1 when the main file is missing.
    int Initialize();
    // One step of the host: 0 when it ran, 1 when the wizard could not run (KVACTION_ERROR).
    int Register(const KVResultRecord& result, KVActionRecord& action);
    // A step the host made without a result record: KVACTION_ERROR, and the run ends. 1.
    int RefuseStep(KVActionRecord& action);
    // Ends a run: registry reader, window and model go.
    void DestroyWizard();

    // The window's thread records errors too (the country-code service starts there).
    void SetError(const std::string& errorKey) override;
    std::string GetError() const;
    // Created on first request with the stored key path.
    KVRegistry& GetRegistry();
    QLog* GetLog() const override { return log_.get(); }
    KVRegisterModel* GetModel() const { return model_.get(); }
    const std::string& GetKeyPath() const { return keyPath_; }
    void SetWindowFactory(KVWizardWindowFactory factory) { windowFactory_ = std::move(factory); }
    // The host's window that the wizard of the next run is placed over; null for none.
    void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }

private:
    // The window and model of a run whose window thread did not end within the wait: they
    // are in use there until it does.
    struct LeftBehind {
        std::unique_ptr<KVWizardWindow> view;
        std::unique_ptr<KVRegisterModel> model;
    };

    // Builds the run's window; false when it is marked failed.
    bool CreateWindowOfRun();
    void FillError(KVActionRecord& action);
    // Frees the runs left behind once every one of their threads has ended, newest first;
    // called when no window of a current run exists.
    void FreeLeftBehind();

    std::unique_ptr<QLog> log_;
    std::unique_ptr<KVRegisterModel> model_;
    std::unique_ptr<KVWizardWindow> view_;
    std::unique_ptr<KVRegistry> registry_;
    std::string keyPath_;
    mutable QCriticalSection errorLock_;
    std::string errorKey_;
    bool languagesLoaded_ = false;
    KVWizardWindowFactory windowFactory_;
    HWND ownerWindow_ = nullptr;
    std::vector<LeftBehind> leftBehind_;
};

// The exports' bodies, for every entry layer of the library. Nothing leaves them: a failure
// is logged and answered as the host's header promises.
// Keeps the key path and opens the log; always 0.
int KVRegisterStart(const std::string& keyPath) noexcept;
// One step: 0 when it ran, 1 with KVACTION_ERROR, ErrorKey and ErrorText when the wizard
// could not run it (a missing result record included). Without an action record, 1.
int KVRegisterStep(const KVResultRecord* result, KVActionRecord* action) noexcept;
