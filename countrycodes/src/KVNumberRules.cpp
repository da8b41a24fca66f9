#include "KVNumberRules.h"

#include <algorithm>

namespace kvcc {

namespace {

constexpr std::size_t kMaxInputLength = 250;
constexpr std::size_t kMinNationalLength = 2;
constexpr std::size_t kMaxNationalLength = 17;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Separators people type between digits, in code page 1252: libphonenumber's punctuation
// (space, no-break space, soft hyphen, hyphen, en and em dash, dot, brackets, slash) and
// the star it also tolerates. Letters, "#", ",", ";" and "~" mark extensions or words and
// are refused with everything else.
bool IsSeparator(char c) {
    switch (static_cast<unsigned char>(c)) {
        case ' ': case '-': case '.': case '(': case ')': case '[': case ']': case '/': case '*':
        case 0xA0: case 0xAD: case 0x96: case 0x97:
            return true;
        default:
            return false;
    }
}

std::string DigitsOnly(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (IsDigit(c)) digits.push_back(c);
    }
    return digits;
}

bool LookingAt(const std::string& text, const std::regex& re, std::smatch* match = nullptr) {
    std::smatch local;
    return std::regex_search(text, match ? *match : local, re, std::regex_constants::match_continuous);
}

// The number part of what was typed: from its first "+" or digit to its last digit, with
// the leading "+" run allowed only at the start; empty when it is no phone number.
std::string_view ExtractNumber(std::string_view text) {
    if (text.size() > kMaxInputLength) return {};
    for (char c : text) {
        if (!IsDigit(c) && c != '+' && !IsSeparator(c)) return {};
    }
    const std::size_t start = text.find_first_of("+0123456789");
    if (start == std::string_view::npos) return {};
    std::size_t end = text.size();
    while (end > start && !IsDigit(text[end - 1])) --end;
    const std::string_view number = text.substr(start, end - start);
    std::size_t pluses = 0;
    while (pluses < number.size() && number[pluses] == '+') ++pluses;
    if (number.find('+', pluses) != std::string_view::npos) return {};
    const std::size_t digits = static_cast<std::size_t>(std::count_if(number.begin(), number.end(), IsDigit));
    const bool twoDigitsAlone = number.size() == 2 && digits == 2;
    return digits >= 3 || twoDigitsAlone ? number : std::string_view{};
}

}  // namespace

KVNumberRules::LengthCheck KVNumberRules::TestLength(const std::string& number, const KVRegion& region) {
    const KVNumberDesc& general = region.desc[0];
    const int length = static_cast<int>(number.size());
    const auto& lengths = general.lengths;
    if (std::find(general.localLengths.begin(), general.localLengths.end(), length) != general.localLengths.end()) {
        return LengthCheck::PossibleLocalOnly;
    }
    if (lengths.front() == length) return LengthCheck::Possible;
    if (lengths.front() > length) return LengthCheck::TooShort;
    if (lengths.back() < length) return LengthCheck::TooLong;
    return std::find(lengths.begin(), lengths.end(), length) != lengths.end() ? LengthCheck::Possible
                                                                              : LengthCheck::InvalidLength;
}

bool KVNumberRules::MatchesGeneral(const std::string& number, const KVRegion& region) const {
    const KVRegionPatterns* patterns = region.Patterns();
    return patterns && std::regex_match(number, patterns->kinds[0]);
}

bool KVNumberRules::Matches(const std::string& number, const KVRegion& region, KVNumberKind kind) const {
    const KVNumberDesc& desc = region.desc[static_cast<std::size_t>(kind)];
    if (!desc.present) return false;
    const int length = static_cast<int>(number.size());
    if (!desc.lengths.empty() && std::find(desc.lengths.begin(), desc.lengths.end(), length) == desc.lengths.end()) {
        return false;
    }
    const KVRegionPatterns* patterns = region.Patterns();
    return patterns && std::regex_match(number, patterns->kinds[static_cast<std::size_t>(kind)]);
}

// Removes a trunk prefix (and carrier code) the region's rule finds at the start, unless
// that would turn a number matching the general pattern into one that does not.
bool KVNumberRules::StripTrunkPrefix(const KVRegion& region, std::string& number) const {
    if (number.empty() || region.trunkForParsing.empty()) return false;
    const KVRegionPatterns* patterns = region.Patterns();
    if (!patterns) return false;
    const bool viableBefore = MatchesGeneral(number, region);
    std::smatch match;
    if (!LookingAt(number, patterns->trunkForParsing, &match)) return false;
    const int groups = patterns->trunkGroups;
    std::string captured;
    if (groups >= 2) {
        captured = match[2].str();
    } else if (groups == 1) {
        captured = match[1].str();
    }
    std::string result;
    if (!region.trunkTransform.empty() && groups >= 1 && !captured.empty()) {
        result = std::regex_replace(number, patterns->trunkForParsing, region.trunkTransform,
                                    std::regex_constants::format_first_only);
    } else {
        result = number.substr(static_cast<std::size_t>(match.length(0)));
    }
    if (viableBefore && !MatchesGeneral(result, region)) return false;
    number = std::move(result);
    return true;
}

