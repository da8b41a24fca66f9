/* KVRegisterC.dll: the sign-up wizard for any host that can call a Win32 DLL (C, C++ of any
 * compiler, .NET through P/Invoke). Compiles as C99 and as C++; no standard-library types.
 *   KVRESULT_... / KVACTION_...            what the server answered / what the host is to do next
 *   KVREGISTER_OK ... KVREGISTER_BADTEXT   what a call returns
 *   KVTEXT_...                             one bit per text, for TextErrors
 *   KVResultRecordA / W                    the host's last server answer (read by the DLL)
 *   KVActionRecordA / W                    the next action and the account fields (written by it)
 *   KVRegisterInitA / W, KVRegisterInternalA / W   the exports (WINAPI, undecorated names)
 * The A functions take texts in the system's code page, the W functions UTF-16; both drive the
 * same wizard, whose own texts are single-byte. Each record begins with its size in bytes: set
 * Size to sizeof the record before every call. Later versions only append fields, so a record
 * of this version stays valid. Texts are zero-terminated within their arrays; a text that does
 * not fit, or a character that the code page cannot hold, is reported (KVREGISTER_TEXTTOOLONG,
 * KVREGISTER_BADTEXT with the text's bit in TextErrors) and never cut or replaced.
 * The protocol, field by field: integration.md. */
#ifndef KVREGISTERC_H
#define KVREGISTERC_H

#include <windows.h>

/* Capacity of each text array in characters, the terminating zero included. */
#define KVREGISTER_TEXT_CHARS 256    /* account fields, keys, the registration code */
#define KVREGISTER_MESSAGE_CHARS 1024 /* ResultText, InfoText, ErrorText */

/* The codes are shared with KVRegisterApi.h (the C++ interface of KVRegister.dll). */
#ifndef KVREGISTER_CODES_DEFINED
#define KVREGISTER_CODES_DEFINED
enum KVResultCode {
    KVRESULT_NONE = 0,           /* the first step of a run */
    KVRESULT_REGISTERED = 1,     /* the account is registered (InfoText: the final page) */
    KVRESULT_VALIDATE = 2,       /* a registration code was sent to the phone */
    KVRESULT_PENDING = 3,        /* the server is busy; ask again after WaitSeconds */
    KVRESULT_ERROR = 4,          /* the request failed: ErrorKey, ErrorText */
    KVRESULT_QUERIEDREGISTER = 6 /* the number and address may register */
};
enum KVActionCode {
    KVACTION_FINISHED = 0,     /* stop: the account is registered */
    KVACTION_REGISTER = 1,     /* send the registration with the account fields */
    KVACTION_VALIDATE = 2,     /* check RegCode with the server */
    KVACTION_CANCEL = 3,       /* stop: the person cancelled, or a fatal error was shown */
    KVACTION_ERROR = 5,        /* stop: the wizard could not run; show ErrorText */
    KVACTION_QUERYREGISTER = 6 /* ask whether Msisdn and UserEmail may register */
};
#endif

/* What KVRegisterInit… and KVRegisterInternal… return. */
enum KVRegisterStatus {
    KVREGISTER_OK = 0,          /* the call ran */
    KVREGISTER_FAILED = 1,      /* the wizard could not run: Action is KVACTION_ERROR */
    KVREGISTER_TEXTTOOLONG = 2, /* the step ran, but the texts marked in TextErrors did not
                                   fit their arrays and are left empty */
    KVREGISTER_BADRECORD = 3,   /* a record or text pointer is null, or a Size is too small:
                                   nothing ran, nothing changed */
    KVREGISTER_BADTEXT = 4      /* a text given has no terminator within its array, is not
                                   valid UTF-16, or holds a character the system code page
                                   cannot hold (TextErrors says which): nothing ran */
};

/* One bit per text, in TextErrors. */
enum KVTextBit {
    KVTEXT_MSISDN = 0x0001,
    KVTEXT_USERNAME = 0x0002,
    KVTEXT_USERPASSWORD = 0x0004,
    KVTEXT_USEREMAIL = 0x0008,
    KVTEXT_CONTACTPERSON = 0x0010,
    KVTEXT_CONTACTINFO = 0x0020,
    KVTEXT_GROUPID = 0x0040,
    KVTEXT_REGCODE = 0x0080,
    KVTEXT_ERRORKEY = 0x0100,
    KVTEXT_ERRORTEXT = 0x0200,
    KVTEXT_RESULTTEXT = 0x0400,
    KVTEXT_INFOTEXT = 0x0800,
    KVTEXT_KEYPATH = 0x1000
};

/* The host's last server answer. 3340 bytes (A) / 6668 bytes (W), 4-byte aligned, the same
 * on 32- and 64-bit Windows. */
typedef struct KVResultRecordA {
    UINT32 Size;       /* sizeof(KVResultRecordA) */
    INT32 Result;      /* KVRESULT_... */
    INT32 WaitSeconds; /* with KVRESULT_PENDING */
    char ResultText[KVREGISTER_MESSAGE_CHARS];
    char InfoText[KVREGISTER_MESSAGE_CHARS]; /* with KVRESULT_REGISTERED; empty: finish at once */
    char ErrorKey[KVREGISTER_TEXT_CHARS];    /* with KVRESULT_ERROR */
    char ErrorText[KVREGISTER_MESSAGE_CHARS];
} KVResultRecordA;

typedef struct KVResultRecordW {
    UINT32 Size;
    INT32 Result;
    INT32 WaitSeconds;
    WCHAR ResultText[KVREGISTER_MESSAGE_CHARS];
    WCHAR InfoText[KVREGISTER_MESSAGE_CHARS];
    WCHAR ErrorKey[KVREGISTER_TEXT_CHARS];
    WCHAR ErrorText[KVREGISTER_MESSAGE_CHARS];
} KVResultRecordW;

