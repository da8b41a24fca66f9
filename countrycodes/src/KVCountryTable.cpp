#include "KVCountryTable.h"

#include <algorithm>
#include <initializer_list>

namespace kvcc {

const std::array<const char*, kKindCount> kKindNames = {
    "general", "premium", "tollfree", "sharedcost", "voip", "personal",
    "pager",   "uan",     "voicemail", "fixed",     "mobile",
};

namespace {

constexpr int kMaxNationalLength = 17;

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos
                                                                           : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "7,9,10": strictly ascending lengths of a national number.
bool ParseLengths(std::string_view text, std::vector<int>& out) {
    out.clear();
    if (text.empty()) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        if (!AllDigits(item) || item.size() > 2) return false;
        const int value = std::stoi(std::string(item));
        if (value < 1 || value > kMaxNationalLength || (!out.empty() && value <= out.back())) return false;
        out.push_back(value);
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

// Limits on a pattern beyond what std::regex checks itself. Its compiler recurses once per
// term and per group, on the caller's stack (a host thread's 1 MB under Windows), and reads
// repeat counts and back-reference numbers into a long without an overflow check. Real
// tables stay far below: patterns of 1.5 KB, groups 5 deep, counts of 2 digits.
constexpr std::size_t kMaxPatternLength = 4096;
constexpr int kMaxGroupDepth = 32;
constexpr std::size_t kMaxNumberDigits = 3;

// The length of the run of decimal digits at `at`.
std::size_t DigitsAt(std::string_view text, std::size_t at) {
    std::size_t count = 0;
    while (at + count < text.size() && text[at + count] >= '0' && text[at + count] <= '9') ++count;
    return count;
}

// Why the pattern is refused, or empty when it is within the limits.
std::string PatternProblem(std::string_view pattern) {
    if (pattern.size() > kMaxPatternLength) return "pattern over " + std::to_string(kMaxPatternLength) + " bytes";
    const std::string tooLong = "a repeat count or back-reference of more than " +
                                std::to_string(kMaxNumberDigits) + " digits";
    int depth = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\\') {
            if (DigitsAt(pattern, i + 1) > kMaxNumberDigits) return tooLong;
            ++i;  // the escaped character means nothing else
        } else if (inClass) {
            inClass = c != ']';
        } else if (c == '[') {
            inClass = true;
        } else if (c == '{') {
            const std::size_t low = DigitsAt(pattern, i + 1);
            const std::size_t comma = i + 1 + low;
            const std::size_t high = comma < pattern.size() && pattern[comma] == ',' ? DigitsAt(pattern, comma + 1) : 0;
            if (low > kMaxNumberDigits || high > kMaxNumberDigits) return tooLong;
        } else if (c == '(') {
            if (++depth > kMaxGroupDepth) return "groups nested deeper than " + std::to_string(kMaxGroupDepth);
        } else if (c == ')') {
            --depth;
        }
    }
    return std::string();
}

std::regex Compile(const std::string& pattern) {
    return std::regex(pattern, std::regex::ECMAScript | std::regex::optimize);
}

std::unique_ptr<KVRegionPatterns> CompileRegion(const KVRegion& region) {
    auto patterns = std::make_unique<KVRegionPatterns>();
    try {
        if (!region.idd.empty()) patterns->idd = Compile(region.idd);
        if (!region.trunkForParsing.empty()) {
            patterns->trunkForParsing = Compile(region.trunkForParsing);
            patterns->trunkGroups = static_cast<int>(patterns->trunkForParsing.mark_count());
        }
        if (!region.leadingDigits.empty()) patterns->leading = Compile(region.leadingDigits);
        for (std::size_t kind = 0; kind < kKindCount; ++kind) {
            if (region.desc[kind].present) patterns->kinds[kind] = Compile(region.desc[kind].pattern);
        }
        for (const KVNumberFormat& format : region.formats) {
            patterns->formatPatterns.push_back(Compile(format.pattern));
            patterns->formatLeading.push_back(format.leading.empty() ? std::regex() : Compile(format.leading));
        }
        patterns->ok = true;
    } catch (const std::exception&) {
        patterns->ok = false;
    }
    return patterns;
}

}  // namespace

