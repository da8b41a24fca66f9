// Cost of KVConvertToMsisdn through the DLL's export (run under Wine): per call once every
// region is warm, and the first call for a region. Usage: kvcountry_dll_bench DLL EXAMPLES [ROUNDS]
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "countrycodes/bench/KVBenchNumbers.h"
#include "countrycodes/dll/KVCountryCodes.h"

using Clock = std::chrono::steady_clock;

namespace {

decltype(&KVGetCountryInfo) g_info = nullptr;

std::string CallingCodeOf(const std::string& region) {
    char code[8] = {}, name[64] = {}, cc[8] = {}, idd[8] = {}, trunk[8] = {};
    KVCountryInfo info = {code, name, cc, idd, trunk};
    return g_info(region.c_str(), &info) == 0 ? cc : "";
}

template <typename F>
F Bind(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: kvcountry_dll_bench DLL EXAMPLES [ROUNDS]\n";
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;
    const auto loadStart = Clock::now();
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) {
        std::cerr << "cannot load " << argv[1] << ": " << GetLastError() << "\n";
        return 1;
    }
    auto init = Bind<decltype(&KVCountryInit)>(module, "KVCountryInit");
    auto convert = Bind<decltype(&KVConvertToMsisdn)>(module, "KVConvertToMsisdn");
    g_info = Bind<decltype(&KVGetCountryInfo)>(module, "KVGetCountryInfo");
    if (!init || !convert || !g_info || init("Software\\KVTest\\bench") != 0) {
        std::cerr << "exports missing or initialisation failed\n";
        return 1;
    }
    const auto initEnd = Clock::now();
    const auto numbers = ReadBenchNumbers(argv[2], CallingCodeOf);
    char out[32];

    const auto firstStart = Clock::now();
    std::size_t firstCalls = 0;
    std::string lastRegion;
    for (const auto& n : numbers) {
        if (n.region == lastRegion) continue;
        lastRegion = n.region;
        convert(n.text.c_str(), n.region.c_str(), out);
        ++firstCalls;
    }
    const auto firstEnd = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const auto& n : numbers) convert(n.text.c_str(), n.region.c_str(), out);
    }
    const auto end = Clock::now();
    auto us = [](Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    std::cout << "numbers: " << numbers.size() << " x " << rounds << " rounds\n"
              << "load + KVCountryInit: " << us(initEnd - loadStart) << " us\n"
              << "first call for a region: " << us(firstEnd - firstStart) / firstCalls << " us\n"
              << "KVConvertToMsisdn: " << us(end - firstEnd) / (static_cast<double>(numbers.size()) * rounds)
              << " us per call\n";
    FreeLibrary(module);
    return 0;
}
