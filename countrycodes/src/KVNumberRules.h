// KVNumberRules: parsing, validation and formatting of phone numbers over a KVCountryTable,
// following libphonenumber's rules. KVPhoneNumber: a parsed number.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "KVCountryTable.h"

namespace kvcc {

enum class KVParseError { None, NotANumber, InvalidCountryCode, TooShortAfterIdd, TooShortNsn, TooLong };

enum class KVNumberType {
    Unknown,
    FixedLine,
    Mobile,
    FixedLineOrMobile,
    TollFree,
    Premium,
    SharedCost,
    Voip,
    Personal,
    Pager,
    Uan,
    Voicemail
};

struct KVPhoneNumber {
    int callingCode = 0;
    std::string national;  // national significant number, leading zeros kept
};

// What KVConvertToMsisdn accepts beyond libphonenumber's own answer.
struct KVMsisdnOptions {
    // A number of the calling code of the given region counts when it is a mobile number of
    // whichever region sharing that code it belongs to ("+1 416..." given "US").
    bool anyRegionOfCallingCode = true;
    // When set and the plain attempt fails, digits beginning with this region's
    // international prefix are tried again with that prefix read as "+".
    const KVRegion* home = nullptr;
};

class KVNumberRules {
public:
    explicit KVNumberRules(std::shared_ptr<const KVCountryTable> table) : table_(std::move(table)) {}

    const KVCountryTable& Table() const { return *table_; }

    KVParseError Parse(std::string_view text, const KVRegion& region, KVPhoneNumber& number) const;
    // The region a parsed number belongs to, null when none of its calling code fits.
    const KVRegion* RegionOfNumber(const KVPhoneNumber& number) const;
    KVNumberType TypeInRegion(const std::string& national, const KVRegion& region) const;

    // "+<calling code><national number>" for a mobile number of `region`, else "".
    std::string ToMsisdn(std::string_view text, const KVRegion& region, const KVMsisdnOptions& options) const;
    // An MSISDN in its region's national layout (trunk prefix included), "" when unknown.
    std::string FormatNational(std::string_view msisdn) const;

private:
    enum class LengthCheck { Possible, PossibleLocalOnly, TooShort, TooLong, InvalidLength };

    KVParseError ExtractCallingCode(std::string_view text, const KVRegion& region, KVPhoneNumber& number) const;
    bool StripTrunkPrefix(const KVRegion& region, std::string& number) const;
    static LengthCheck TestLength(const std::string& number, const KVRegion& region);
    bool Matches(const std::string& number, const KVRegion& region, KVNumberKind kind) const;
    bool MatchesGeneral(const std::string& number, const KVRegion& region) const;
    std::string MsisdnAttempt(std::string_view text, const KVRegion& region, bool anyRegion) const;

    std::shared_ptr<const KVCountryTable> table_;
};

}  // namespace kvcc
