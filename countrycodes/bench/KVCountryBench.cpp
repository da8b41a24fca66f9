// Cost of converting typed numbers to MSISDNs: our rules on the shipped table against
// Debian's libphonenumber parse-and-validate, on the same numbers in one run.
// Usage: kvcountry_bench EXAMPLES_FILE [ROUNDS]
#include <phonenumbers/phonenumberutil.h>

#include <iostream>

#include "countrycodes/bench/KVBenchNumbers.h"
#include "countrycodes/src/KVEmbeddedTable.h"
#include "countrycodes/src/KVNumberRules.h"

using namespace kvcc;
using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

std::shared_ptr<const KVCountryTable> g_table;

std::string CallingCodeOf(const std::string& region) {
    return std::to_string(g_table->FindRegion(region)->callingCode);
}

std::string LibphonenumberMsisdn(const PhoneNumberUtil& util, const std::string& text, const std::string& region) {
    PhoneNumber number;
    if (util.Parse(text, region, &number) != PhoneNumberUtil::NO_PARSING_ERROR) return {};
    std::string owner;
    util.GetRegionCodeForNumber(number, &owner);
    const auto type = util.GetNumberType(number);
    if (owner != region || (type != PhoneNumberUtil::MOBILE && type != PhoneNumberUtil::FIXED_LINE_OR_MOBILE)) {
        return {};
    }
    std::string e164;
    util.Format(number, PhoneNumberUtil::E164, &e164);
    return e164;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: kvcountry_bench EXAMPLES_FILE [ROUNDS]\n";
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    std::string error;
    const auto start = KVBenchClock::now();
    g_table = KVCountryTable::Parse(EmbeddedTable(), error);
    const auto parsed = KVBenchClock::now();
    if (!g_table) {
        std::cerr << error << "\n";
        return 1;
    }
    const auto numbers = ReadBenchNumbers(argv[1], CallingCodeOf);
    KVNumberRules rules(g_table);
    KVMsisdnOptions options;
    options.anyRegionOfCallingCode = false;

    auto ours = [&](const KVBenchNumber& x) { return rules.ToMsisdn(x.text, *g_table->FindRegion(x.region), options); };
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    auto theirs = [&](const KVBenchNumber& x) { return LibphonenumberMsisdn(util, x.text, x.region); };
    const double first = TimeFirstCallPerRegion(numbers, ours);
    std::size_t agree = 0;
    for (const auto& x : numbers) agree += ours(x) == theirs(x);  // also warms libphonenumber's caches
    const double oursPerCall = TimePerCall(numbers, rounds, ours);
    const double theirsPerCall = TimePerCall(numbers, rounds, theirs);
    std::cout << "numbers: " << numbers.size() << " x " << rounds << " rounds (same answer on " << agree << ")\n"
              << "table parse: " << KVMicroseconds(parsed - start) << " us\n"
              << "first call for a region: " << first << " us\n"
              << "KVConvertToMsisdn rules: " << oursPerCall << " us per call\n"
              << "libphonenumber parse+validate: " << theirsPerCall << " us per call\n"
              << "ratio ours/libphonenumber: " << oursPerCall / theirsPerCall << "\n";
    return 0;
}
