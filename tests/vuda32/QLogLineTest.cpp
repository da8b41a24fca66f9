#include <gtest/gtest.h>

#include <string>

#include "vuda32/File/QLogLine.h"

namespace {

std::string Line(uint32_t level, const QLogTime* time, const uint32_t* thread,
                 const std::string& method, const std::string& text) {
    std::string line(LogLineMaxSize(method.size(), text.size()), '?');
    char* end = FormatLogLineStart(&line[0], level, time, thread, method);
    end = AppendLogText(end, text);
    line.resize(static_cast<size_t>(end - line.data()));
    return line;
}

// Fields appear only when switched on; numbers at the edges of their ranges.
TEST(QLogLineTest, FieldsAppearOnlyWhenSwitchedOn) {
    const QLogTime time{9, 5, 3, 17};
    const QLogTime last{23, 59, 59, 999};
    const uint32_t thread = 0x1a2b;
    const uint32_t lastThread = 0xFFFFFFFF;
    EXPECT_EQ(Line(1, &time, &thread, "KVRegisterModel::NextPage", "page 2"),
              "1 | 9:5:3_17 | 0x00001A2B | KVRegisterModel::NextPage | page 2 \n");
    EXPECT_EQ(Line(4, nullptr, nullptr, "A::B", "two\r\nlines"), "4 | A::B | two\r\nlines \n");
    EXPECT_EQ(Line(4, nullptr, &thread, "A::B", ""), "4 | 0x00001A2B | A::B |  \n");
    EXPECT_EQ(Line(0, &last, &lastThread, "A::B", "x"), "0 | 23:59:59_999 | 0xFFFFFFFF | A::B | x \n");
    EXPECT_EQ(Line(0x80000000, nullptr, nullptr, "A::B", "x"), "-2147483648 | A::B | x \n");
    EXPECT_EQ(Line(0x7FFFFFFF, nullptr, nullptr, "A::B", std::string("cut\0", 4)),
              "2147483647 | A::B | cut \n");
}

TEST(QLogLineTest, TextKnownFreeOfZerosIsNotSearched) {
    char line[16] = {};
    const std::string text("a\0b", 3);
    EXPECT_EQ(std::string(line, AppendLogText(line, text, false)), std::string("a\0b \n", 5));
    EXPECT_EQ(std::string(line, AppendLogText(line, text)), "a \n");
}

TEST(QLogLineTest, CopiesOfEveryShortSize) {
    const std::string from = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (size_t size = 0; size <= from.size(); ++size) {
        std::string to(from.size() + 2, '.');
        EXPECT_EQ(CopyLogChars(&to[1], from.data(), size), &to[1] + size);
        EXPECT_EQ(to, "." + from.substr(0, size) + std::string(from.size() + 1 - size, '.')) << size;
    }
}

TEST(QLogLineTest, TimeOfDayComesFromLocalTicks) {
    constexpr uint64_t kMs = 10000;
    constexpr uint64_t kDay = 24ull * 3600 * 1000 * kMs;
    // A midnight counted from 1601, plus 9:05:03.017 and ticks below a millisecond.
    const uint64_t midnight = 154617 * kDay;
    const QLogTime t = LogTimeOfDay(midnight + ((9 * 3600 + 5 * 60 + 3) * 1000 + 17) * kMs + 9999);
    EXPECT_EQ(Line(1, &t, nullptr, "A::B", ""), "1 | 9:5:3_17 | A::B |  \n");
    const QLogTime last = LogTimeOfDay(midnight + kDay - 1);
    EXPECT_EQ(Line(1, &last, nullptr, "A::B", ""), "1 | 23:59:59_999 | A::B |  \n");
    EXPECT_EQ(LogTimeOfDay(midnight + kDay).hour, 0u);
}

TEST(QLogLineTest, LevelFourAndUnknownLevelsSelectErrorsOnly) {
    const uint32_t masks[] = {0, 0x1, 0xF, 0x17, 0x1, 0xFFFFFFFF, 0x1};
    for (uint32_t level = 0; level < 7; ++level) EXPECT_EQ(LogMaskForLevel(level), masks[level]);
    EXPECT_EQ(LogMaskForLevel(10), 0x1u);
}

}  // namespace
