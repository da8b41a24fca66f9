// libFuzzer target for the strict table parser behind KVCountryLoad: any bytes, no fault, and
// a table it accepts obeys what the exports rely on without checking again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "countrycodes/dll/KVCountryCodesApi.h"
#include "countrycodes/src/KVCountryTable.h"
#include "tests/common/KVFuzzRequire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvcc::KVCountryTable;
    using kvcc::KVRegion;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    // As KVCountryLoad reads a file: every pattern compiled before the table is accepted.
    const auto table = KVCountryTable::Parse(text, error, true);
    if (!table) {
        Require(error.compare(0, 5, "line ") == 0);
        return 0;
    }
    Require(error.empty());
    Require(!table->Regions().empty());
    for (const auto& region : table->Regions()) {
        // The exports copy these into the caller's buffers without cutting them.
        Require(region->code.size() < kKVRegionCodeSize);
        Require(region->name.size() < KVCountryInfoRecord::kNameSize);
        Require(std::to_string(region->callingCode).size() < KVCountryInfoRecord::kCallingCodeSize);
        Require(table->FindRegion(region->code) == region.get());
        Require(region->desc[0].present && !region->desc[0].lengths.empty());
        Require(region->Patterns() != nullptr);

        // Every calling code has its main region first, and a prefix lookup finds a code
        // that begins the digits.
        const auto& sharing = table->RegionsOfCallingCode(region->callingCode);
        Require(!sharing.empty() && sharing.front()->mainForCallingCode);
        bool listed = false;
        for (const KVRegion* other : sharing) listed = listed || other == region.get();
        Require(listed);
        const std::string digits = std::to_string(region->callingCode) + "123";
        std::size_t length = 0;
        const int found = table->CallingCodeAtStart(digits, &length);
        Require(found != 0 && digits.compare(0, length, std::to_string(found)) == 0);
    }
    return 0;
}
