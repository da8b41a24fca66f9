// The numbers both benchmarks convert: every region's mobile example from the test data,
// typed nationally and with "+<calling code>", and its fixed-line example (refused).
#pragma once

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
