#include "vuda32/File/QLogLine.h"

namespace {

// Hand-made conversions into a buffer sized in advance: every entry passes here, and
// printf-style formatting, or appending to a string character by character, costs a good
// part of the write of the line itself.
char* AppendDecimal(char* out, uint32_t value) {
    // The time's fields and the level: one or two digits.
    if (value < 10) {
        *out = static_cast<char>('0' + value);
        return out + 1;
    }
    if (value < 100) {
        out[0] = static_cast<char>('0' + value / 10);
        out[1] = static_cast<char>('0' + value % 10);
        return out + 2;
    }
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) *out++ = digits[--count];
    return out;
}

char* AppendHex8(char* out, uint32_t value) {
    static const char kHex[] = "0123456789ABCDEF";
    out[0] = '0';
    out[1] = 'x';
    for (int i = 0; i < 8; ++i) out[2 + i] = kHex[(value >> (28 - 4 * i)) & 0xF];
    return out + 10;
}

char* AppendSeparator(char* out) {
    out[0] = ' ';
    out[1] = '|';
    out[2] = ' ';
    return out + 3;
}

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

char* FormatLogLineStart(char* out, uint32_t level, const QLogTime* time, const uint32_t* threadId,
                         std::string_view method) {
    // "%d": the level is printed signed; only 1 and 4 are used in practice.
    const int32_t signedLevel = static_cast<int32_t>(level);
    if (signedLevel < 0) {
        *out++ = '-';
        out = AppendDecimal(out, 0u - level);
    } else {
        out = AppendDecimal(out, level);
    }
    out = AppendSeparator(out);
    if (time) {
        out = AppendDecimal(out, time->hour);
        *out++ = ':';
        out = AppendDecimal(out, time->minute);
        *out++ = ':';
        out = AppendDecimal(out, time->second);
        *out++ = '_';
        out = AppendDecimal(out, time->millisecond);
        out = AppendSeparator(out);
    }
    if (threadId) out = AppendSeparator(AppendHex8(out, *threadId));
    // Written whole: a C string's view ends before its zero byte already, and searching
    // it again would cost as much as a field.
    return AppendSeparator(CopyLogChars(out, method.data(), method.size()));
}

char* AppendLogText(char* out, std::string_view text, bool mayHoldZero) {
    const size_t zero = mayHoldZero ? text.find('\0') : std::string_view::npos;
    const size_t size = zero == std::string_view::npos ? text.size() : zero;
    out = CopyLogChars(out, text.data(), size);
    out[0] = ' ';
    out[1] = '\n';
    return out + 2;
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
