// The two exports of KVRegister.dll, with the records of the standard string type.
#include <windows.h>

#include <string>

#include "include/KVRegisterApi.h"
#include "register/entry/KVRegister.h"

// Always 0: a log that cannot be opened only means nothing is logged.
extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInit(const std::string& keyPath) {
    try {
        if (KVRegister* app = KVRegister::Get()) app->Init(keyPath);
    } catch (...) {
    }
    return 0;
}

extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInternal(const KVResultRecord* result,
                                                                         KVActionRecord* action) {
    if (!action) return 1;
    try {
        KVRegister* app = KVRegister::Get();
        if (!app || !result) {
            action->Action = KVACTION_ERROR;
            return 1;
        }
        return app->Register(*result, *action);
    } catch (...) {
        action->Action = KVACTION_ERROR;
        return 1;
    }
}
