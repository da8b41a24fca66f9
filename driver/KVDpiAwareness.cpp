#include "driver/KVDpiAwareness.h"

#include <windows.h>

namespace {

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using GetContextFn = HANDLE(WINAPI*)();
using AwarenessFn = int(WINAPI*)(HANDLE);
using SetProcessAwareFn = BOOL(WINAPI*)();

// The system's handles of the awareness contexts, and their awareness values.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
const int kAwarenessPerMonitor = 2;

template <class Fn>
Fn Find(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// -1 when the system cannot tell.
int CurrentAwareness(HMODULE user32) {
    const auto getContext = Find<GetContextFn>(user32, "GetThreadDpiAwarenessContext");
    const auto awareness = Find<AwarenessFn>(user32, "GetAwarenessFromDpiAwarenessContext");
    return getContext && awareness ? awareness(getContext()) : -1;
}

}  // namespace

KVDpiAwareness KVDeclareDpiAware() {
    KVDpiAwareness result;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto setContext = Find<SetContextFn>(user32, "SetProcessDpiAwarenessContext");
    if (setContext != nullptr) {
        // Version 2 also scales the caption and the common dialogs; systems before it refuse
        // the value as unknown (87), and a process declared already (by its manifest, or by
        // the system's default) is refused as such (5).
        for (const HANDLE context : {kPerMonitorAwareV2, kPerMonitorAware}) {
            if (setContext(context)) {
                result.description += context == kPerMonitorAwareV2 ? "per-monitor v2 declared" : "per-monitor declared";
                break;
            }
            result.description += std::string(context == kPerMonitorAwareV2 ? "per-monitor v2" : "per-monitor") +
                                  " refused with error " + std::to_string(GetLastError()) + "; ";
        }
    } else if (const auto setAware = Find<SetProcessAwareFn>(user32, "SetProcessDPIAware")) {
        // Before per-monitor awareness: at least the system's DPI, unstretched.
        result.description += setAware() ? "system-aware declared" : "system-aware refused";
    } else {
        result.description += "no awareness to declare";
    }
    const int awareness = CurrentAwareness(user32);
    result.perMonitor = awareness == kAwarenessPerMonitor;
    result.description += awareness < 0 ? " (awareness unknown)" : " (awareness " + std::to_string(awareness) + ")";
    return result;
}