const KVRegionPatterns* KVRegion::Patterns() const {
    std::call_once(compileOnce_, [this] { patterns_ = CompileRegion(*this); });
    return patterns_->ok ? patterns_.get() : nullptr;
}

std::string KVRegion::DialledIdd() const {
    if (!preferredIdd.empty()) return preferredIdd;
    return AllDigits(idd) ? idd : std::string();
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::shared_ptr<const KVCountryTable> KVCountryTable::Parse(std::string_view text, std::string& error,
                                                            bool compileAll) {
    auto table = std::make_shared<KVCountryTable>();
    KVRegion* region = nullptr;
    bool ended = false;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(lineNumber) + ": " + reason;
        return nullptr;
    };
    // The first problem among the fields that are compiled as patterns, or empty.
    auto patternsProblem = [](std::initializer_list<std::string_view> patterns) {
        for (const std::string_view pattern : patterns) {
            std::string problem = PatternProblem(pattern);
            if (!problem.empty()) return "\"" + std::string(pattern.substr(0, 32)) + "\": " + problem;
        }
        return std::string();
    };
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        if (newline == std::string_view::npos) {
            ++lineNumber;
            return fail("the last line has no line end (truncated table)");
        }
        std::string_view line = text.substr(pos, newline - pos);
        pos = newline + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (ended) return fail("text after END");
        if (lineNumber == 1) {
            if (line != "KVCC 1") return fail("the table must start with \"KVCC 1\"");
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string_view> f = SplitTabs(line);
        const std::string_view kind = f[0];
        if (kind == "END") {
            if (f.size() != 1) return fail("END takes no fields");
            ended = true;
        } else if (kind == "R") {
            if (f.size() != 11) return fail("a region line has 11 fields, not " + std::to_string(f.size()));
            for (std::size_t i = 1; i < f.size(); ++i) {
                if (i != 2 && HasControl(f[i])) return fail("control character in field " + std::to_string(i));
            }
            const std::string_view code = f[1];
            if (code.size() != 2 || !std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
                return fail("region code \"" + std::string(code) + "\" is not two capital letters");
            }
            if (table->FindRegion(code)) return fail("region " + std::string(code) + " appears twice");
            if (f[2].empty() || f[2].size() > 63 || HasControl(f[2])) {
                return fail("name of " + std::string(code) + " is empty, over 63 bytes or has control characters");
            }
            if (!AllDigits(f[3]) || f[3].size() > 3 || f[3][0] == '0') {
                return fail("calling code \"" + std::string(f[3]) + "\" is not 1 to 3 digits");
            }
            if (f[4] != "0" && f[4] != "1") return fail("main flag must be 0 or 1");
            const std::string problem = patternsProblem({f[5], f[7], f[8], f[10]});
            if (!problem.empty()) return fail(problem);
            if (region && !region->desc[0].present) return fail("region " + region->code + " has no general line");
            auto next = std::make_unique<KVRegion>();
            next->code = std::string(code);
            next->name = std::string(f[2]);
            next->callingCode = std::stoi(std::string(f[3]));
            next->mainForCallingCode = f[4] == "1";
            next->idd = std::string(f[5]);
            next->preferredIdd = std::string(f[6]);
            next->trunkPrefix = std::string(f[7]);
            next->trunkForParsing = std::string(f[8].empty() ? f[7] : f[8]);
            next->trunkTransform = std::string(f[9]);
            next->leadingDigits = std::string(f[10]);
            region = next.get();
            auto& list = table->byCallingCode_[static_cast<std::size_t>(region->callingCode)];
            if (region->mainForCallingCode) {
                if (!list.empty() && list.front()->mainForCallingCode) {
                    return fail("calling code " + std::string(f[3]) + " has two main regions");
                }
                list.insert(list.begin(), region);
            } else {
                list.push_back(region);
            }
            table->regions_.push_back(std::move(next));
        } else if (kind == "D") {
            if (!region) return fail("number line before any region");
            if (f.size() != 4 && f.size() != 5) return fail("a number line has 4 or 5 fields");
            const auto it = std::find(kKindNames.begin(), kKindNames.end(), f[1]);
            if (it == kKindNames.end()) return fail("unknown number kind \"" + std::string(f[1]) + "\"");
            KVNumberDesc& desc = region->desc[static_cast<std::size_t>(it - kKindNames.begin())];
            if (desc.present) return fail("number kind " + std::string(f[1]) + " twice in " + region->code);
            if (it != kKindNames.begin() && !region->desc[0].present) return fail("general line must come first");
            if (f[2].empty() || HasControl(f[2])) return fail("empty pattern");
            const std::string problem = patternsProblem({f[2]});
            if (!problem.empty()) return fail(problem);
            if (!ParseLengths(f[3], desc.lengths)) return fail("bad lengths \"" + std::string(f[3]) + "\"");
            if (f.size() == 5 && !ParseLengths(f[4], desc.localLengths)) return fail("bad local lengths");
            if (it == kKindNames.begin() && desc.lengths.empty()) return fail("general line without lengths");
            desc.present = true;
            desc.pattern = std::string(f[2]);
        } else if (kind == "S") {
            if (!region || f.size() != 1 || region->sameFixedAndMobile) return fail("misplaced S line");
            region->sameFixedAndMobile = true;
        } else if (kind == "F") {
            if (!region) return fail("format line before any region");
            if (f.size() != 5) return fail("a format line has 5 fields");
            for (std::size_t i = 1; i < f.size(); ++i) {
                if (HasControl(f[i])) return fail("control character in a format");
            }
            if (f[1].empty() || f[2].empty()) return fail("format without pattern or layout");
            const std::string problem = patternsProblem({f[1], f[3]});
            if (!problem.empty()) return fail(problem);
            region->formats.push_back({std::string(f[1]), std::string(f[2]), std::string(f[3]), std::string(f[4])});
        } else {
            return fail("unknown line kind \"" + std::string(kind.substr(0, 16)) + "\"");
        }
    }
    ++lineNumber;
    if (lineNumber == 1) return fail("empty table");
    if (!ended) return fail("no END line (truncated table)");
    if (region && !region->desc[0].present) return fail("region " + region->code + " has no general line");
    if (table->regions_.empty()) return fail("no regions");
    for (const auto& list : table->byCallingCode_) {
        if (!list.empty() && !list.front()->mainForCallingCode) {
            return fail("calling code " + std::to_string(list.front()->callingCode) + " has no main region");
        }
    }
    if (compileAll) {
        for (const auto& r : table->regions_) {
            if (!r->Patterns()) return fail("a pattern of region " + r->code + " does not compile");
        }
    }
    return table;
}

const KVRegion* KVCountryTable::FindRegion(std::string_view code) const {
    for (const auto& region : regions_) {
        if (EqualsIgnoreCase(region->code, code)) return region.get();
    }
    return nullptr;
}

const std::vector<const KVRegion*>& KVCountryTable::RegionsOfCallingCode(int callingCode) const {
    static const std::vector<const KVRegion*> none;
    if (callingCode <= 0 || callingCode >= 1000) return none;
    return byCallingCode_[static_cast<std::size_t>(callingCode)];
}

int KVCountryTable::CallingCodeAtStart(std::string_view digits, std::size_t* length) const {
    if (digits.empty() || digits[0] == '0') return 0;
    int value = 0;
    for (std::size_t i = 0; i < 3 && i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') return 0;
        value = value * 10 + (digits[i] - '0');
        if (!RegionsOfCallingCode(value).empty()) {
            if (length) *length = i + 1;
            return value;
        }
    }
    return 0;
}

}  // namespace kvcc
