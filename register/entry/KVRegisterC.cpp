// The plain-C exports of KVRegisterC.dll (include/KVRegisterC.h): the host's records are
// checked and converted to the wizard's own at the boundary, and the wizard's answer back.
#include <windows.h>

#include <cstring>
#include <string>

#include "include/KVRegisterC.h"
#include "register/entry/KVRegister.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/File/QLog.h"

namespace {

const char kFile[] = ".\\entry\\KVRegisterC.cpp";
const char kInit[] = "KVRegisterC::Init";
const char kInternal[] = "KVRegisterC::Internal";

// The run's action record as a host of KVRegister.dll keeps it: a text the wizard leaves empty
// in a step keeps its value, so every step hands the C host the whole account. Calls never
// overlap, so one record serves; it starts empty with each run.
KVActionRecord g_action;

QLog* Log() {
    KVRegister* app = KVRegister::Get();
    return app ? app->GetLog() : nullptr;
}

const char* TextName(uint32_t bit) {
    switch (bit) {
    case KVTEXT_MSISDN: return "Msisdn";
    case KVTEXT_USERNAME: return "UserName";
    case KVTEXT_USERPASSWORD: return "UserPassword";
    case KVTEXT_USEREMAIL: return "UserEmail";
    case KVTEXT_CONTACTPERSON: return "ContactPerson";
    case KVTEXT_CONTACTINFO: return "ContactInfo";
    case KVTEXT_GROUPID: return "GroupId";
    case KVTEXT_REGCODE: return "RegCode";
    case KVTEXT_ERRORKEY: return "ErrorKey";
    case KVTEXT_ERRORTEXT: return "ErrorText";
    case KVTEXT_RESULTTEXT: return "ResultText";
    case KVTEXT_INFOTEXT: return "InfoText";
    case KVTEXT_KEYPATH: return "keyPath";
    default: return "?";
    }
}

std::string TextNames(uint32_t bits) {
    std::string names;
    for (uint32_t bit = 1; bit != 0 && bit <= bits; bit <<= 1)
        if ((bits & bit) != 0) names += (names.empty() ? "" : ", ") + std::string(TextName(bit));
    return names;
}

// --- From the host: a text up to its terminator, in the code page --------------------------

bool ToCodePage(const char* text, size_t length, std::string& out) {
    out.assign(text, length);
    return true;
}

bool ToCodePage(const WCHAR* text, size_t length, std::string& out) {
    out.clear();
    if (length == 0) return true;
    // A UTF-8 system code page knows every character, but refuses broken UTF-16; the others
    // say when they had to put their default character in for one they lack.
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    BOOL replaced = FALSE;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefault = utf8 ? nullptr : &replaced;
    const int count = static_cast<int>(length);
    const int needed = WideCharToMultiByte(codePage, flags, text, count, nullptr, 0, nullptr, usedDefault);
    if (needed <= 0) return false;
    out.resize(static_cast<size_t>(needed));
    const int written = WideCharToMultiByte(codePage, flags, text, count, &out[0], needed, nullptr, usedDefault);
    return written == needed && !replaced;
}

size_t Length(const char* text, size_t capacity) {
    const void* end = std::memchr(text, 0, capacity);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - text) : capacity;
}

size_t Length(const WCHAR* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length] != 0) ++length;
    return length;
}

// A text of the host's record; its bit goes into `errors` when it has no terminator within its
// array or cannot be said in the code page.
template <typename Char, size_t N>
void Take(const Char (&array)[N], uint32_t bit, std::string& out, uint32_t& errors) {
    const size_t length = Length(array, N);
    if (length == N || !ToCodePage(array, length, out)) errors |= bit;
}

// --- To the host: a text of the wizard into an array, whole or not at all ------------------

bool FromCodePage(const std::string& text, char* array, size_t capacity) {
    if (text.size() >= capacity) return false;
    std::memcpy(array, text.c_str(), text.size() + 1);
    return true;
}

bool FromCodePage(const std::string& text, WCHAR* array, size_t capacity) {
    if (text.empty()) {
        array[0] = 0;
        return true;
    }
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0 || static_cast<size_t>(needed) >= capacity) return false;
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, array, needed);
    array[needed] = 0;
    return true;
}

template <typename Char, size_t N>
void Give(const std::string& text, Char (&array)[N], uint32_t bit, uint32_t& errors) {
    if (FromCodePage(text, array, N)) return;
    array[0] = 0;
    errors |= bit;
}

