// Cost of converting typed numbers to MSISDNs: our rules on the shipped table against
// Debian's libphonenumber parse-and-validate, on the same numbers in one run.
// Usage: kvcountry_bench EXAMPLES_FILE [ROUNDS]
#include <phonenumbers/phonenumberutil.h>

#include <chrono>
#include <iostream>

#include "countrycodes/bench/KVBenchNumbers.h"
#include "countrycodes/src/KVEmbeddedTable.h"
#include "countrycodes/src/KVNumberRules.h"

using namespace kvcc;
using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;
using Clock = std::chrono::steady_clock;

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

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: kvcountry_bench EXAMPLES_FILE [ROUNDS]\n";
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    std::string error;
    const auto start = Clock::now();
    g_table = KVCountryTable::Parse(EmbeddedTable(), error);
    const auto parsed = Clock::now();
    if (!g_table) {
        std::cerr << error << "\n";
        return 1;
    }
    const auto numbers = ReadBenchNumbers(argv[1], CallingCodeOf);
    KVNumberRules rules(g_table);
    KVMsisdnOptions options;
    options.anyRegionOfCallingCode = false;

    // First call per region: compiles that region's patterns.
    const auto firstStart = Clock::now();
    std::size_t firstCalls = 0;
    std::string lastRegion;
    for (const auto& n : numbers) {
        if (n.region == lastRegion) continue;
        lastRegion = n.region;
        rules.ToMsisdn(n.text, *g_table->FindRegion(n.region), options);
        ++firstCalls;
    }
    const auto firstEnd = Clock::now();

    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    std::size_t agree = 0;
    for (const auto& n : numbers) {  // warms libphonenumber's regex cache the same way
        agree += rules.ToMsisdn(n.text, *g_table->FindRegion(n.region), options) ==
                 LibphonenumberMsisdn(util, n.text, n.region);
    }

    std::size_t sink = 0;
    const auto oursStart = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const auto& n : numbers) sink += rules.ToMsisdn(n.text, *g_table->FindRegion(n.region), options).size();
    }
    const auto oursEnd = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const auto& n : numbers) sink += LibphonenumberMsisdn(util, n.text, n.region).size();
    }
    const auto theirsEnd = Clock::now();

    const double calls = static_cast<double>(numbers.size()) * rounds;
    const double ours = Microseconds(oursEnd - oursStart) / calls;
    const double theirs = Microseconds(theirsEnd - oursEnd) / calls;
    std::cout << "numbers: " << numbers.size() << " x " << rounds << " rounds (same answer on " << agree << ")\n"
              << "table parse: " << Microseconds(parsed - start) << " us\n"
              << "first call for a region: " << Microseconds(firstEnd - firstStart) / firstCalls << " us\n"
              << "KVConvertToMsisdn rules: " << ours << " us per call\n"
              << "libphonenumber parse+validate: " << theirs << " us per call\n"
              << "ratio ours/libphonenumber: " << ours / theirs << "\n"
              << (sink == 0 ? "" : "") ;
    return 0;
}
