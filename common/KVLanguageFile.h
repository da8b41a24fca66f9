// Platform-free text handling of the language table (no <windows.h>).
//   LanguageEntry     one text with its accelerator character
//   LanguageEntries   the ordered, case-sensitive key map; the first definition of a key wins
// Free functions: ParseLanguageFile, ReplaceNewlines, AcceleratorOf, ReplacePlaceholders,
// FormatLimited.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct LanguageEntry {
    std::string text;
    // The character behind the first lone "&" of the text, or 0.
    char accelerator = 0;
    // The 1-based line of its file that defined it, so that authors' tools can point at it.
    size_t line = 0;
};

// Byte-wise ordered keys; the transparent comparison lets a line's key be looked up before
// it is copied.
using LanguageEntries = std::map<std::string, LanguageEntry, std::less<>>;
using LanguageReplacements = std::vector<std::pair<std::string, std::string>>;

// Adds the entries of one language file's raw bytes. Only CR LF ends a line; "#" on the first
// byte makes a comment; the key ends at the first "="; nothing is trimmed. Keys already in
// `entries` keep their text. Returns the number of entries added.
size_t ParseLanguageFile(std::string_view bytes, LanguageEntries& entries);

// Every "<newline>" becomes CR LF.
std::string ReplaceNewlines(std::string_view text);

// The character behind the first "&" that is not half of a "&&" pair; 0 when there is none.
char AcceleratorOf(std::string_view text);

// For each (name, value) in order, every "<name>" becomes value; the scan goes on behind
// each inserted value, so a value that itself holds "<name>" is not replaced again.
std::string ReplacePlaceholders(std::string text, const LanguageReplacements& replacements);

// The platform's wvsprintfA never writes more than 1024 bytes including the terminating
// zero. The missing-entry log is formatted with the same bound here, so that an enormous
// key or default is cut instead of overflowing. Understands "%s" (each argument is cut at
// its first zero byte, as a C string would be) and "%%"; any other "%" is copied as it is.
constexpr size_t kFormatLimit = 1024;
std::string FormatLimited(std::string_view format, std::initializer_list<std::string_view> args);
