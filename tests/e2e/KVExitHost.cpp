// A host that ends its process while KVRegister.dll is loaded and a run waits for the user,
// as an add-in's application does that is closed with the wizard on screen.
//   KVExitHost <dll> <key path> <exit code>: loads the library, starts a run on a thread of its
//   own, waits until the wizard is shown and ends the process with the exit code. Any other
//   ending (a crash in the library's unload) shows as another exit code.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "host/KVRegisterLibrary.h"
#include "register/view/KVRegisterViewIds.h"

namespace {

DWORD WINAPI RunStep(LPVOID library) {
    KVResultRecord result;
    KVActionRecord action;
    static_cast<KVRegisterLibrary*>(library)->Step(result, action);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    // Not freed: the process ends with the library loaded.
    static KVRegisterLibrary library(argv[1]);
    if (!library.Problem().empty()) return 3;
    library.Init(argv[2]);
    HANDLE step = CreateThread(nullptr, 0, &RunStep, &library, 0, nullptr);
    if (!step) return 5;
    // A glance every 50 ms, as a person would look, for at most 10 s.
    const auto shown = [] {
        HWND wizard = FindWindowA(kWizardClassName, nullptr);
        return wizard && IsWindowVisible(wizard);
    };
    for (int i = 0; i < 200 && !shown(); ++i) Sleep(50);
    if (!shown()) return 6;
    ExitProcess(static_cast<UINT>(std::atoi(argv[3])));
}
