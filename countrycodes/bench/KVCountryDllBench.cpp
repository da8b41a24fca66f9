// Cost of KVConvertToMsisdn through the DLL's export (run under Wine): per call once every
// region is warm, and the first call for a region. Usage: kvcountry_dll_bench DLL EXAMPLES [ROUNDS]
#include <windows.h>

#include <cstdlib>
#include <iostream>

#include "countrycodes/bench/KVBenchNumbers.h"
#include "countrycodes/dll/KVCountryCodesApi.h"

namespace {

decltype(&KVGetCountryInfo) g_info = nullptr;

std::string CallingCodeOf(const std::string& region) {
    using I = KVCountryInfoRecord;
    char code[I::kCodeSize] = {}, name[I::kNameSize] = {}, cc[I::kCallingCodeSize] = {};
    char idd[I::kInternationalPrefixSize] = {}, trunk[I::kTrunkPrefixSize] = {};
    KVCountryInfoRecord info = {code, name, cc, idd, trunk};
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
    const auto loadStart = KVBenchClock::now();
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
    const auto initEnd = KVBenchClock::now();
    const auto numbers = ReadBenchNumbers(argv[2], CallingCodeOf);
    char out[32];

    auto call = [&](const KVBenchNumber& n) { convert(n.text.c_str(), n.region.c_str(), out); };
    const double first = TimeFirstCallPerRegion(numbers, call);
    const double perCall = TimePerCall(numbers, rounds, call);
    std::cout << "numbers: " << numbers.size() << " x " << rounds << " rounds\n"
              << "load + KVCountryInit: " << KVMicroseconds(initEnd - loadStart) << " us\n"
              << "first call for a region: " << first << " us\n"
              << "KVConvertToMsisdn: " << perCall << " us per call\n";
    FreeLibrary(module);
    return 0;
}
