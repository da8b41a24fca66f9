// The two exports of KVRegister.dll, with the records of the standard string type.
#include <windows.h>

#include <string>

#include "include/KVRegisterApi.h"
#include "register/entry/KVRegister.h"

// Always 0: a log that cannot be opened only means nothing is logged.
extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInit(const std::string& keyPath) {
    return KVRegisterStart(keyPath);
}

extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInternal(const KVResultRecord* result,
                                                                         KVActionRecord* action) {
    return KVRegisterStep(result, action);
}
