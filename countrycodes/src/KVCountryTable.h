// KVCountryTable: the numbering table of KVCountryCodes (regions, names, calling codes,
// prefixes, number patterns and national formats), parsed strictly from its text form.
// KVNumberDesc, KVNumberFormat, KVRegion: the parts of one region.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace kvcc {

// The kinds of number a region describes, in the order libphonenumber checks them.
enum class KVNumberKind {
    General,
    Premium,
    TollFree,
    SharedCost,
    Voip,
    Personal,
    Pager,
    Uan,
    Voicemail,
    FixedLine,
    Mobile,
    Count
};
constexpr std::size_t kKindCount = static_cast<std::size_t>(KVNumberKind::Count);
// The names used in the table's "D" lines, indexed by KVNumberKind.
extern const std::array<const char*, kKindCount> kKindNames;

// Patterns of one number kind; empty lengths mean "those of the general kind".
struct KVNumberDesc {
    bool present = false;
    std::string pattern;
    std::vector<int> lengths;
    std::vector<int> localLengths;
};

// One national format: digits matching `pattern` (after `leading` matched their start)
// are rewritten with `format`; `trunkRule` adds the trunk prefix to the first group.
struct KVNumberFormat {
    std::string pattern;
    std::string format;
    std::string leading;
    std::string trunkRule;
};

// The compiled patterns of one region, built on first use.
struct KVRegionPatterns {
    bool ok = false;
    std::regex idd;
    std::regex trunkForParsing;
    std::regex leading;
    std::array<std::regex, kKindCount> kinds;
    std::vector<std::regex> formatPatterns;
    std::vector<std::regex> formatLeading;
    int trunkGroups = 0;
};

struct KVRegion {
    std::string code;
    std::string name;  // code page 1252
    int callingCode = 0;
    bool mainForCallingCode = false;
    std::string idd;
    std::string preferredIdd;
    std::string trunkPrefix;
    std::string trunkForParsing;  // falls back to trunkPrefix
    std::string trunkTransform;
    std::string leadingDigits;
    std::array<KVNumberDesc, kKindCount> desc;
    bool sameFixedAndMobile = false;
    std::vector<KVNumberFormat> formats;

    // The prefix people dial abroad: the preferred one, else the prefix when it is plain
    // digits; empty when only a pattern is known (BR's "00(?:1[245]|...)").
    std::string DialledIdd() const;

    // Compiles the patterns once, thread-safe; null when a pattern does not compile.
    const KVRegionPatterns* Patterns() const;

private:
    mutable std::once_flag compileOnce_;
    mutable std::unique_ptr<KVRegionPatterns> patterns_;
};

class KVCountryTable {
public:
    // Parses the text form; on failure returns null and sets `error` to a reason naming
    // the line. With `compileAll`, every pattern is also compiled (for tables from files).
    static std::shared_ptr<const KVCountryTable> Parse(std::string_view text, std::string& error,
                                                       bool compileAll = false);

    const std::vector<std::unique_ptr<KVRegion>>& Regions() const { return regions_; }
    const KVRegion* FindRegion(std::string_view code) const;
    // Regions of a calling code, the main one first; empty for an unknown code.
    const std::vector<const KVRegion*>& RegionsOfCallingCode(int callingCode) const;
    // The calling code at the start of `digits` (1 to 3 digits), 0 when none.
    int CallingCodeAtStart(std::string_view digits, std::size_t* length = nullptr) const;

private:
    std::vector<std::unique_ptr<KVRegion>> regions_;
    std::array<std::vector<const KVRegion*>, 1000> byCallingCode_;
};

// Case-insensitive (ASCII) comparison, as region codes are typed by people.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace kvcc
