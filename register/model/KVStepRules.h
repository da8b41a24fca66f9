// What a step's records mean, for the model and for any host that answers it (no <windows.h>).
//   KVServerErrorRule   one error key a registration server answers: how the wizard treats it and
//                   the text a server sends with it
// Free functions: KVEndsRun, KVFindServerError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "include/KVRegisterApi.h"
#include "register/model/KVModelCodes.h"

// The action ends the run: the host makes no further step.
constexpr bool KVEndsRun(int32_t action) {
    return action == KVACTION_FINISHED || action == KVACTION_CANCEL || action == KVACTION_ERROR;
}

struct KVServerErrorRule {
    const char* key;
    bool fatal;              // the run ends after the message
    int32_t pageAfter;       // the page shown after the message; PAGE_NONE keeps the page that failed
    const char* languageKey; // the wizard's own message, or empty for the server's text
    const char* defaultText;
    const char* serverText;  // what a server sends with the key
};

inline constexpr char kMsisdnErrorLanguageKey[] = "Message.ErrorInvalidMsisdn";
inline constexpr char kMsisdnErrorDefaultText[] = "The given phone number not a valid mobile phone number.";
inline constexpr char kUnknownErrorLanguageKey[] = "Message.ErrorUnknown";
inline constexpr char kUnknownErrorDefaultText[] = "An unknown error occurred.";

// Compared in this order; the first exact match decides.
inline constexpr KVServerErrorRule kServerErrors[] = {
    {"SERVER NOT FOUND", true, KVPages::PAGE_NONE, "Message.ErrorRemoteHostNotFound",
     "The Remote Host could not be found. Are you connected to the Internet?",
     "The registration server cannot be reached."},
    {"HTTPERROR", true, KVPages::PAGE_NONE, "Message.ErrorServiceNotFound",
     "The service could not be located on the Remote Host.", "The registration service answered with an HTTP error."},
    {"MSISDN ERROR", false, KVPages::PAGE_NONE, kMsisdnErrorLanguageKey, kMsisdnErrorDefaultText,
     "The mobile phone number is not valid."},
    {"UNKNOWN ERROR", true, KVPages::PAGE_NONE, kUnknownErrorLanguageKey, kUnknownErrorDefaultText,
     "The registration server failed."},
    {"SPIsNotAllowed", true, KVPages::PAGE_NONE, "", "", "Your service provider does not allow this service."},
    {"InvalidFormat-MSISDN", false, KVPages::PAGE_NONE, "", "",
     "The mobile phone number is not in international format."},
    {"CorporateDisallow", false, KVPages::PAGE_NONE, "", "", "Your company does not allow you to register."},
    {"GroupIdNotValid", false, KVPages::PAGE_NONE, "", "", "The group name is not known."},
    {"RemoteIPNotValid", false, KVPages::PAGE_NONE, "", "", "Registrations from your network are not accepted."},
    {"ExternalDisallow", false, KVPages::PAGE_NONE, "", "",
     "Registrations from outside your company are not accepted."},
    {"ExternalError", true, KVPages::PAGE_NONE, "", "", "An external service of the registration server failed."},
    {"RegMSISDNNotAllowed", false, KVPages::PAGE_NONE, "", "", "This mobile phone number may not register."},
    {"RegCodeBlocked", true, KVPages::PAGE_NONE, "", "", "Too many wrong registration codes: the number is blocked."},
    {"RegTaskFailed", false, KVPages::PAGE_USERINFO, "", "",
     "The registration could not be completed. Please try again."},
    {"RegCodeExpired", false, KVPages::PAGE_USERINFO, "", "",
     "The registration code has expired. Please register again."},
    {"InvalidRegCode", false, KVPages::PAGE_VALIDATE, "", "", "The registration code is not valid."},
    {"EmailNotValid", false, KVPages::PAGE_NONE, "", "", "The e-mail address is not accepted."},
    {"RegError", true, KVPages::PAGE_NONE, "", "", "The registration failed."},
    {"RegCodeNotSent", false, KVPages::PAGE_USERINFO, "", "",
     "No registration code could be sent. Please register again."},
    {"CorporateNotValid", false, KVPages::PAGE_NONE, "", "", "The company account is not valid."},
    {"NoMatchMSISDNAccountID", false, KVPages::PAGE_NONE, "", "",
     "The mobile phone number does not match the account."},
};
static_assert(std::size(kServerErrors) == 21, "21 server error keys");

// The row of a key, compared exactly; null for a key no server answers.
constexpr const KVServerErrorRule* KVFindServerError(std::string_view key) {
    for (const KVServerErrorRule& e : kServerErrors)
        if (key == e.key) return &e;
    return nullptr;
}
