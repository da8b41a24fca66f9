// The wizard window as a step of the registration object sees it.
//   KVRegisterViewWindow   owns one KVRegisterView and answers for it at the window seam
//   KVMakeRegisterView     the factory the library installs
#pragma once

#include <memory>
#include <string>

#include "register/entry/KVWizardWindow.h"

class KVRegisterView;

class KVRegisterViewWindow : public KVWizardWindow {
public:
    KVRegisterViewWindow(KVRegisterModel& model, const std::string& keyPath);
    ~KVRegisterViewWindow() override;

    bool IsFailed() const override;
    void SetOwnerWindow(HWND owner) override;
    void StartThread() override;
    void Show() override;
    bool Close(uint32_t timeoutMs) override;
    bool HasEnded() const override;

private:
    std::unique_ptr<KVRegisterView> view_;
    bool startFailed_ = false;
};

std::unique_ptr<KVWizardWindow> KVMakeRegisterView(KVRegisterModel& model, const std::string& keyPath);
