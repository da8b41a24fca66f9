// KVCountryCodes.dll: the exports over the numbering table and its rules, with the home
// country kept in the registry of the current user.
#include "countrycodes/dll/KVCountryCodesApi.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>

#include "countrycodes/src/KVEmbeddedTable.h"
#include "countrycodes/src/KVNumberRules.h"

using kvcc::KVCountryTable;
using kvcc::KVNumberRules;
using kvcc::KVRegion;

namespace {

// Owns one open registry key.
class KVRegKey {
public:
    KVRegKey() = default;
    ~KVRegKey() {
        if (key_) RegCloseKey(key_);
    }
    KVRegKey(const KVRegKey&) = delete;
    KVRegKey& operator=(const KVRegKey&) = delete;

    bool Open(HKEY root, const std::string& path) {
        return RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key_) == ERROR_SUCCESS;
    }
    bool Create(HKEY root, const std::string& path) {
        return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) ==
               ERROR_SUCCESS;
    }
    // A REG_SZ value; false when missing, of another type or too long to be a region code.
    bool ReadString(const char* name, std::string& value) const {
        char buffer[64] = {};
        DWORD type = 0;
        DWORD size = sizeof buffer - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return false;
        }
        value.assign(buffer, strnlen(buffer, size));
        return true;
    }
    bool WriteString(const char* name, const std::string& value) const {
        return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

// The library's state: the table in use, the key path and the home country.
struct KVCountryState {
    std::mutex lock;
    std::shared_ptr<const KVCountryTable> table;
    std::string keyPath;
    std::string home;
    std::string countries;  // KVGetCountries's text, valid until its next call
};

KVCountryState& State() {
    static KVCountryState state;
    return state;
}

// The table in use; the built-in one is parsed on first use.
std::shared_ptr<const KVCountryTable> Table() {
    KVCountryState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.table) {
        std::string error;
        state.table = KVCountryTable::Parse(kvcc::EmbeddedTable(), error);
    }
    return state.table;
}

// Copies text into a buffer of `size` bytes, cut to fit; false when it had to be cut.
bool CopyOut(const std::string& text, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return false;
    const std::size_t count = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count == text.size();
}

// The home country: the registry value, else the user's locale, else "US".
std::string ResolveHome(const KVCountryTable& table, const std::string& keyPath) {
    if (!keyPath.empty()) {
        KVRegKey key;
        std::string value;
        if (key.Open(HKEY_CURRENT_USER, keyPath) && key.ReadString("HomeCountry", value)) {
            if (const KVRegion* region = table.FindRegion(value)) return region->code;
        }
    }
    char iso[16] = {};
    if (GetLocaleInfoA(GetUserDefaultLCID(), LOCALE_SISO3166CTRYNAME, iso, sizeof iso) > 0) {
        if (const KVRegion* region = table.FindRegion(iso)) return region->code;
    }
    return "US";
}

std::string Home(const KVCountryTable& table) {
    KVCountryState& state = State();
    std::string keyPath;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (!state.home.empty()) return state.home;
        keyPath = state.keyPath;
    }
    std::string home = ResolveHome(table, keyPath);
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.home.empty()) state.home = home;
    return state.home;
}

}  // namespace

