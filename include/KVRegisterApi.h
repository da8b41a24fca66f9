// What a host needs to drive KVRegister.dll: the boundary records with their codes, and the
// two exports as the host finds them with GetProcAddress. The DLL compiles against this same
// header, so the two sides cannot drift apart.
//   KVResultCode / KVActionCode     what the server answered / what the host is to do next
//   KVResultRecord                  the host's last server answer (read only by the DLL)
//   KVActionRecord                  the next action and the account fields (written by the DLL)
//   KVRegisterInitFn / ...Internal  the exports' signatures, with their names
// Host and DLL must be built with the same standard string type; field order is the
// contract, so never reorder or insert fields.
#pragma once

#include <cstdint>
#include <string>

#if defined(_WIN32)
#define KVREGISTER_CALL __cdecl
#else
#define KVREGISTER_CALL
#endif

// The codes are shared with KVRegisterC.h, which a program may include as well.
#ifndef KVREGISTER_CODES_DEFINED
#define KVREGISTER_CODES_DEFINED
enum KVResultCode : int32_t {
    KVRESULT_NONE = 0,
    KVRESULT_REGISTERED = 1,
    KVRESULT_VALIDATE = 2,
    KVRESULT_PENDING = 3,
    KVRESULT_ERROR = 4,
    KVRESULT_QUERIEDREGISTER = 6,
};

enum KVActionCode : int32_t {
    KVACTION_FINISHED = 0,
    KVACTION_REGISTER = 1,
    KVACTION_VALIDATE = 2,
    KVACTION_CANCEL = 3,
    KVACTION_ERROR = 5,
    KVACTION_QUERYREGISTER = 6,
};
#endif

struct KVResultRecord {
    int32_t Result = KVRESULT_NONE;
    std::string ResultText;
    std::string Reserved;  // room the host's layout keeps; never read by the DLL
    std::string InfoText;
    int32_t WaitSeconds = 0;
    std::string ErrorKey;
    std::string ErrorText;
};

struct KVActionRecord {
    int32_t Action = KVACTION_FINISHED;
    int32_t UseIp = 0;
    std::string Msisdn;
    std::string UserName;
    std::string UserPassword;
    std::string UserEmail;
    std::string ContactPerson;
    std::string ContactInfo;
    std::string GroupId;
    std::string RegCode;
    std::string ErrorKey;
    std::string ErrorText;
};

// A result record as a host fills it after a server request.
inline KVResultRecord KVResult(int32_t code) {
    KVResultRecord result;
    result.Result = code;
    return result;
}

inline KVResultRecord KVServerError(const std::string& key, const std::string& text) {
    KVResultRecord result = KVResult(KVRESULT_ERROR);
    result.ErrorKey = key;
    result.ErrorText = text;
    return result;
}

// Once per process, before the first step: the product's registry key path (below
// HKEY_CURRENT_USER, falling back to HKEY_LOCAL_MACHINE). Always 0.
using KVRegisterInitFn = int(KVREGISTER_CALL*)(const std::string& keyPath);
// One step: 0 when it ran, 1 when the DLL could not run the wizard (Action is then
// KVACTION_ERROR with ErrorKey and ErrorText). Blocks until the wizard has an answer.
using KVRegisterInternalFn = int(KVREGISTER_CALL*)(const KVResultRecord* result, KVActionRecord* action);

constexpr const char kKVRegisterInitName[] = "KVRegisterInit";
constexpr const char kKVRegisterInternalName[] = "KVRegisterInternal";
// The name a host loads the DLL by, from the add-in's own folder.
constexpr const char kKVRegisterDllName[] = "KVRegister.dll";

extern "C" {
int KVREGISTER_CALL KVRegisterInit(const std::string& keyPath);
int KVREGISTER_CALL KVRegisterInternal(const KVResultRecord* result, KVActionRecord* action);
}
