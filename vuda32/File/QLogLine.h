// Platform-free pieces of the diagnostic log (no <windows.h>).
//   QLogTime     the local time of day an entry carries
// Free functions: LogTimeOfDay, CopyLogChars, LogLineMaxSize, FormatLogLineStart, AppendLogText,
// LogMaskForLevel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

struct QLogTime {
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    unsigned millisecond = 0;
};

// The time of day of a local time counted in 100-nanosecond ticks (the platform's file time).
QLogTime LogTimeOfDay(uint64_t localTicks);

// Copies `size` characters to `out` and returns their end, in whole words, the last one
// overlapping. For a size known only at run time the compiler calls the C library's memcpy,
// which under Wine costs 6 to 9 ns for the dozen or two characters of a log field; this
// costs about 1 ns.
inline char* CopyLogChars(char* out, const char* from, size_t size) {
    if (size >= 8) {
        for (size_t i = 0; i + 8 < size; i += 8) std::memcpy(out + i, from + i, 8);
        std::memcpy(out + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(out, from, 4);
        std::memcpy(out + size - 4, from + size - 4, 4);
    } else {
        for (size_t i = 0; i < size; ++i) out[i] = from[i];
    }
    return out + size;
}

// The line is formatted into a buffer the caller sizes with LogLineMaxSize, so that no
// field needs a check of its own: every entry passes here.

// The most bytes a line can take with a method of `methodSize` and a text of `textSize`.
constexpr size_t LogLineMaxSize(size_t methodSize, size_t textSize) {
    // Level "-2147483648", the time's four numbers (at most ten digits each, however
    // large a caller's QLogTime) and their three marks, thread "0x" and 8 digits, four
    // " | ", then the closing " \n".
    return 11 + 4 * 10 + 3 + 10 + 4 * 3 + methodSize + textSize + 2;
}

// Writes the fields before the text at `out` and returns their end: "<level> | ", then
// "<h>:<m>:<s>_<ms> | " when `time` is given, "0x<8 upper-case hex digits> | " when
// `threadId` is given, and "<method> | ". The method is written whole (a view of a C string
// ends before its zero byte).
char* FormatLogLineStart(char* out, uint32_t level, const QLogTime* time, const uint32_t* threadId,
                         std::string_view method);

// Writes the entry text, one blank and a lone LF at `out` and returns their end. The text
// ends at its first zero byte, as the C string it is written as would; `mayHoldZero` false
// says it has none, which spares the search.
char* AppendLogText(char* out, std::string_view text, bool mayHoldZero = true);

// The mask of entry levels that a "LogLevel" registry value selects.
uint32_t LogMaskForLevel(uint32_t logLevel);
