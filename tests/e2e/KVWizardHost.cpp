#include "tests/e2e/KVWizardHost.h"

#include <stdexcept>

#include "driver/KVDpiAwareness.h"
#include "tests/common/KVTestCountryLibrary.h"
#include "tests/support/KVTestLog.h"

namespace {

// A test host declares itself per-monitor DPI-aware before any window exists, as the mail
// client that hosts the wizard does: the system then neither stretches the wizard nor hides
// the display's resolution from it.
const KVDpiAwareness g_dpiAwareness = KVDeclareDpiAware();

template <typename F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

KVWizardHost::KVWizardHost(const KVTestEnv& env, const std::string& countryLibrary)
    : env_(env), folder_(KVTestCountryLibrary::Folder(env)) {
    if (countryLibrary == "real") {
        CreateDirectoryA(folder_.c_str(), nullptr);
        if (!CopyFileA(KV_COUNTRY_DLL, (folder_ + "\\KVCountryCodes.dll").c_str(), FALSE))
            throw std::runtime_error(std::string("cannot copy ") + KV_COUNTRY_DLL);
        env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder_);
    } else {
        KVTestCountryLibrary::Install(env, countryLibrary);
    }
    env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
    WriteFile("register.lang", {"# the product's wording: every text has its default"});
}

KVWizardHost::~KVWizardHost() {
    if (module_) FreeLibrary(module_);
}

void KVWizardHost::WriteFile(const std::string& name, const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteRaw(name, bytes);
}

void KVWizardHost::WriteRaw(const std::string& name, const std::string& bytes) const {
    const std::string path = folder_ + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

void KVWizardHost::RemoveFile(const std::string& name) const { DeleteFileA((folder_ + "\\" + name).c_str()); }

void KVWizardHost::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    internal_ = nullptr;
}

void KVWizardHost::Load() {
    module_ = LoadLibraryA(KV_REGISTER_DLL);
    if (!module_) throw std::runtime_error(std::string("cannot load ") + KV_REGISTER_DLL);
    const KVRegisterInitFn init = Export<KVRegisterInitFn>(module_, kKVRegisterInitName);
    internal_ = Export<KVRegisterInternalFn>(module_, kKVRegisterInternalName);
    if (!init || !internal_) throw std::runtime_error("KVRegister.dll lacks its exports");
    init(env_.KeyPath());
}

int KVWizardHost::Step(const KVResultRecord& result, KVActionRecord& action) {
    if (!internal_) throw std::runtime_error("KVRegister.dll is not loaded");
    return internal_(&result, &action);
}

std::string KVWizardHost::Log() const { return KVTestLog::Read(env_); }