/* The next action. Every text holds the run's current value after each step; the DLL reads
 * only Size. 3344 bytes (A) / 6672 bytes (W), 4-byte aligned, the same on both sizes. */
typedef struct KVActionRecordA {
    UINT32 Size;       /* sizeof(KVActionRecordA) */
    INT32 Action;      /* KVACTION_... */
    INT32 UseIp;       /* the UseIp switch of register.cfg (1 or 2), passed through */
    UINT32 TextErrors; /* KVTEXT_... bits, with KVREGISTER_TEXTTOOLONG or KVREGISTER_BADTEXT */
    char Msisdn[KVREGISTER_TEXT_CHARS];
    char UserName[KVREGISTER_TEXT_CHARS];
    char UserPassword[KVREGISTER_TEXT_CHARS];
    char UserEmail[KVREGISTER_TEXT_CHARS];
    char ContactPerson[KVREGISTER_TEXT_CHARS];
    char ContactInfo[KVREGISTER_TEXT_CHARS];
    char GroupId[KVREGISTER_TEXT_CHARS];
    char RegCode[KVREGISTER_TEXT_CHARS];
    char ErrorKey[KVREGISTER_TEXT_CHARS]; /* with KVACTION_ERROR */
    char ErrorText[KVREGISTER_MESSAGE_CHARS];
} KVActionRecordA;

typedef struct KVActionRecordW {
    UINT32 Size;
    INT32 Action;
    INT32 UseIp;
    UINT32 TextErrors;
    WCHAR Msisdn[KVREGISTER_TEXT_CHARS];
    WCHAR UserName[KVREGISTER_TEXT_CHARS];
    WCHAR UserPassword[KVREGISTER_TEXT_CHARS];
    WCHAR UserEmail[KVREGISTER_TEXT_CHARS];
    WCHAR ContactPerson[KVREGISTER_TEXT_CHARS];
    WCHAR ContactInfo[KVREGISTER_TEXT_CHARS];
    WCHAR GroupId[KVREGISTER_TEXT_CHARS];
    WCHAR RegCode[KVREGISTER_TEXT_CHARS];
    WCHAR ErrorKey[KVREGISTER_TEXT_CHARS];
    WCHAR ErrorText[KVREGISTER_MESSAGE_CHARS];
} KVActionRecordW;

/* The layout is the contract: checked wherever this header is compiled, on every target. */
#if defined(__cplusplus) && (__cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1900))
#define KVREGISTER_ASSERT(condition, name) static_assert(condition, #name)
#define KVREGISTER_ALIGNOF(type) alignof(type)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define KVREGISTER_ASSERT(condition, name) _Static_assert(condition, #name)
#define KVREGISTER_ALIGNOF(type) _Alignof(type)
#else
/* C99 and older C++: a negative array size stops the build; alignment is checked by the rest. */
#define KVREGISTER_ASSERT(condition, name) typedef char kvregister_assert_##name[(condition) ? 1 : -1]
#endif
KVREGISTER_ASSERT(sizeof(KVResultRecordA) == 3340, result_record_a_size);
KVREGISTER_ASSERT(sizeof(KVResultRecordW) == 6668, result_record_w_size);
KVREGISTER_ASSERT(sizeof(KVActionRecordA) == 3344, action_record_a_size);
KVREGISTER_ASSERT(sizeof(KVActionRecordW) == 6672, action_record_w_size);
#ifdef KVREGISTER_ALIGNOF
KVREGISTER_ASSERT(KVREGISTER_ALIGNOF(KVResultRecordA) == 4, result_record_a_alignment);
KVREGISTER_ASSERT(KVREGISTER_ALIGNOF(KVResultRecordW) == 4, result_record_w_alignment);
KVREGISTER_ASSERT(KVREGISTER_ALIGNOF(KVActionRecordA) == 4, action_record_a_alignment);
KVREGISTER_ASSERT(KVREGISTER_ALIGNOF(KVActionRecordW) == 4, action_record_w_alignment);
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Once per process, before the first step: the product's registry key path below
 * HKEY_CURRENT_USER (falling back to HKEY_LOCAL_MACHINE), e.g.
 * "Software\\Korvane\\VerazevEzude\\2.0". Opens the log. KVREGISTER_OK, or
 * KVREGISTER_BADRECORD (null) or KVREGISTER_BADTEXT (W: not in the code page). */
int WINAPI KVRegisterInitA(const char* keyPath);
int WINAPI KVRegisterInitW(const WCHAR* keyPath);

/* One step: blocks the calling thread until the wizard has an answer, and keeps its windows
 * painted meanwhile. `owner` is optional (NULL for none): the wizard a step opens is centred
 * on it. Calls never overlap; call from one thread. */
int WINAPI KVRegisterInternalA(const KVResultRecordA* result, KVActionRecordA* action, HWND owner);
int WINAPI KVRegisterInternalW(const KVResultRecordW* result, KVActionRecordW* action, HWND owner);

/* The same, as a host that loads the DLL with GetProcAddress declares them. */
typedef int(WINAPI* KVRegisterInitAFn)(const char* keyPath);
typedef int(WINAPI* KVRegisterInitWFn)(const WCHAR* keyPath);
typedef int(WINAPI* KVRegisterInternalAFn)(const KVResultRecordA* result, KVActionRecordA* action, HWND owner);
typedef int(WINAPI* KVRegisterInternalWFn)(const KVResultRecordW* result, KVActionRecordW* action, HWND owner);

#ifdef __cplusplus
}
#endif

#endif /* KVREGISTERC_H */
