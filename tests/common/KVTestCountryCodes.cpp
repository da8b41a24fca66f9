// A scripted stand-in for the sibling country-code library, built three ways by the test tree:
// complete, without KVGetCountries (KVTEST_NO_COUNTRIES), and with an initialisation that
// answers 5 (KVTEST_INIT_RESULT). It knows three countries and records every call it gets;
// KVTestCalls hands the record to the test. Every initialisation makes Norway home again, and
// counts whether the wizard in this process showed a page by then.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "countrycodes/dll/KVCountryCodesApi.h"
#include "register/view/KVRegisterViewIds.h"

#ifndef KVTEST_INIT_RESULT
#define KVTEST_INIT_RESULT 0
#endif

#define KVTEST_EXPORT extern "C" __declspec(dllexport)

namespace {

std::string g_calls;
std::string g_home = "NO";
int g_initsBeforePage = 0;

void Record(const std::string& call) { g_calls += call + "\n"; }

void Put(char* buffer, size_t size, const std::string& text) { std::snprintf(buffer, size, "%s", text.c_str()); }

struct Country {
    const char* code;
    const char* prefix;
    const char* name;
};
const Country kCountries[] = {{"NO", "47", "Norway"}, {"SE", "46", "Sweden"}, {"FI", "358", "Finland"}};

const Country* ByCode(const char* code) {
    for (const Country& c : kCountries)
        if (std::strcmp(c.code, code) == 0) return &c;
    return nullptr;
}

// A wizard window on display with the Next button of a form page shown.
bool WizardShowsAFormPage() {
    HWND wizard = FindWindowA(kWizardClassName, nullptr);
    if (!wizard || !IsWindowVisible(wizard)) return false;
    for (int next : {ID_QUERYREGISTER_NEXT, ID_USERINFO_NEXT}) {
        HWND button = GetDlgItem(wizard, next);
        if (button && IsWindowVisible(button)) return true;
    }
    return false;
}

}  // namespace

KVTEST_EXPORT const char* __cdecl KVTestCalls() { return g_calls.c_str(); }
KVTEST_EXPORT void __cdecl KVTestClearCalls() {
    g_calls.clear();
    g_initsBeforePage = 0;
}
KVTEST_EXPORT int __cdecl KVTestInitsBeforePage() { return g_initsBeforePage; }

KVTEST_EXPORT int __cdecl KVCountryInit(const char* keyPath) {
    Record(std::string("KVCountryInit ") + keyPath);
    if (!WizardShowsAFormPage()) ++g_initsBeforePage;
    g_home = "NO";
    return KVTEST_INIT_RESULT;
}

#ifndef KVTEST_NO_COUNTRIES
KVTEST_EXPORT const char* __cdecl KVGetCountries(int* status) {
    Record("KVGetCountries");
    *status = KVGetCountriesExport::kListed;
    return "NO;SE;FI";
}
#endif

KVTEST_EXPORT int __cdecl KVGetCountryInfo(const char* code, KVCountryInfoRecord* info) {
    Record(std::string("KVGetCountryInfo ") + code);
    const Country* c = ByCode(code);
    if (!c) return KVGetCountryInfoExport::kUnknownCode;
    Put(info->code, KVCountryInfoRecord::kCodeSize, c->code);
    Put(info->name, KVCountryInfoRecord::kNameSize, c->name);
    Put(info->callingCode, KVCountryInfoRecord::kCallingCodeSize, c->prefix);
    return KVGetCountryInfoExport::kFilled;
}

KVTEST_EXPORT int __cdecl KVGetCountryOnPrefix(const char* digits, char* code) {
    Record(std::string("KVGetCountryOnPrefix ") + digits);
    // "99" fills the whole buffer without a terminator, as a careless library might.
    if (std::strcmp(digits, "99") == 0) {
        std::memset(code, 'X', KVGetCountryOnPrefixExport::kOutputSize);
        return KVGetCountryOnPrefixExport::kFound;
    }
    for (const Country& c : kCountries) {
        if (std::strcmp(c.prefix, digits) == 0) {
            Put(code, KVGetCountryOnPrefixExport::kOutputSize, c.code);
            return KVGetCountryOnPrefixExport::kFound;
        }
    }
    return KVGetCountryOnPrefixExport::kNotFound;
}

KVTEST_EXPORT int __cdecl KVGetHomeCountry(char* code) {
    Record("KVGetHomeCountry");
    Put(code, KVGetHomeCountryExport::kOutputSize, g_home);
    return KVGetHomeCountryExport::kFound;
}

KVTEST_EXPORT int __cdecl KVSetHomeCountry(const char* code) {
    Record(std::string("KVSetHomeCountry ") + code);
    g_home = code;
    return KVSetHomeCountryExport::kStored;
}

// A mobile number here is the country's prefix in international form ("+" or "00")
// followed by exactly eight digits that start with 4 or 9.
KVTEST_EXPORT int __cdecl KVConvertToMsisdn(const char* number, const char* code, char* msisdn) {
    Record(std::string("KVConvertToMsisdn ") + number + " " + code);
    const Country* c = ByCode(code);
    if (!c) return KVConvertToMsisdnExport::kNotMobile;
    std::string n = number;
    if (n.compare(0, 2, "00") == 0) n = "+" + n.substr(2);
    const std::string head = std::string("+") + c->prefix;
    if (n.compare(0, head.size(), head) != 0) return KVConvertToMsisdnExport::kNotMobile;
    const std::string local = n.substr(head.size());
    if (local.size() != 8 || (local[0] != '4' && local[0] != '9') ||
        local.find_first_not_of("0123456789") != std::string::npos)
        return KVConvertToMsisdnExport::kNotMobile;
    Put(msisdn, KVConvertToMsisdnExport::kOutputSize, n);
    return KVConvertToMsisdnExport::kValid;
}
