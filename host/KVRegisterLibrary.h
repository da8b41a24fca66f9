// KVRegister.dll as a host holds it, for the reference host and every program that drives the
// DLL the way an add-in does.
//   KVRegisterLibrary   loads the DLL by path and finds its two exports; FreeLibrary when it goes
// Free function: KVSystemErrorText.
#pragma once

#include <windows.h>

#include <string>

#include "include/KVRegisterApi.h"

// The system's text for an error code, without its line break.
inline std::string KVSystemErrorText(DWORD error) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = text ? text : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

class KVRegisterLibrary {
public:
    explicit KVRegisterLibrary(const std::string& path) {
        module_ = LoadLibraryA(path.c_str());
        if (!module_) {
            problem_ = "cannot load " + path + ": " + KVSystemErrorText(GetLastError());
            return;
        }
        init_ = Export<KVRegisterInitFn>(kKVRegisterInitName);
        internal_ = Export<KVRegisterInternalFn>(kKVRegisterInternalName);
        if (!init_ || !internal_) problem_ = path + " lacks the exports KVRegisterInit and KVRegisterInternal";
    }
    ~KVRegisterLibrary() { Free(); }
    KVRegisterLibrary(const KVRegisterLibrary&) = delete;
    KVRegisterLibrary& operator=(const KVRegisterLibrary&) = delete;

    // Empty when both exports were found; Init and Step may be called only then.
    const std::string& Problem() const { return problem_; }
    HMODULE Module() const { return module_; }
    int Init(const std::string& keyPath) const { return init_(keyPath); }
    int Step(const KVResultRecord& result, KVActionRecord& action) const { return internal_(&result, &action); }
    // The exports with the records as pointers, for callers that hand over none.
    KVRegisterInternalFn Internal() const { return internal_; }
    // FreeLibrary now, as a host does that gives up in the middle of a run.
    void Free() {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
        init_ = nullptr;
        internal_ = nullptr;
    }

private:
    template <typename F>
    F Export(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

    HMODULE module_ = nullptr;
    KVRegisterInitFn init_ = nullptr;
    KVRegisterInternalFn internal_ = nullptr;
    std::string problem_;
};
