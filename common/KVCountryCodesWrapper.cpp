#include "common/KVCountryCodesWrapper.h"

#include <cstring>
#include <iterator>

#include "common/KVRegistry.h"
#include "common/KVRunContext.h"
#include "vuda32/Exception/QErrorReport.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLog.h"

namespace {

// Indexed by KVCountryCodesWrapper::Slot.
constexpr const char* kExportNames[] = {
    KVCountryInitExport::kName,        KVGetCountriesExport::kName,   KVGetCountryInfoExport::kName,
    KVGetCountryOnPrefixExport::kName, KVGetHomeCountryExport::kName, KVSetHomeCountryExport::kName,
    KVConvertToMsisdnExport::kName};

constexpr bool SameText(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

// The system's reason in words, with the file put in where the text leaves room for it ("%1 is
// not a valid Win32 application." for a library of the other size).
std::string Reason(DWORD error, const std::string& file) {
    std::string text = SystemErrorText(error);
    const size_t insert = text.find("%1");
    if (insert != std::string::npos) text.replace(insert, 2, file);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text + " (system error " + std::to_string(error) + ")";
}

// A text the library wrote into a buffer of `size` bytes: a library that writes no
// terminator can never make us read past the buffer.
std::string TextOf(const char* buffer, size_t size) { return std::string(buffer, strnlen(buffer, size)); }

}  // namespace

KVCountryInfo::KVCountryInfo()
    : code_(), name_(), callingCode_(), internationalPrefix_(), trunkPrefix_(),
      record_{code_, name_, callingCode_, internationalPrefix_, trunkPrefix_} {}

std::string KVCountryInfo::GetName() const { return TextOf(name_, sizeof name_); }

template <KVCountryCodesWrapper::Slot slot, typename Export>
typename Export::Fn* KVCountryCodesWrapper::Function() {
    static_assert(SameText(kExportNames[slot], Export::kName), "slot bound to another export");
    return reinterpret_cast<typename Export::Fn*>(reinterpret_cast<void (*)()>(Bind(slot)));
}

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
    loggedLoadError_ = 0;
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
        const std::string file = folder_ + libraryName_;
        module_ = LoadLibraryA(file.c_str());
        if (!module_) {
            // Without the library every number is refused: the log says why, once per reason.
            const DWORD error = GetLastError();
            if (error != loggedLoadError_) {
                KVRunContext* run = KVRunContext::Current();
                QLogEntry(run ? run->GetLog() : nullptr, QLog::LevelError, "KVCountryCodesWrapper::Prepare")
                    << "Cannot load " << file << ": " << Reason(error, file);
                loggedLoadError_ = error;
            }
            return kUnavailable;
        }
        loggedLoadError_ = 0;
    }
    const auto init = Function<SlotInit, KVCountryInitExport>();
    if (!init) return kUnavailable;
    const int result = init(keyPath_.c_str());
    initialised_ = result == 0;
    return result;
}

FARPROC KVCountryCodesWrapper::Bind(Slot slot) {
    static_assert(std::size(kExportNames) == SlotCount, "one export name per slot");
    if (!slots_[slot] && module_) slots_[slot] = GetProcAddress(module_, kExportNames[slot]);
    return slots_[slot];
}

std::string KVCountryCodesWrapper::GetCountries(int* status) {
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotCountries, KVGetCountriesExport>();
    if (!fn) return std::string();
    const char* list = fn(status);
    return list ? std::string(list) : std::string();
}

int KVCountryCodesWrapper::GetCountryInfo(const std::string& code, KVCountryInfo& info) {
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const auto fn = Function<SlotInfo, KVGetCountryInfoExport>();
    if (!fn) return kUnavailable;
    return fn(code.c_str(), info.Get());
}

std::string KVCountryCodesWrapper::GetCountryOnPrefix(const std::string& prefix) {
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotOnPrefix, KVGetCountryOnPrefixExport>();
    if (!fn) return std::string();
    char code[KVGetCountryOnPrefixExport::kOutputSize] = {};
    fn(prefix.c_str(), code);
    return TextOf(code, sizeof code);
}

std::string KVCountryCodesWrapper::GetHomeCountry() {
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotGetHome, KVGetHomeCountryExport>();
    if (!fn) return std::string();
    char code[KVGetHomeCountryExport::kOutputSize] = {};
    fn(code);
    return TextOf(code, sizeof code);
}

int KVCountryCodesWrapper::SetHomeCountry(const std::string& code) {
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const auto fn = Function<SlotSetHome, KVSetHomeCountryExport>();
    if (!fn) return kUnavailable;
    return fn(code.c_str());
}

std::string KVCountryCodesWrapper::ConvertToMsisdn(const std::string& number, const std::string& code) {
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotConvert, KVConvertToMsisdnExport>();
    if (!fn) return std::string();
    char msisdn[KVConvertToMsisdnExport::kOutputSize] = {};
    fn(number.c_str(), code.c_str(), msisdn);
    return TextOf(msisdn, sizeof msisdn);
}