// Finds a calling code typed after "+", after the region's international prefix, or (when
// the number is otherwise invalid or too long) as the region's own code without either.
// Leaves callingCode 0 when the number is national.
KVParseError KVNumberRules::ExtractCallingCode(std::string_view text, const KVRegion& region,
                                               KVPhoneNumber& number) const {
    number.callingCode = 0;
    std::string full;
    bool international = false;
    if (!text.empty() && text[0] == '+') {
        full = DigitsOnly(text);
        international = true;
    } else {
        full = DigitsOnly(text);
        const KVRegionPatterns* patterns = region.Patterns();
        std::smatch match;
        // A calling code never starts with 0, so a prefix followed by 0 is no prefix.
        if (patterns && !region.idd.empty() && LookingAt(full, patterns->idd, &match) &&
            (static_cast<std::size_t>(match.length(0)) >= full.size() ||
             full[static_cast<std::size_t>(match.length(0))] != '0')) {
            full.erase(0, static_cast<std::size_t>(match.length(0)));
            international = true;
        }
    }
    if (international) {
        if (full.size() <= kMinNationalLength) return KVParseError::TooShortAfterIdd;
        std::size_t length = 0;
        const int code = table_->CallingCodeAtStart(full, &length);
        if (code == 0) return KVParseError::InvalidCountryCode;
        number.callingCode = code;
        number.national = full.substr(length);
        return KVParseError::None;
    }
    const std::string ownCode = std::to_string(region.callingCode);
    if (full.compare(0, ownCode.size(), ownCode) == 0) {
        std::string potential = full.substr(ownCode.size());
        StripTrunkPrefix(region, potential);
        if ((!MatchesGeneral(full, region) && MatchesGeneral(potential, region)) ||
            TestLength(full, region) == LengthCheck::TooLong) {
            number.callingCode = region.callingCode;
            number.national = std::move(potential);
            return KVParseError::None;
        }
    }
    number.national = std::move(full);
    return KVParseError::None;
}

KVParseError KVNumberRules::Parse(std::string_view text, const KVRegion& region, KVPhoneNumber& number) const {
    if (text.size() > kMaxInputLength) return KVParseError::TooLong;
    std::string_view extracted = ExtractNumber(text);
    if (extracted.empty()) return KVParseError::NotANumber;
    KVParseError error = ExtractCallingCode(extracted, region, number);
    if (error == KVParseError::InvalidCountryCode && extracted[0] == '+') {
        // An unknown code after "+": read the digits as if the "+" had not been typed.
        while (!extracted.empty() && extracted[0] == '+') extracted.remove_prefix(1);
        error = ExtractCallingCode(extracted, region, number);
        if (error == KVParseError::None && number.callingCode == 0) return KVParseError::InvalidCountryCode;
    }
    if (error != KVParseError::None) return error;
    const KVRegion* rules = &region;
    if (number.callingCode == 0) {
        number.callingCode = region.callingCode;
    } else {
        rules = table_->RegionsOfCallingCode(number.callingCode).front();
    }
    if (number.national.size() < kMinNationalLength) return KVParseError::TooShortNsn;
    std::string potential = number.national;
    StripTrunkPrefix(*rules, potential);
    // Keep the prefix when what is left is too short for the region: it may be part of a
    // short number.
    const LengthCheck check = TestLength(potential, *rules);
    if (check != LengthCheck::TooShort && check != LengthCheck::PossibleLocalOnly &&
        check != LengthCheck::InvalidLength) {
        number.national = std::move(potential);
    }
    if (number.national.size() < kMinNationalLength) return KVParseError::TooShortNsn;
    if (number.national.size() > kMaxNationalLength) return KVParseError::TooLong;
    return KVParseError::None;
}

