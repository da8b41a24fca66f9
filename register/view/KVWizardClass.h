// The window class of the wizard windows.
//   KVWizardClass   one use of the class "KV Registration" by a wizard window object: the first
//                   use registers it with the installation's icons, the last one unregisters
//                   it, so that a window of an earlier run whose thread outlived that run keeps
//                   its class while later runs share it
#pragma once

#include <string>

class KVWizardClass {
public:
    // Registers the class unless another wizard window object holds it already; its icons
    // come from installRoot's "Icons" folder. Raises QWinException 1003 when it cannot.
    explicit KVWizardClass(const std::string& installRoot);
    ~KVWizardClass();
    KVWizardClass(const KVWizardClass&) = delete;
    KVWizardClass& operator=(const KVWizardClass&) = delete;
};