extern "C" {

int __cdecl KVCountryInit(const char* keyPath) {
    using R = KVCountryInitExport;
    try {
        if (!Table()) return R::kNoTable;
        KVCountryState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.keyPath = keyPath ? keyPath : "";
        state.home.clear();  // read again from the registry under the new key
        return R::kReady;
    } catch (...) {
        return R::kFailed;
    }
}

const char* __cdecl KVGetCountries(int* status) {
    using R = KVGetCountriesExport;
    try {
        const auto table = Table();
        std::string list;
        for (const auto& region : table->Regions()) {
            if (!list.empty()) list += ';';
            list += region->code;
        }
        KVCountryState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.countries = std::move(list);
        if (status) *status = R::kListed;
        return state.countries.c_str();
    } catch (...) {
        if (status) *status = R::kFailed;
        return "";
    }
}

int __cdecl KVGetCountryInfo(const char* code, KVCountryInfoRecord* info) {
    using R = KVGetCountryInfoExport;
    using I = KVCountryInfoRecord;
    try {
        if (!code || !info) return R::kNullArgument;
        const auto table = Table();
        const KVRegion* region = table->FindRegion(code);
        if (!region) return R::kUnknownCode;
        CopyOut(region->code, info->code, I::kCodeSize);
        CopyOut(region->name, info->name, I::kNameSize);
        CopyOut(std::to_string(region->callingCode), info->callingCode, I::kCallingCodeSize);
        CopyOut(region->DialledIdd(), info->internationalPrefix, I::kInternationalPrefixSize);
        CopyOut(region->trunkPrefix, info->trunkPrefix, I::kTrunkPrefixSize);
        return R::kFilled;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVGetCountryOnPrefix(const char* digits, char* code) {
    using R = KVGetCountryOnPrefixExport;
    try {
        CopyOut("", code, R::kOutputSize);
        if (!digits) return R::kNotFound;
        const auto table = Table();
        const int callingCode = table->CallingCodeAtStart(std::string(digits, strnlen(digits, 16)));
        if (callingCode == 0) return R::kNotFound;
        CopyOut(table->RegionsOfCallingCode(callingCode).front()->code, code, R::kOutputSize);
        return R::kFound;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVGetHomeCountry(char* code) {
    using R = KVGetHomeCountryExport;
    try {
        CopyOut(Home(*Table()), code, R::kOutputSize);
        return R::kFound;
    } catch (...) {
        CopyOut("", code, R::kOutputSize);
        return R::kFailed;
    }
}

int __cdecl KVSetHomeCountry(const char* code) {
    using R = KVSetHomeCountryExport;
    try {
        const auto table = Table();
        const KVRegion* region = code ? table->FindRegion(code) : nullptr;
        if (!region) return R::kUnknownCode;
        KVCountryState& state = State();
        std::string keyPath;
        {
            std::lock_guard<std::mutex> guard(state.lock);
            state.home = region->code;
            keyPath = state.keyPath;
        }
        if (keyPath.empty()) return R::kStored;
        KVRegKey key;
        return key.Create(HKEY_CURRENT_USER, keyPath) && key.WriteString("HomeCountry", region->code)
                   ? R::kStored
                   : R::kRegistryFailed;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVConvertToMsisdn(const char* number, const char* code, char* msisdn) {
    using R = KVConvertToMsisdnExport;
    try {
        CopyOut("", msisdn, R::kOutputSize);
        if (!number || !code) return R::kNotMobile;
        const auto table = Table();
        const KVRegion* region = table->FindRegion(code);
        if (!region) return R::kNotMobile;
        kvcc::KVMsisdnOptions options;
        options.home = table->FindRegion(Home(*table));
        // Longer input is refused by the rules anyway; do not copy megabytes to learn that.
        const std::string typed(number, strnlen(number, 1024));
        const std::string result = KVNumberRules(table).ToMsisdn(typed, *region, options);
        CopyOut(result, msisdn, R::kOutputSize);
        return result.empty() ? R::kNotMobile : R::kValid;
    } catch (...) {
        CopyOut("", msisdn, R::kOutputSize);
        return R::kFailed;
    }
}

int __cdecl KVGetCountryOnName(const char* name, char* code) {
    using R = KVGetCountryOnNameExport;
    try {
        CopyOut("", code, R::kOutputSize);
        if (!name) return R::kNotFound;
        const auto table = Table();
        for (const auto& region : table->Regions()) {
            if (kvcc::EqualsIgnoreCase(region->name, name)) {
                CopyOut(region->code, code, R::kOutputSize);
                return R::kFound;
            }
        }
        return R::kNotFound;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVGetCountryOnCode(const char* callingCode, char* code) {
    using R = KVGetCountryOnCodeExport;
    try {
        CopyOut("", code, R::kOutputSize);
        if (!callingCode) return R::kNotFound;
        std::string digits(callingCode, strnlen(callingCode, 8));
        if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
        const auto table = Table();
        std::size_t length = 0;
        const int found = table->CallingCodeAtStart(digits, &length);
        if (found == 0 || length != digits.size()) return R::kNotFound;
        CopyOut(table->RegionsOfCallingCode(found).front()->code, code, R::kOutputSize);
        return R::kFound;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVCountryLoad(const char* path) {
    using R = KVCountryLoadExport;
    try {
        if (!path) return R::kUnreadable;
        std::ifstream file(path, std::ios::binary);
        if (!file) return R::kUnreadable;
        std::ostringstream bytes;
        bytes << file.rdbuf();
        if (file.bad()) return R::kUnreadable;
        std::string error;
        auto table = KVCountryTable::Parse(bytes.str(), error, true);
        if (!table) {
            OutputDebugStringA(("KVCountryLoad: table refused, " + error).c_str());
            return R::kMalformed;
        }
        KVCountryState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.table = std::move(table);
        return R::kLoaded;
    } catch (...) {
        return R::kFailed;
    }
}

int __cdecl KVConvertToNumber(const char* msisdn, char* buffer, int size) {
    using R = KVConvertToNumberExport;
    try {
        if (!buffer || size <= 0) return R::kNoBuffer;
        CopyOut("", buffer, static_cast<std::size_t>(size));
        if (!msisdn) return R::kNotMsisdn;
        const std::string national =
            KVNumberRules(Table()).FormatNational(std::string(msisdn, strnlen(msisdn, 64)));
        if (national.empty()) return R::kNotMsisdn;
        return CopyOut(national, buffer, static_cast<std::size_t>(size)) ? R::kDone : R::kCut;
    } catch (...) {
        return R::kFailed;
    }
}

}  // extern "C"
