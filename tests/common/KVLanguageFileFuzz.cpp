// libFuzzer target: any bytes must parse without a fault, and what was parsed must obey the
// file's rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/KVLanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LanguageEntries entries;
    const size_t added = ParseLanguageFile(bytes, entries);
    if (added != entries.size()) std::abort();
    for (const auto& [key, entry] : entries) {
        // A key never spans a line end, never holds "=", and never starts a comment.
        if (key.find("\r\n") != std::string::npos || key.find('=') != std::string::npos ||
            (!key.empty() && key.front() == '#'))
            std::abort();
        if (entry.text.find("<newline>") != std::string::npos) std::abort();
        if (entry.accelerator != AcceleratorOf(entry.text)) std::abort();
    }
    // Parsing the same bytes again adds nothing: the first definition stays.
    if (ParseLanguageFile(bytes, entries) != 0) std::abort();

    // The bounded formatter never exceeds its limit, whatever the key.
    if (FormatLimited("Missing entry: %s, default: %s", {bytes, bytes}).size() >= kFormatLimit)
        std::abort();
    ReplacePlaceholders(std::string(bytes), {{"msisdn", "<email>"}, {"email", "x"}});
    return 0;
}
