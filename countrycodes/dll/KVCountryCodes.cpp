// KVCountryCodes.dll: the exports over the numbering table and its rules, with the home
// country kept in the registry of the current user.
#include "countrycodes/dll/KVCountryCodes.h"

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
    try {
        if (!Table()) return 2;
        KVCountryState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.keyPath = keyPath ? keyPath : "";
        state.home.clear();  // read again from the registry under the new key
        return 0;
    } catch (...) {
        return 1;
    }
}

const char* __cdecl KVGetCountries(int* status) {
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
        if (status) *status = 0;
        return state.countries.c_str();
    } catch (...) {
        if (status) *status = 1;
        return "";
    }
}

int __cdecl KVGetCountryInfo(const char* code, KVCountryInfo* info) {
    try {
        if (!code || !info) return 2;
        const auto table = Table();
        const KVRegion* region = table->FindRegion(code);
        if (!region) return 1;
        CopyOut(region->code, info->code, 8);
        CopyOut(region->name, info->name, 64);
        CopyOut(std::to_string(region->callingCode), info->callingCode, 8);
        CopyOut(region->DialledIdd(), info->internationalPrefix, 8);
        CopyOut(region->trunkPrefix, info->trunkPrefix, 8);
        return 0;
    } catch (...) {
        return 3;
    }
}

int __cdecl KVGetCountryOnPrefix(const char* digits, char* code8) {
    try {
        CopyOut("", code8, 8);
        if (!digits) return 1;
        const auto table = Table();
        const int code = table->CallingCodeAtStart(std::string(digits, strnlen(digits, 16)));
        if (code == 0) return 1;
        CopyOut(table->RegionsOfCallingCode(code).front()->code, code8, 8);
        return 0;
    } catch (...) {
        return 2;
    }
}

int __cdecl KVGetHomeCountry(char* code8) {
    try {
        CopyOut(Home(*Table()), code8, 8);
        return 0;
    } catch (...) {
        CopyOut("", code8, 8);
        return 1;
    }
}

int __cdecl KVSetHomeCountry(const char* code) {
    try {
        const auto table = Table();
        const KVRegion* region = code ? table->FindRegion(code) : nullptr;
        if (!region) return 1;
        KVCountryState& state = State();
        std::string keyPath;
        {
            std::lock_guard<std::mutex> guard(state.lock);
            state.home = region->code;
            keyPath = state.keyPath;
        }
        if (keyPath.empty()) return 0;
        KVRegKey key;
        return key.Create(HKEY_CURRENT_USER, keyPath) && key.WriteString("HomeCountry", region->code) ? 0 : 2;
    } catch (...) {
        return 3;
    }
}

int __cdecl KVConvertToMsisdn(const char* number, const char* code, char* msisdn32) {
    try {
        CopyOut("", msisdn32, 32);
        if (!number || !code) return 1;
        const auto table = Table();
        const KVRegion* region = table->FindRegion(code);
        if (!region) return 1;
        kvcc::KVMsisdnOptions options;
        options.home = table->FindRegion(Home(*table));
        // Longer input is refused by the rules anyway; do not copy megabytes to learn that.
        const std::string typed(number, strnlen(number, 1024));
        const std::string msisdn = KVNumberRules(table).ToMsisdn(typed, *region, options);
        CopyOut(msisdn, msisdn32, 32);
        return msisdn.empty() ? 1 : 0;
    } catch (...) {
        CopyOut("", msisdn32, 32);
        return 2;
    }
}

int __cdecl KVGetCountryOnName(const char* name, char* code8) {
    try {
        CopyOut("", code8, 8);
        if (!name) return 1;
        const auto table = Table();
        for (const auto& region : table->Regions()) {
            if (kvcc::EqualsIgnoreCase(region->name, name)) {
                CopyOut(region->code, code8, 8);
                return 0;
            }
        }
        return 1;
    } catch (...) {
        return 2;
    }
}

int __cdecl KVGetCountryOnCode(const char* callingCode, char* code8) {
    try {
        CopyOut("", code8, 8);
        if (!callingCode) return 1;
        std::string digits(callingCode, strnlen(callingCode, 8));
        if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
        const auto table = Table();
        std::size_t length = 0;
        const int code = table->CallingCodeAtStart(digits, &length);
        if (code == 0 || length != digits.size()) return 1;
        CopyOut(table->RegionsOfCallingCode(code).front()->code, code8, 8);
        return 0;
    } catch (...) {
        return 2;
    }
}

int __cdecl KVCountryLoad(const char* path) {
    try {
        if (!path) return 1;
        std::ifstream file(path, std::ios::binary);
        if (!file) return 1;
        std::ostringstream bytes;
        bytes << file.rdbuf();
        if (file.bad()) return 1;
        std::string error;
        auto table = KVCountryTable::Parse(bytes.str(), error, true);
        if (!table) {
            OutputDebugStringA(("KVCountryLoad: table refused, " + error).c_str());
            return 2;
        }
        KVCountryState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.table = std::move(table);
        return 0;
    } catch (...) {
        return 3;
    }
}

int __cdecl KVConvertToNumber(const char* msisdn, char* buffer, int size) {
    try {
        if (!buffer || size <= 0) return 3;
        CopyOut("", buffer, static_cast<std::size_t>(size));
        if (!msisdn) return 1;
        const std::string national =
            KVNumberRules(Table()).FormatNational(std::string(msisdn, strnlen(msisdn, 64)));
        if (national.empty()) return 1;
        return CopyOut(national, buffer, static_cast<std::size_t>(size)) ? 0 : 2;
    } catch (...) {
        return 4;
    }
}

}  // extern "C"
