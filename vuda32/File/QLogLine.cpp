#include "vuda32/File/QLogLine.h"

#include <cstdio>

namespace {

// Longest field: "4294967295:4294967295:4294967295_4294967295 | ".
constexpr size_t kFieldBuffer = 64;

void AppendFormatted(std::string& line, const char* format, unsigned a, unsigned b = 0,
                     unsigned c = 0, unsigned d = 0) {
    char buffer[kFieldBuffer];
    const int written = std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
    if (written > 0) line.append(buffer, static_cast<size_t>(written) < sizeof buffer
                                             ? static_cast<size_t>(written)
                                             : sizeof buffer - 1);
}

}  // namespace

void FormatLogLineStart(std::string& line, uint32_t level, const QLogTime* time,
                        const uint32_t* threadId, std::string_view method) {
    line.clear();
    // The level is printed signed, as "%d" prints it; only 1 and 4 are used in practice.
    char buffer[kFieldBuffer];
    const int written = std::snprintf(buffer, sizeof buffer, "%d | ", static_cast<int>(level));
    if (written > 0) line.append(buffer, static_cast<size_t>(written));
    if (time)
        AppendFormatted(line, "%u:%u:%u_%u | ", time->hour, time->minute, time->second,
                        time->millisecond);
    if (threadId) AppendFormatted(line, "0x%08X | ", *threadId);
    line.append(method.substr(0, method.find('\0')));
    line.append(" | ");
}

void AppendLogText(std::string& line, std::string_view text) {
    line.append(text.substr(0, text.find('\0')));
    line.append(" \n");
}

uint32_t LogMaskForLevel(uint32_t logLevel) {
    switch (logLevel) {
    case 0: return 0;
    case 2: return 0xF;
    case 3: return 0x17;
    case 5: return 0xFFFFFFFF;
    // 4 selects errors only, like 1 and every value outside the table.
    default: return 0x1;
    }
}
