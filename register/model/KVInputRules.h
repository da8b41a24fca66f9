// Platform-free rules behind the wizard's input checks (no message boxes, no service calls).
//   KVEmailParts         the three parts the model's e-mail check splits an address into
//   KVEmailVerdict       what the model's e-mail check concludes
//   KVPrefixCandidates   the dialling prefixes a typed mobile number is looked up with
//   KVCountryLookup      the four country-service questions the number check asks
//   KVMsisdnVerdict      what the number check concludes
#pragma once

#include <string>

// The window's strict test of an address (it decides whether Next is enabled).
bool CheckEmailSyntax(std::string text);

struct KVEmailParts {
    std::string local;     // before the first "@" (everything when there is none)
    std::string domain;    // after the "@", up to its first "."
    std::string topLevel;  // after that "."
};
KVEmailParts SplitEmail(const std::string& address);

enum class KVEmailVerdict { Ok, ConfirmationDiffers, BadFormat };
// An empty address passes; an empty confirmation is not compared.
KVEmailVerdict JudgeEmail(const std::string& address, const std::string& confirmation);

// Up to two prefixes in the order they are asked; an empty text means "not asked".
struct KVPrefixCandidates {
    std::string first;
    std::string second;
};
KVPrefixCandidates MsisdnPrefixCandidates(const std::string& number);

class KVCountryLookup {
public:
    virtual ~KVCountryLookup() = default;
    virtual std::string GetCountryOnPrefix(const std::string& prefix) = 0;
    virtual std::string GetHomeCountry() = 0;
    virtual std::string ConvertToMsisdn(const std::string& number, const std::string& country) = 0;
    virtual int SetHomeCountry(const std::string& country) = 0;
};

struct KVMsisdnVerdict {
    bool valid = false;
    std::string msisdn;  // the number as it goes on (may have gained "+47")
};
// Finds the number's country, checks it with the service and, when it is accepted, makes
// that country the service's home country.
KVMsisdnVerdict JudgeMsisdn(const std::string& number, KVCountryLookup& lookup);
