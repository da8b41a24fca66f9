// Platform-free rules behind the wizard's input checks (no message boxes, no service calls).
//   KVEmailParts         the three parts the model's e-mail check splits an address into
//   KVEmailVerdict       what the model's e-mail check concludes
//   KVPrefixCandidates   the dialling prefixes a typed mobile number is looked up with
//   KVCountryLookup      the four country-service questions the number check asks
//   KVMsisdnVerdict      what the number check concludes
//   KVNextRule           what decides whether a form page's Next is enabled
#pragma once

#include <cstdint>
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

// A form page's Next: enabled while the model shows the page, no required field is empty and
// the e-mail address, when the layout has the field, passes the strict test. The fields are
// read only as far as the rule needs them: a window reads them at every key.
struct KVNextRule {
    uint32_t requiredMask = 0;  // the required bits of the page's fields
    bool emailPresent = false;  // the layout has an e-mail field (on either page)

    // emptyBits(mask): the bits of `mask` whose fields have no text, the fields the layout
    // does not place among them (so a required e-mail without its confirmation keeps Next
    // disabled); email(): the address typed.
    template <typename EmptyBits, typename Email>
    bool Enables(bool pageShown, EmptyBits&& emptyBits, Email&& email) const {
        return pageShown && (requiredMask == 0 || (emptyBits(requiredMask) & requiredMask) == 0) &&
               (!emailPresent || CheckEmailSyntax(email()));
    }
};
