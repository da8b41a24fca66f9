#include "common/KVCountryCodesWrapper.h"

#include <cstring>

#include "common/KVRegistry.h"
#include "vuda32/Exception/QException.h"

namespace {

// The library's exports: plain C calls with single-byte, zero-terminated texts.
using InitFn = int(__cdecl*)(const char* keyPath);
using CountriesFn = const char*(__cdecl*)(int* status);
using InfoFn = int(__cdecl*)(const char* code, KVCountryInfo::Record* info);
using OnPrefixFn = int(__cdecl*)(const char* digits, char* code8);
using GetHomeFn = int(__cdecl*)(char* code8);
using SetHomeFn = int(__cdecl*)(const char* code);
using ConvertFn = int(__cdecl*)(const char* number, const char* code, char* msisdn32);

const char* const kExportNames[] = {"KVCountryInit", "KVGetCountries", "KVGetCountryInfo",
                                    "KVGetCountryOnPrefix", "KVGetHomeCountry",
                                    "KVSetHomeCountry", "KVConvertToMsisdn"};

// A text the library wrote into a buffer of `size` bytes: a library that writes no
// terminator can never make us read past the buffer.
std::string TextOf(const char* buffer, size_t size) { return std::string(buffer, strnlen(buffer, size)); }

}  // namespace

KVCountryInfo::KVCountryInfo()
    : code_(), name_(), extra1_(), extra2_(), extra3_(),
      record_{{code_, name_, extra1_, extra2_, extra3_}} {}

std::string KVCountryInfo::GetName() const { return TextOf(name_, sizeof name_); }

static_assert(sizeof kExportNames / sizeof kExportNames[0] == 7, "one export name per slot");

KVCountryCodesWrapper::KVCountryCodesWrapper() = default;

KVCountryCodesWrapper::~KVCountryCodesWrapper() {
    if (module_) FreeLibrary(module_);
}

int KVCountryCodesWrapper::SetRegistryKey(const std::string& keyPath) {
    keyPath_ = keyPath;
    std::string root;
    int result = 0;
    try {
        KVRegistry registry(keyPath);
        root = registry.GetInstallRoot();
    } catch (const QException&) {
        root.clear();
        result = kUnavailable;
    }
    SetFolder(root);
    initialised_ = false;
    return result;
}

void KVCountryCodesWrapper::SetFolder(const std::string& path) {
    folder_ = path;
    if (!folder_.empty() && folder_.back() != '\\') folder_ += '\\';
}

int KVCountryCodesWrapper::Prepare() {
    if (initialised_) return 0;
    if (!module_) {
        // An empty folder leaves the search to the loader's own order.
        module_ = LoadLibraryA((folder_ + libraryName_).c_str());
        if (!module_) return kUnavailable;
    }
    const InitFn init = Function<InitFn>(SlotInit);
    if (!init) return kUnavailable;
    const int result = init(keyPath_.c_str());
    initialised_ = result == 0;
    return result;
}

FARPROC KVCountryCodesWrapper::Bind(Slot slot) {
    if (!slots_[slot] && module_) slots_[slot] = GetProcAddress(module_, kExportNames[slot]);
    return slots_[slot];
}

std::string KVCountryCodesWrapper::GetCountries(int* status) {
    if (Prepare() != 0) return std::string();
    const CountriesFn fn = Function<CountriesFn>(SlotCountries);
    if (!fn) return std::string();
    const char* list = fn(status);
    return list ? std::string(list) : std::string();
}

int KVCountryCodesWrapper::GetCountryInfo(const std::string& code, KVCountryInfo& info) {
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const InfoFn fn = Function<InfoFn>(SlotInfo);
    if (!fn) return kUnavailable;
    return fn(code.c_str(), info.Get());
}

std::string KVCountryCodesWrapper::GetCountryOnPrefix(const std::string& prefix) {
    if (Prepare() != 0) return std::string();
    const OnPrefixFn fn = Function<OnPrefixFn>(SlotOnPrefix);
    if (!fn) return std::string();
    char code[8] = {};
    fn(prefix.c_str(), code);
    return TextOf(code, sizeof code);
}

std::string KVCountryCodesWrapper::GetHomeCountry() {
    if (Prepare() != 0) return std::string();
    const GetHomeFn fn = Function<GetHomeFn>(SlotGetHome);
    if (!fn) return std::string();
    char code[8] = {};
    fn(code);
    return TextOf(code, sizeof code);
}

int KVCountryCodesWrapper::SetHomeCountry(const std::string& code) {
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const SetHomeFn fn = Function<SetHomeFn>(SlotSetHome);
    if (!fn) return kUnavailable;
    return fn(code.c_str());
}

std::string KVCountryCodesWrapper::ConvertToMsisdn(const std::string& number, const std::string& code) {
    if (Prepare() != 0) return std::string();
    const ConvertFn fn = Function<ConvertFn>(SlotConvert);
    if (!fn) return std::string();
    char msisdn[32] = {};
    fn(number.c_str(), code.c_str(), msisdn);
    return TextOf(msisdn, sizeof msisdn);
}
