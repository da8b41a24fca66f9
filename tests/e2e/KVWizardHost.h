// A host of KVRegister.dll for end-to-end tests, in one test's own installation.
//   KVWizardHost   writes register.cfg and register.lang (CR LF), puts the real or a test
//                  country-code library beside them, points "InstallRoot" and "LogLevel" at
//                  them, loads the DLL afresh (languages are read once per load) and makes
//                  the host's steps
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "include/KVRegisterApi.h"
#include "tests/support/KVTestEnv.h"

class KVWizardHost {
public:
    // "real" installs the built KVCountryCodes.dll; otherwise a variant of the test libraries.
    explicit KVWizardHost(const KVTestEnv& env, const std::string& countryLibrary = "real");
    ~KVWizardHost();
    KVWizardHost(const KVWizardHost&) = delete;
    KVWizardHost& operator=(const KVWizardHost&) = delete;

    // The installation folder, without a trailing backslash.
    const std::string& Folder() const { return folder_; }
    // Writes a file of the installation; `lines` are joined with CR LF.
    void WriteFile(const std::string& name, const std::vector<std::string>& lines) const;
    void WriteRaw(const std::string& name, const std::string& bytes) const;
    void RemoveFile(const std::string& name) const;

    // Loads the DLL and calls KVRegisterInit with the test's key path.
    void Load();
    HMODULE Module() const { return module_; }
    // FreeLibrary, as a host does that gives up in the middle of a run.
    void Unload();
    // One KVRegisterInternal call with the host's action record of the run.
    int Step(const KVResultRecord& result, KVActionRecord& action);
    // The log of the loaded DLL.
    std::string Log() const;

private:
    const KVTestEnv& env_;
    std::string folder_;
    HMODULE module_ = nullptr;
    KVRegisterInternalFn internal_ = nullptr;
};
