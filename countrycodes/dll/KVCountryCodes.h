// Exports of KVCountryCodes.dll: plain cdecl functions with undecorated names, taking and
// giving single-byte (code page 1252) zero-terminated texts. Every output buffer is always
// terminated and never written past its size.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Five caller-owned buffers of 8, 64, 8, 8 and 8 bytes: region code, display name,
// calling code, international prefix, trunk prefix.
struct KVCountryInfo {
    char* code;
    char* name;
    char* callingCode;
    char* internationalPrefix;
    char* trunkPrefix;
};

int __cdecl KVCountryInit(const char* keyPath);
const char* __cdecl KVGetCountries(int* status);
int __cdecl KVGetCountryInfo(const char* code, struct KVCountryInfo* info);
int __cdecl KVGetCountryOnPrefix(const char* digits, char* code8);
int __cdecl KVGetHomeCountry(char* code8);
int __cdecl KVSetHomeCountry(const char* code);
int __cdecl KVConvertToMsisdn(const char* number, const char* code, char* msisdn32);
int __cdecl KVGetCountryOnName(const char* name, char* code8);
int __cdecl KVGetCountryOnCode(const char* callingCode, char* code8);
int __cdecl KVCountryLoad(const char* path);
int __cdecl KVConvertToNumber(const char* msisdn, char* buffer, int size);

#ifdef __cplusplus
}
#endif
