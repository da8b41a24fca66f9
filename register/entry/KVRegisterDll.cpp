// The library's module: its one application object, its module entry and its two exports.
#include <windows.h>

#include <string>

#include "register/entry/KVRegister.h"
#include "include/KVRegisterApi.h"
#include "vuda32/Application/QDll.h"

namespace {

// The application object, built while the module initialises and destroyed at its unload.
KVRegister g_register;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return QDllMain(instance, reason, reserved);
}

// Always 0: a log that cannot be opened only means nothing is logged.
extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInit(const std::string& keyPath) {
    return KVRegisterStart(keyPath);
}

extern "C" __declspec(dllexport) int KVREGISTER_CALL KVRegisterInternal(const KVResultRecord* result,
                                                                         KVActionRecord* action) {
    return KVRegisterStep(result, action);
}
