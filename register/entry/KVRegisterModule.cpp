// The module of either DLL: its one application object and the module entry that feeds it.
// KVRegister.dll and KVRegisterC.dll each link this beside their own exports.
#include <windows.h>

#include "register/entry/KVRegister.h"
#include "vuda32/Application/QDll.h"

namespace {

// The application object, built while the module initialises and destroyed at its unload.
KVRegister g_register;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return QDllMain(instance, reason, reserved);
}