template <typename Char>
int Init(const Char* keyPath) {
    try {
        KVRegister* app = KVRegister::Get();
        if (keyPath == nullptr || app == nullptr) {
            QLogEntry(Log(), QLog::LevelError, kInit) << "No key path";
            return KVREGISTER_BADRECORD;
        }
        std::string path;
        if (!ToCodePage(keyPath, std::char_traits<Char>::length(keyPath), path)) {
            QLogEntry(Log(), QLog::LevelError, kInit) << "The key path holds characters outside code page " << GetACP();
            return KVREGISTER_BADTEXT;
        }
        app->Init(path);
        return KVREGISTER_OK;
    } catch (...) {
        ReportCaughtError(kFile, kInit, __LINE__);
        return KVREGISTER_FAILED;
    }
}

template <typename Result, typename Action>
int Internal(const Result* result, Action* action, HWND owner) {
    if (result == nullptr || action == nullptr || result->Size < sizeof(Result) || action->Size < sizeof(Action)) {
        QLogEntry(Log(), QLog::LevelError, kInternal)
            << "Refused: a record is missing or smaller than its " << sizeof(Result) << " / " << sizeof(Action)
            << " bytes";
        return KVREGISTER_BADRECORD;
    }
    try {
        KVResultRecord wizardResult;
        wizardResult.Result = result->Result;
        wizardResult.WaitSeconds = result->WaitSeconds;
        uint32_t errors = 0;
        Take(result->ResultText, KVTEXT_RESULTTEXT, wizardResult.ResultText, errors);
        Take(result->InfoText, KVTEXT_INFOTEXT, wizardResult.InfoText, errors);
        Take(result->ErrorKey, KVTEXT_ERRORKEY, wizardResult.ErrorKey, errors);
        Take(result->ErrorText, KVTEXT_ERRORTEXT, wizardResult.ErrorText, errors);
        action->TextErrors = errors;
        if (errors != 0) {
            QLogEntry(Log(), QLog::LevelError, kInternal)
                << "Refused: " << TextNames(errors) << " of the result record not terminated within "
                << "its array, or not in code page " << GetACP();
            return KVREGISTER_BADTEXT;
        }

        KVRegister* app = KVRegister::Get();
        if (app == nullptr) {
            action->Action = KVACTION_ERROR;
            return KVREGISTER_FAILED;
        }
        app->SetOwnerWindow(owner);
        const int failed = app->Register(wizardResult, g_action);
        action->Action = g_action.Action;
        action->UseIp = g_action.UseIp;
        Give(g_action.Msisdn, action->Msisdn, KVTEXT_MSISDN, errors);
        Give(g_action.UserName, action->UserName, KVTEXT_USERNAME, errors);
        Give(g_action.UserPassword, action->UserPassword, KVTEXT_USERPASSWORD, errors);
        Give(g_action.UserEmail, action->UserEmail, KVTEXT_USEREMAIL, errors);
        Give(g_action.ContactPerson, action->ContactPerson, KVTEXT_CONTACTPERSON, errors);
        Give(g_action.ContactInfo, action->ContactInfo, KVTEXT_CONTACTINFO, errors);
        Give(g_action.GroupId, action->GroupId, KVTEXT_GROUPID, errors);
        Give(g_action.RegCode, action->RegCode, KVTEXT_REGCODE, errors);
        Give(g_action.ErrorKey, action->ErrorKey, KVTEXT_ERRORKEY, errors);
        Give(g_action.ErrorText, action->ErrorText, KVTEXT_ERRORTEXT, errors);
        action->TextErrors = errors;
        if (errors != 0)
            QLogEntry(Log(), QLog::LevelError, kInternal)
                << "Left empty: " << TextNames(errors) << " did not fit the action record's arrays";
        const int32_t ended = g_action.Action;
        if (ended == KVACTION_FINISHED || ended == KVACTION_CANCEL || ended == KVACTION_ERROR)
            g_action = KVActionRecord();
        if (failed != 0) return KVREGISTER_FAILED;
        return errors != 0 ? KVREGISTER_TEXTTOOLONG : KVREGISTER_OK;
    } catch (...) {
        ReportCaughtError(kFile, kInternal, __LINE__);
        action->Action = KVACTION_ERROR;
        return KVREGISTER_FAILED;
    }
}

}  // namespace

// Exported under undecorated names by KVRegisterC.def.
extern "C" int WINAPI KVRegisterInitA(const char* keyPath) { return Init(keyPath); }

extern "C" int WINAPI KVRegisterInitW(const WCHAR* keyPath) { return Init(keyPath); }

extern "C" int WINAPI KVRegisterInternalA(const KVResultRecordA* result, KVActionRecordA* action, HWND owner) {
    return Internal(result, action, owner);
}

extern "C" int WINAPI KVRegisterInternalW(const KVResultRecordW* result, KVActionRecordW* action, HWND owner) {
    return Internal(result, action, owner);
}
