#include "register/model/KVInputRules.h"

#include <cstring>

namespace {

const char kRefused[] = "(),:;<>[]\\\"";

bool IsRefused(char c) { return c != '\0' && std::strchr(kRefused, c) != nullptr; }

bool IsVisibleAscii(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    return b >= 0x21 && b <= 0x7E;
}

}  // namespace

bool CheckEmailSyntax(std::string text) {
    for (char c : text)
        if (IsRefused(c)) return false;
    for (char c : text)
        if (!IsVisibleAscii(c)) return false;
    const size_t at = text.find('@');
    if (at == std::string::npos) return false;
    if (text.find('@', at + 1) != std::string::npos) return false;
    const size_t lastDot = text.rfind('.');
    if (lastDot == std::string::npos) return false;
    if (text.find("..") != std::string::npos) return false;
    if (at == 0) return false;
    if (lastDot < at || lastDot - at < 2) return false;
    return text.size() - lastDot - 1 >= 2;
}

KVEmailParts SplitEmail(const std::string& address) {
    KVEmailParts parts;
    const size_t at = address.find('@');
    parts.local = address.substr(0, at);
    if (at == std::string::npos) return parts;
    const std::string rest = address.substr(at + 1);
    const size_t dot = rest.find('.');
    parts.domain = rest.substr(0, dot);
    if (dot != std::string::npos) parts.topLevel = rest.substr(dot + 1);
    return parts;
}

KVEmailVerdict JudgeEmail(const std::string& address, const std::string& confirmation) {
    if (address.empty()) return KVEmailVerdict::Ok;
    if (!confirmation.empty() && confirmation != address) return KVEmailVerdict::ConfirmationDiffers;
    const KVEmailParts parts = SplitEmail(address);
    if (parts.local.empty() || parts.domain.empty() || parts.topLevel.empty())
        return KVEmailVerdict::BadFormat;
    return KVEmailVerdict::Ok;
}

KVPrefixCandidates MsisdnPrefixCandidates(const std::string& number) {
    KVPrefixCandidates c;
    if (number.compare(0, 1, "+") == 0) {
        if (number.size() >= 4) c.first = number.substr(1, 2);
        if (number.size() >= 5) c.second = number.substr(1, 3);
    } else if (number.compare(0, 2, "00") == 0) {
        if (number.size() >= 5) c.first = number.substr(2, 3);
        if (number.size() >= 6) c.second = number.substr(2, 4);
    }
    return c;
}

KVMsisdnVerdict JudgeMsisdn(const std::string& number, KVCountryLookup& lookup) {
    KVMsisdnVerdict verdict;
    verdict.msisdn = number;
    if (number.empty()) {
        verdict.valid = true;
        return verdict;
    }
    const KVPrefixCandidates prefixes = MsisdnPrefixCandidates(number);
    std::string country;
    if (!prefixes.first.empty()) country = lookup.GetCountryOnPrefix(prefixes.first);
    if (country.empty() && !prefixes.second.empty())
        country = lookup.GetCountryOnPrefix(prefixes.second);
    if (country.empty()) {
        // The home country stands in for a number typed without an international prefix;
        // Norwegian numbers are then written in their international form.
        country = lookup.GetHomeCountry();
        if (country == "NO") verdict.msisdn = "+47" + number;
    }
    if (!country.empty() && !lookup.ConvertToMsisdn(verdict.msisdn, country).empty()) {
        lookup.SetHomeCountry(country);
        verdict.valid = true;
    }
    return verdict;
}
