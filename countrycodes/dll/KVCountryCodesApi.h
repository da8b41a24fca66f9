// The contract between KVCountryCodes.dll and whoever loads it, in one place so that the
// library, the wizard's wrapper and the test libraries cannot drift apart.
//   KVCountryInfoRecord   the five caller-owned buffers the country-information export fills
//   KV...Export           one per export: its function type, the name it is exported under,
//                         the size of its output buffer and the codes it answers
// Exports are plain cdecl C functions with undecorated names in the 32- and 64-bit DLL.
// Texts are single-byte (code page 1252) and zero-terminated; every output buffer is
// terminated and never written past its size, and is emptied first so that a failure
// leaves "".
#pragma once

#include <cstddef>

#ifdef _WIN32
#define KV_COUNTRY_CALL __cdecl
#else
#define KV_COUNTRY_CALL
#endif

struct KVCountryInfoRecord {
    static constexpr std::size_t kCodeSize = 8;
    static constexpr std::size_t kNameSize = 64;
    static constexpr std::size_t kCallingCodeSize = 8;
    static constexpr std::size_t kInternationalPrefixSize = 8;
    static constexpr std::size_t kTrunkPrefixSize = 8;

    char* code;
    char* name;  // the only field the wizard reads
    char* callingCode;
    char* internationalPrefix;
    char* trunkPrefix;
};

// Every export that hands back a region code writes it into a buffer of this size.
constexpr std::size_t kKVRegionCodeSize = KVCountryInfoRecord::kCodeSize;

struct KVCountryInitExport {
    using Fn = int KV_COUNTRY_CALL(const char* keyPath);
    static constexpr char kName[] = "KVCountryInit";
    enum Result : int { kReady = 0, kFailed = 1, kNoTable = 2 };
};

// The text stays valid until the next call; `status` receives a Result.
struct KVGetCountriesExport {
    using Fn = const char* KV_COUNTRY_CALL(int* status);
    static constexpr char kName[] = "KVGetCountries";
    enum Result : int { kListed = 0, kFailed = 1 };
};

struct KVGetCountryInfoExport {
    using Fn = int KV_COUNTRY_CALL(const char* code, KVCountryInfoRecord* info);
    static constexpr char kName[] = "KVGetCountryInfo";
    enum Result : int { kFilled = 0, kUnknownCode = 1, kNullArgument = 2, kFailed = 3 };
};

// The exports that look a region up by something else all answer alike.
struct KVRegionLookupExport {
    static constexpr std::size_t kOutputSize = kKVRegionCodeSize;
    enum Result : int { kFound = 0, kNotFound = 1, kFailed = 2 };
};

struct KVGetCountryOnPrefixExport : KVRegionLookupExport {
    using Fn = int KV_COUNTRY_CALL(const char* digits, char* code);
    static constexpr char kName[] = "KVGetCountryOnPrefix";
};

struct KVGetHomeCountryExport {
    using Fn = int KV_COUNTRY_CALL(char* code);
    static constexpr char kName[] = "KVGetHomeCountry";
    static constexpr std::size_t kOutputSize = kKVRegionCodeSize;
    enum Result : int { kFound = 0, kFailed = 1 };
};

struct KVSetHomeCountryExport {
    using Fn = int KV_COUNTRY_CALL(const char* code);
    static constexpr char kName[] = "KVSetHomeCountry";
    enum Result : int { kStored = 0, kUnknownCode = 1, kRegistryFailed = 2, kFailed = 3 };
};

// An empty MSISDN (and kNotMobile) when the number is not a mobile number of that region.
struct KVConvertToMsisdnExport {
    using Fn = int KV_COUNTRY_CALL(const char* number, const char* code, char* msisdn);
    static constexpr char kName[] = "KVConvertToMsisdn";
    static constexpr std::size_t kOutputSize = 32;
    enum Result : int { kValid = 0, kNotMobile = 1, kFailed = 2 };
};

struct KVGetCountryOnNameExport : KVRegionLookupExport {
    using Fn = int KV_COUNTRY_CALL(const char* name, char* code);
    static constexpr char kName[] = "KVGetCountryOnName";
};

struct KVGetCountryOnCodeExport : KVRegionLookupExport {
    using Fn = int KV_COUNTRY_CALL(const char* callingCode, char* code);
    static constexpr char kName[] = "KVGetCountryOnCode";
};

// A malformed table leaves the one in use in place.
struct KVCountryLoadExport {
    using Fn = int KV_COUNTRY_CALL(const char* path);
    static constexpr char kName[] = "KVCountryLoad";
    enum Result : int { kLoaded = 0, kUnreadable = 1, kMalformed = 2, kFailed = 3 };
};

// The caller names its buffer's size; the layout is cut to fit (kCut) when it is too small.
struct KVConvertToNumberExport {
    using Fn = int KV_COUNTRY_CALL(const char* msisdn, char* buffer, int size);
    static constexpr char kName[] = "KVConvertToNumber";
    enum Result : int { kDone = 0, kNotMsisdn = 1, kCut = 2, kNoBuffer = 3, kFailed = 4 };
};

// The library's definitions must match these; anyone else binds by name at run time.
extern "C" {
KVCountryInitExport::Fn KVCountryInit;
KVGetCountriesExport::Fn KVGetCountries;
KVGetCountryInfoExport::Fn KVGetCountryInfo;
KVGetCountryOnPrefixExport::Fn KVGetCountryOnPrefix;
KVGetHomeCountryExport::Fn KVGetHomeCountry;
KVSetHomeCountryExport::Fn KVSetHomeCountry;
KVConvertToMsisdnExport::Fn KVConvertToMsisdn;
KVGetCountryOnNameExport::Fn KVGetCountryOnName;
KVGetCountryOnCodeExport::Fn KVGetCountryOnCode;
KVCountryLoadExport::Fn KVCountryLoad;
KVConvertToNumberExport::Fn KVConvertToNumber;
}
