// The numbers both benchmarks convert: every region's mobile example from the test data,
// typed nationally and with "+<calling code>", and its fixed-line example (refused).
#pragma once

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct KVBenchNumber {
    std::string text;
    std::string region;
};

inline std::vector<KVBenchNumber> ReadBenchNumbers(const std::string& examplesPath,
                                                   std::string (*callingCodeOf)(const std::string&)) {
    std::ifstream file(examplesPath, std::ios::binary);
    std::vector<KVBenchNumber> numbers;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string region, mobile, fixed;
        std::getline(fields, region, '\t');
        std::getline(fields, mobile, '\t');
        std::getline(fields, fixed, '\t');
        if (!mobile.empty()) {
            numbers.push_back({mobile, region});
            numbers.push_back({"+" + callingCodeOf(region) + " " + mobile, region});
        }
        if (!fixed.empty()) numbers.push_back({fixed, region});
    }
    return numbers;
}

using KVBenchClock = std::chrono::steady_clock;

inline double KVMicroseconds(KVBenchClock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// Average cost of the first conversion of each region (its patterns get compiled).
template <typename Convert>
double TimeFirstCallPerRegion(const std::vector<KVBenchNumber>& numbers, Convert convert) {
    const auto start = KVBenchClock::now();
    std::size_t calls = 0;
    std::string lastRegion;
    for (const auto& n : numbers) {
        if (n.region == lastRegion) continue;
        lastRegion = n.region;
        convert(n);
        ++calls;
    }
    return calls ? KVMicroseconds(KVBenchClock::now() - start) / static_cast<double>(calls) : 0.0;
}

// Average cost of one conversion over `rounds` passes through all numbers.
template <typename Convert>
double TimePerCall(const std::vector<KVBenchNumber>& numbers, int rounds, Convert convert) {
    const auto start = KVBenchClock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const auto& n : numbers) convert(n);
    }
    return KVMicroseconds(KVBenchClock::now() - start) / (static_cast<double>(numbers.size()) * rounds);
}
