#include "tests/common/KVTestCountryLibrary.h"

#include <windows.h>

#include <stdexcept>

namespace {

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace

std::string KVTestCountryLibrary::Folder(const KVTestEnv& env) { return env.TempFolder() + kFolderName; }

void KVTestCountryLibrary::Install(const KVTestEnv& env, const std::string& variant) {
    InstallFile(env, ExeFolder() + "kvtest_cc_" + variant + ".dll");
}

void KVTestCountryLibrary::InstallFile(const KVTestEnv& env, const std::string& library) {
    const std::string folder = Folder(env);
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(library.c_str(), (folder + "\\KVCountryCodes.dll").c_str(), FALSE))
        throw std::runtime_error("cannot copy " + library);
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder);
}

void KVTestCountryLibrary::InstallShared(const KVTestEnv& env) {
    const std::string folder = ExeFolder() + "shared-cc";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string to = folder + "\\KVCountryCodes.dll";
    // Once copied it may be loaded, and a loaded library cannot be replaced.
    if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileA((ExeFolder() + "kvtest_cc_scripted.dll").c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy the scripted library");
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder);
}

namespace {

// An export that only the test tree's libraries have; null when none is loaded.
template <typename F>
F* TestExport(const char* name) {
    HMODULE module = GetModuleHandleA("KVCountryCodes.dll");
    return module ? reinterpret_cast<F*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

std::string KVTestCountryLibrary::Calls() {
    auto* calls = TestExport<const char* __cdecl()>("KVTestCalls");
    return calls ? calls() : std::string();
}

int KVTestCountryLibrary::InitsBeforePage() {
    auto* count = TestExport<int __cdecl()>("KVTestInitsBeforePage");
    return count ? count() : -1;
}

void KVTestCountryLibrary::ClearCalls() {
    if (auto* clear = TestExport<void __cdecl()>("KVTestClearCalls")) clear();
}