KVNumberType KVNumberRules::TypeInRegion(const std::string& national, const KVRegion& region) const {
    if (!Matches(national, region, KVNumberKind::General)) return KVNumberType::Unknown;
    static constexpr std::pair<KVNumberKind, KVNumberType> kOthers[] = {
        {KVNumberKind::Premium, KVNumberType::Premium},       {KVNumberKind::TollFree, KVNumberType::TollFree},
        {KVNumberKind::SharedCost, KVNumberType::SharedCost}, {KVNumberKind::Voip, KVNumberType::Voip},
        {KVNumberKind::Personal, KVNumberType::Personal},     {KVNumberKind::Pager, KVNumberType::Pager},
        {KVNumberKind::Uan, KVNumberType::Uan},               {KVNumberKind::Voicemail, KVNumberType::Voicemail},
    };
    for (const auto& [kind, type] : kOthers) {
        if (Matches(national, region, kind)) return type;
    }
    if (Matches(national, region, KVNumberKind::FixedLine)) {
        if (region.sameFixedAndMobile || Matches(national, region, KVNumberKind::Mobile)) {
            return KVNumberType::FixedLineOrMobile;
        }
        return KVNumberType::FixedLine;
    }
    if (!region.sameFixedAndMobile && Matches(national, region, KVNumberKind::Mobile)) return KVNumberType::Mobile;
    return KVNumberType::Unknown;
}

const KVRegion* KVNumberRules::RegionOfNumber(const KVPhoneNumber& number) const {
    const auto& regions = table_->RegionsOfCallingCode(number.callingCode);
    if (regions.size() <= 1) return regions.empty() ? nullptr : regions.front();
    for (const KVRegion* region : regions) {
        if (!region->leadingDigits.empty()) {
            const KVRegionPatterns* patterns = region->Patterns();
            if (patterns && LookingAt(number.national, patterns->leading)) return region;
        } else if (TypeInRegion(number.national, *region) != KVNumberType::Unknown) {
            return region;
        }
    }
    return nullptr;
}

std::string KVNumberRules::MsisdnAttempt(std::string_view text, const KVRegion& region, bool anyRegion) const {
    KVPhoneNumber number;
    if (Parse(text, region, number) != KVParseError::None || number.callingCode != region.callingCode) return {};
    const KVRegion* owner = RegionOfNumber(number);
    if (!owner || (!anyRegion && owner != &region)) return {};
    const KVNumberType type = TypeInRegion(number.national, *owner);
    if (type != KVNumberType::Mobile && type != KVNumberType::FixedLineOrMobile) return {};
    return "+" + std::to_string(number.callingCode) + number.national;
}

std::string KVNumberRules::ToMsisdn(std::string_view text, const KVRegion& region,
                                    const KVMsisdnOptions& options) const {
    std::string msisdn = MsisdnAttempt(text, region, options.anyRegionOfCallingCode);
    if (!msisdn.empty() || !options.home || options.home->idd.empty()) return msisdn;
    const std::string_view extracted = ExtractNumber(text);
    if (extracted.empty() || extracted[0] == '+') return msisdn;
    const KVRegionPatterns* patterns = options.home->Patterns();
    const std::string digits = DigitsOnly(extracted);
    std::smatch match;
    if (!patterns || !LookingAt(digits, patterns->idd, &match) || match.length(0) == 0) return msisdn;
    return MsisdnAttempt("+" + digits.substr(static_cast<std::size_t>(match.length(0))), region,
                         options.anyRegionOfCallingCode);
}

std::string KVNumberRules::FormatNational(std::string_view msisdn) const {
    if (msisdn.size() < 2 || msisdn[0] != '+' || msisdn.size() > 1 + 3 + kMaxNationalLength) return {};
    const std::string digits(msisdn.substr(1));
    if (!std::all_of(digits.begin(), digits.end(), IsDigit)) return {};
    std::size_t length = 0;
    const int code = table_->CallingCodeAtStart(digits, &length);
    if (code == 0 || digits.size() - length < kMinNationalLength) return {};
    const std::string national = digits.substr(length);
    // A shared calling code keeps its layouts in its main region.
    const KVRegion& main = *table_->RegionsOfCallingCode(code).front();
    const KVRegionPatterns* patterns = main.Patterns();
    if (!patterns) return national;
    for (std::size_t i = 0; i < main.formats.size(); ++i) {
        const KVNumberFormat& format = main.formats[i];
        if (!format.leading.empty() && !LookingAt(national, patterns->formatLeading[i])) continue;
        if (!std::regex_match(national, patterns->formatPatterns[i])) continue;
        std::string layout = format.format;
        // The trunk rule ("0$1") wraps the layout's first group reference: its "$1" stands
        // for that reference ("$2 15-$3" becomes "0$2 15-$3").
        if (!format.trunkRule.empty()) {
            static const std::regex firstGroup(R"((\$\d))");
            layout = std::regex_replace(layout, firstGroup, format.trunkRule, std::regex_constants::format_first_only);
        }
        return std::regex_replace(national, patterns->formatPatterns[i], layout);
    }
    return national;
}

}  // namespace kvcc
