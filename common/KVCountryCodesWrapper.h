// The sibling country-code library "KVCountryCodes.dll", loaded on first use.
//   KVCountryInfo           the five text buffers the country-information export fills
//   KVCountryCodesWrapper   the one process-wide wrapper: lazy load, by-name binding, answers
//                           of -1 or the empty text when the library cannot serve
#pragma once

#include <windows.h>

#include <string>

#include "countrycodes/dll/KVCountryCodesApi.h"
#include "vuda32/Synchronization/QCriticalSection.h"

// The record handed to KVGetCountryInfo with its five zero-filled buffers, owned by this
// object. Not copyable: the record points into the object itself.
class KVCountryInfo {
public:
    KVCountryInfo();
    KVCountryInfo(const KVCountryInfo&) = delete;
    KVCountryInfo& operator=(const KVCountryInfo&) = delete;

    KVCountryInfoRecord* Get() { return &record_; }
    // The display name, up to its first zero inside its buffer.
    std::string GetName() const;

private:
    char code_[KVCountryInfoRecord::kCodeSize];
    char name_[KVCountryInfoRecord::kNameSize];
    char callingCode_[KVCountryInfoRecord::kCallingCodeSize];
    char internationalPrefix_[KVCountryInfoRecord::kInternationalPrefixSize];
    char trunkPrefix_[KVCountryInfoRecord::kTrunkPrefixSize];
    KVCountryInfoRecord record_;
};

class KVCountryCodesWrapper {
public:
    static constexpr int kUnavailable = -1;

    KVCountryCodesWrapper();
    // Frees the library if it was loaded, unless the process is ending: then the system
    // takes it back, and it may have been unloaded already.
    virtual ~KVCountryCodesWrapper();
    KVCountryCodesWrapper(const KVCountryCodesWrapper&) = delete;
    KVCountryCodesWrapper& operator=(const KVCountryCodesWrapper&) = delete;

    // The one wrapper of the process.
    static KVCountryCodesWrapper& Instance();

    // Keeps the key path, takes the folder from "InstallRoot" below it (HKCU, then HKLM) and
    // makes the next operation initialise the library again. -1 when HKLM could not be read.
    int SetRegistryKey(const std::string& keyPath);
    // Empty stays empty; anything else ends with a backslash.
    void SetFolder(const std::string& path);

    // Country codes separated by ";"; `status` is written only by the library.
    std::string GetCountries(int* status);
    int GetCountryInfo(const std::string& code, KVCountryInfo& info);
    std::string GetCountryOnPrefix(const std::string& prefix);
    std::string GetHomeCountry();
    int SetHomeCountry(const std::string& code);
    // Empty when the number is not a valid mobile number of that country.
    std::string ConvertToMsisdn(const std::string& number, const std::string& code);

    std::string GetFolder() const;
    std::string GetKeyPath() const;
    bool IsLoaded() const;

private:
    // The exports the wizard calls, one slot each; the .cpp names them in this order.
    enum Slot { SlotInit, SlotCountries, SlotInfo, SlotOnPrefix, SlotGetHome, SlotSetHome,
                SlotConvert, SlotCount };

    // 0 when the library is loaded and initialised, else -1 or the initialisation's result.
    int Prepare();
    // The library from the folder, or, without one, by its bare name from the places the
    // system searches for a process's libraries, but never from the current directory: a
    // library planted wherever the host's process stands must not run inside it.
    HMODULE Load() const;
    // The export of that slot, bound on first use; null when the library lacks it.
    FARPROC Bind(Slot slot);
    // The slot's export as the function type of `Export` (a KV...Export of the library's
    // header); the compiler refuses a slot that is bound to another export's name.
    template <Slot slot, typename Export>
    typename Export::Fn* Function();

    // Every operation holds it: the window's thread and the host's thread both ask.
    mutable QCriticalSection lock_;
    std::string folder_;
    std::string libraryName_ = "KVCountryCodes.dll";
    std::string keyPath_;
    bool initialised_ = false;
    HMODULE module_ = nullptr;
    DWORD loggedLoadError_ = 0;  // the last reason a load failed, logged once
    FARPROC slots_[SlotCount] = {};
};
