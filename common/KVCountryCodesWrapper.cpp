#include "common/KVCountryCodesWrapper.h"

#include <cstring>
#include <iterator>

#include "common/KVRegistry.h"
#include "common/KVRunContext.h"
#include "vuda32/Application/QDll.h"
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
    // Runs inside the module's detach, under the loader lock: a host that unloads the
    // library takes the sibling with it, a process that ends leaves it to the system.
    if (module_ && !QDllIsProcessEnding()) FreeLibrary(module_);
}

std::string KVCountryCodesWrapper::GetFolder() const {
    QCriticalSectionLock hold(lock_);
    return folder_;
}

std::string KVCountryCodesWrapper::GetKeyPath() const {
    QCriticalSectionLock hold(lock_);
    return keyPath_;
}

bool KVCountryCodesWrapper::IsLoaded() const {
    QCriticalSectionLock hold(lock_);
    return module_ != nullptr;
}

int KVCountryCodesWrapper::SetRegistryKey(const std::string& keyPath) {
    QCriticalSectionLock hold(lock_);
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
    QCriticalSectionLock hold(lock_);
    folder_ = path;
    if (!folder_.empty() && folder_.back() != '\\') folder_ += '\\';
}

HMODULE KVCountryCodesWrapper::Load() const {
    if (!folder_.empty()) return LoadLibraryA((folder_ + libraryName_).c_str());
    // The search without the current directory exists where the system can add library
    // folders; elsewhere the same places are asked one by one: the program's folder, then
    // the system folder.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr)
        return LoadLibraryExA(libraryName_.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string folder(path, length);
        folder.erase(folder.find_last_of('\\') + 1);
        if (HMODULE module = LoadLibraryA((folder + libraryName_).c_str())) return module;
    }
    const UINT system = GetSystemDirectoryA(path, MAX_PATH);
    if (system == 0 || system >= MAX_PATH) return nullptr;
    return LoadLibraryA((std::string(path, system) + "\\" + libraryName_).c_str());
}

int KVCountryCodesWrapper::Prepare() {
    if (initialised_) return 0;
    if (!module_) {
        module_ = Load();
        if (!module_) {
            // Without the library every number is refused: the log says why, once per reason.
            const DWORD error = GetLastError();
            if (error != loggedLoadError_) {
                const std::string file = folder_ + libraryName_;
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
    QCriticalSectionLock hold(lock_);
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotCountries, KVGetCountriesExport>();
    if (!fn) return std::string();
    const char* list = fn(status);
    return list ? std::string(list) : std::string();
}

int KVCountryCodesWrapper::GetCountryInfo(const std::string& code, KVCountryInfo& info) {
    QCriticalSectionLock hold(lock_);
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const auto fn = Function<SlotInfo, KVGetCountryInfoExport>();
    if (!fn) return kUnavailable;
    return fn(code.c_str(), info.Get());
}

std::string KVCountryCodesWrapper::GetCountryOnPrefix(const std::string& prefix) {
    QCriticalSectionLock hold(lock_);
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotOnPrefix, KVGetCountryOnPrefixExport>();
    if (!fn) return std::string();
    char code[KVGetCountryOnPrefixExport::kOutputSize] = {};
    fn(prefix.c_str(), code);
    return TextOf(code, sizeof code);
}

std::string KVCountryCodesWrapper::GetHomeCountry() {
    QCriticalSectionLock hold(lock_);
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotGetHome, KVGetHomeCountryExport>();
    if (!fn) return std::string();
    char code[KVGetHomeCountryExport::kOutputSize] = {};
    fn(code);
    return TextOf(code, sizeof code);
}

int KVCountryCodesWrapper::SetHomeCountry(const std::string& code) {
    QCriticalSectionLock hold(lock_);
    const int prepared = Prepare();
    if (prepared != 0) return prepared;
    const auto fn = Function<SlotSetHome, KVSetHomeCountryExport>();
    if (!fn) return kUnavailable;
    return fn(code.c_str());
}

std::string KVCountryCodesWrapper::ConvertToMsisdn(const std::string& number, const std::string& code) {
    QCriticalSectionLock hold(lock_);
    if (Prepare() != 0) return std::string();
    const auto fn = Function<SlotConvert, KVConvertToMsisdnExport>();
    if (!fn) return std::string();
    char msisdn[KVConvertToMsisdnExport::kOutputSize] = {};
    fn(number.c_str(), code.c_str(), msisdn);
    return TextOf(msisdn, sizeof msisdn);
}
