// Platform-free pieces of the diagnostic log (no <windows.h>).
//   QLogTime     the local time of day an entry carries
// Free functions: LogTimeOfDay, FormatLogLineStart, AppendLogText, LogMaskForLevel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct QLogTime {
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    unsigned millisecond = 0;
};

// The time of day of a local time counted in 100-nanosecond ticks (the platform's file time).
QLogTime LogTimeOfDay(uint64_t localTicks);

// Replaces `line` with the fields before the text: "<level> | ", then "<h>:<m>:<s>_<ms> | "
// when `time` is given, "0x<8 upper-case hex digits> | " when `threadId` is given, and
// "<method> | ". The string keeps its capacity, so a reused line costs no allocation.
void FormatLogLineStart(std::string& line, uint32_t level, const QLogTime* time,
                        const uint32_t* threadId, std::string_view method);

// Appends the entry text, one blank and a lone LF. The text ends at its first zero byte,
// as the C string it is written as would.
void AppendLogText(std::string& line, std::string_view text);

// The mask of entry levels that a "LogLevel" registry value selects.
uint32_t LogMaskForLevel(uint32_t logLevel);
