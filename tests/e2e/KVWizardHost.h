// A host of KVRegister.dll for end-to-end tests, in one test's own installation.
//   KVWizardHost   writes register.cfg and register.lang (CR LF), puts the real or a test
//                  country-code library beside them, points "InstallRoot" and "LogLevel" at
//                  them, loads the DLL afresh (languages are read once per load) and makes
//                  the host's steps
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/KVDpiAwareness.h"
#include "host/KVRegisterLibrary.h"
#include "include/KVRegisterApi.h"
#include "tests/common/KVTestCountryLibrary.h"
#include "tests/support/KVTestEnv.h"
#include "tests/support/KVTestLog.h"

// A test host declares itself per-monitor DPI-aware before any window exists, as the mail
// client that hosts the wizard does: the system then neither stretches the wizard nor hides
// the display's resolution from it.
inline const KVDpiAwareness g_kvTestHostDpiAwareness = KVDeclareDpiAware();

class KVWizardHost {
public:
    // "real" installs the built KVCountryCodes.dll; otherwise a variant of the test libraries.
    explicit KVWizardHost(const KVTestEnv& env, const std::string& countryLibrary = "real")
        : env_(env), folder_(KVTestCountryLibrary::Folder(env)) {
        if (countryLibrary == "real")
            KVTestCountryLibrary::InstallFile(env, KV_COUNTRY_DLL);
        else
            KVTestCountryLibrary::Install(env, countryLibrary);
        env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
        WriteFile("register.lang", {"# the product's wording: every text has its default"});
    }
    KVWizardHost(const KVWizardHost&) = delete;
    KVWizardHost& operator=(const KVWizardHost&) = delete;

    // The installation folder, without a trailing backslash.
    const std::string& Folder() const { return folder_; }
    // Writes a file of the installation; `lines` are joined with CR LF.
    void WriteFile(const std::string& name, const std::vector<std::string>& lines) const {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        env_.WriteFile(std::string(KVTestCountryLibrary::kFolderName) + "\\" + name, bytes);
    }
    void RemoveFile(const std::string& name) const { DeleteFileA((folder_ + "\\" + name).c_str()); }

    // Loads the DLL and calls KVRegisterInit with the test's key path.
    void Load() {
        library_ = std::make_unique<KVRegisterLibrary>(KV_REGISTER_DLL);
        if (!library_->Problem().empty()) throw std::runtime_error(library_->Problem());
        library_->Init(env_.KeyPath());
    }
    // FreeLibrary, as a host does that gives up in the middle of a run.
    void Unload() { library_.reset(); }
    // One KVRegisterInternal call with the host's action record of the run.
    int Step(const KVResultRecord& result, KVActionRecord& action) {
        if (!library_) throw std::runtime_error("KVRegister.dll is not loaded");
        return library_->Step(result, action);
    }
    // The log of the loaded DLL.
    std::string Log() const { return KVTestLog::Read(env_); }

private:
    const KVTestEnv& env_;
    std::string folder_;
    std::unique_ptr<KVRegisterLibrary> library_;
};
