// libFuzzer target: any bytes must parse without a fault, and what was parsed must obey the
// file's rules.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/KVLanguageFile.h"
#include "tests/common/KVFuzzRequire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LanguageEntries entries;
    const size_t added = ParseLanguageFile(bytes, entries);
    Require(added == entries.size());
    for (const auto& [key, entry] : entries) {
        // A key never spans a line end, never holds "=", and never starts a comment.
        Require(key.find("\r\n") == std::string::npos && key.find('=') == std::string::npos &&
                (key.empty() || key.front() != '#'));
        Require(entry.text.find("<newline>") == std::string::npos);
        Require(entry.accelerator == AcceleratorOf(entry.text));
    }
    // Parsing the same bytes again adds nothing: the first definition stays.
    Require(ParseLanguageFile(bytes, entries) == 0);

    // The bounded formatter never exceeds its limit, whatever the key.
    Require(FormatLimited("Missing entry: %s, default: %s", {bytes, bytes}).size() < kFormatLimit);
    ReplacePlaceholders(std::string(bytes), {{"msisdn", "<email>"}, {"email", "x"}});
    return 0;
}
