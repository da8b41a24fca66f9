// libFuzzer target for the platform-free input rules: any bytes, no crash, and the
// relations between the three rules hold.
#include "register/model/KVInputRules.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/common/KVFuzzRequire.h"

namespace {

class EchoLookup : public KVCountryLookup {
public:
    std::string GetCountryOnPrefix(const std::string& prefix) override {
        return prefix.size() == 3 ? "XX" : "";
    }
    std::string GetHomeCountry() override { return "NO"; }
    std::string ConvertToMsisdn(const std::string& number, const std::string&) override {
        return number.size() % 2 ? number : "";
    }
    int SetHomeCountry(const std::string&) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const KVEmailParts parts = SplitEmail(text);
    // The split loses exactly the "@" and the first dot after it.
    std::string joined = parts.local;
    if (text.find('@') != std::string::npos) {
        joined += "@" + parts.domain;
        if (text.find('.', text.find('@')) != std::string::npos) joined += "." + parts.topLevel;
    }
    Require(joined == text);

    if (CheckEmailSyntax(text)) {
        Require(!text.empty() && text.find(' ') == std::string::npos);
        Require(!parts.local.empty() && text.find("..") == std::string::npos);
    }
    if (JudgeEmail(text, "") == KVEmailVerdict::BadFormat) Require(!text.empty());

    const KVPrefixCandidates prefixes = MsisdnPrefixCandidates(text);
    Require(prefixes.first.empty() || text.find(prefixes.first) != std::string::npos);
    Require(prefixes.second.empty() || prefixes.second.compare(0, prefixes.first.size(), prefixes.first) == 0);

    EchoLookup lookup;
    const KVMsisdnVerdict verdict = JudgeMsisdn(text, lookup);
    Require(verdict.msisdn == text || verdict.msisdn == "+47" + text);
    return 0;
}
