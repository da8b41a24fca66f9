#include "vuda32/File/QLogLine.h"

namespace {

// Hand-made conversions: every entry passes here, and printf-style formatting of four small
// numbers costs about as much as the write of the line itself.
void AppendDecimal(std::string& line, uint32_t value) {
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) line.push_back(digits[--count]);
}

void AppendHex8(std::string& line, uint32_t value) {
    static const char kHex[] = "0123456789ABCDEF";
    line.append("0x");
    for (int shift = 28; shift >= 0; shift -= 4) line.push_back(kHex[(value >> shift) & 0xF]);
}

constexpr std::string_view kSeparator = " | ";

}  // namespace

QLogTime LogTimeOfDay(uint64_t localTicks) {
    constexpr uint64_t kTicksPerMillisecond = 10000;
    const uint64_t milliseconds = localTicks / kTicksPerMillisecond;
    const uint64_t seconds = milliseconds / 1000;
    QLogTime time;
    time.millisecond = static_cast<unsigned>(milliseconds % 1000);
    time.second = static_cast<unsigned>(seconds % 60);
    time.minute = static_cast<unsigned>(seconds / 60 % 60);
    time.hour = static_cast<unsigned>(seconds / 3600 % 24);
    return time;
}

void FormatLogLineStart(std::string& line, uint32_t level, const QLogTime* time,
                        const uint32_t* threadId, std::string_view method) {
    line.clear();
    // "%d": the level is printed signed; only 1 and 4 are used in practice.
    const int32_t signedLevel = static_cast<int32_t>(level);
    if (signedLevel < 0) {
        line.push_back('-');
        AppendDecimal(line, 0u - level);
    } else {
        AppendDecimal(line, level);
    }
    line.append(kSeparator);
    if (time) {
        AppendDecimal(line, time->hour);
        line.push_back(':');
        AppendDecimal(line, time->minute);
        line.push_back(':');
        AppendDecimal(line, time->second);
        line.push_back('_');
        AppendDecimal(line, time->millisecond);
        line.append(kSeparator);
    }
    if (threadId) {
        AppendHex8(line, *threadId);
        line.append(kSeparator);
    }
    line.append(method.substr(0, method.find('\0')));
    line.append(kSeparator);
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
