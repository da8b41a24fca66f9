#include "vuda32/Application/QDll.h"

#include <atomic>

#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"

namespace {
const char* const kFile = ".\\Application\\QDll.cpp";
// Written once while the module initialises its globals, read afterwards.
QDll* g_app = nullptr;
std::atomic<bool> g_processEnding{false};
}  // namespace

QDll::QDll() {
    // The global data must outlive the application object, whose destructor may still
    // release windows and classes against the module handle: constructing it first makes
    // it be destroyed last.
    GetGlobalData();
    g_app = this;
}

QDll::~QDll() {
    if (g_app == this)
        g_app = nullptr;
}

int QDll::GetApplicationId() { return 0; }

bool QDll::ProcessAttach(HINSTANCE instance) {
    GetGlobalData().SetInstance(instance);
    return true;
}

bool QDll::ProcessDetach(HINSTANCE) { return true; }
bool QDll::ThreadAttach(HINSTANCE) { return true; }
bool QDll::ThreadDetach(HINSTANCE) { return true; }

QDll* GetApp() { return g_app; }

bool QDllIsProcessEnding() { return g_processEnding.load(); }

BOOL QDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    // Set before anything of the detach runs: the module's destructors run after this entry.
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) g_processEnding = true;
    QDll* app = GetApp();
    if (app == nullptr || reason > DLL_THREAD_DETACH)
        return TRUE;
    try {
        switch (reason) {
        case DLL_PROCESS_ATTACH: return app->ProcessAttach(instance) ? TRUE : FALSE;
        case DLL_PROCESS_DETACH: return app->ProcessDetach(instance) ? TRUE : FALSE;
        case DLL_THREAD_ATTACH: return app->ThreadAttach(instance) ? TRUE : FALSE;
        default: return app->ThreadDetach(instance) ? TRUE : FALSE;
        }
    } catch (...) {
        ReportCaughtError(kFile, "QDllMain", __LINE__);
        return FALSE;
    }
}
