#include <gtest/gtest.h>

#include <string>

#include "vuda32/File/QLogLine.h"

namespace {

std::string Line(uint32_t level, const QLogTime* time, const uint32_t* thread,
                 const std::string& method, const std::string& text) {
    std::string line = "left over from the previous entry";
    FormatLogLineStart(line, level, time, thread, method);
    AppendLogText(line, text);
    return line;
}

TEST(QLogLineTest, FieldsAppearOnlyWhenSwitchedOn) {
    const QLogTime time{9, 5, 3, 17};
    const uint32_t thread = 0x1a2b;
    EXPECT_EQ(Line(1, &time, &thread, "KVRegisterModel::NextPage", "page 2"),
              "1 | 9:5:3_17 | 0x00001A2B | KVRegisterModel::NextPage | page 2 \n");
    EXPECT_EQ(Line(4, nullptr, nullptr, "A::B", "x"), "4 | A::B | x \n");
    EXPECT_EQ(Line(4, nullptr, &thread, "A::B", "x"), "4 | 0x00001A2B | A::B | x \n");
    EXPECT_EQ(Line(4, &time, nullptr, "A::B", "x"), "4 | 9:5:3_17 | A::B | x \n");
}

TEST(QLogLineTest, EdgesOfTheFormat) {
    const QLogTime late{23, 59, 59, 999};
    const uint32_t highThread = 0xFFFFFFFF;
    EXPECT_EQ(Line(4, &late, &highThread, "A::B", ""),
              "4 | 23:59:59_999 | 0xFFFFFFFF | A::B |  \n");
    // A CR LF in the text is kept; the line itself ends with a lone LF.
    EXPECT_EQ(Line(1, nullptr, nullptr, "A::B", "two\r\nlines"), "1 | A::B | two\r\nlines \n");
    EXPECT_EQ(Line(1, nullptr, nullptr, "A::B", std::string("cut\0here", 8)), "1 | A::B | cut \n");
    EXPECT_EQ(Line(0xFFFFFFFF, nullptr, nullptr, "A::B", "x"), "-1 | A::B | x \n");
    EXPECT_EQ(Line(0x80000000, nullptr, nullptr, "A::B", "x"), "-2147483648 | A::B | x \n");
    EXPECT_EQ(Line(0x7FFFFFFF, nullptr, nullptr, "A::B", "x"), "2147483647 | A::B | x \n");
    const QLogTime zero{0, 0, 0, 0};
    const uint32_t threadZero = 0;
    EXPECT_EQ(Line(0, &zero, &threadZero, "", ""), "0 | 0:0:0_0 | 0x00000000 |  |  \n");
    const QLogTime huge{4294967295u, 10, 100, 1000};
    EXPECT_EQ(Line(4, &huge, nullptr, "A::B", "x"), "4 | 4294967295:10:100_1000 | A::B | x \n");

    const std::string longText(100000, 't');
    EXPECT_EQ(Line(1, &late, &highThread, std::string(5000, 'm'), longText).size(),
              4u + 15 + 13 + 5003 + 100000 + 2);
}

TEST(QLogLineTest, TimeOfDayComesFromLocalTicks) {
    constexpr uint64_t kMs = 10000;
    constexpr uint64_t kDay = 24ull * 3600 * 1000 * kMs;
    // 1 January 2024 counted from 1601, plus 9:05:03.017 and a few ticks below a millisecond.
    const uint64_t midnight = 154617 * kDay;
    const QLogTime t = LogTimeOfDay(midnight + ((9 * 3600 + 5 * 60 + 3) * 1000 + 17) * kMs + 9999);
    EXPECT_EQ(t.hour, 9u);
    EXPECT_EQ(t.minute, 5u);
    EXPECT_EQ(t.second, 3u);
    EXPECT_EQ(t.millisecond, 17u);
    std::string line;
    FormatLogLineStart(line, 1, &t, nullptr, "A::B");
    EXPECT_EQ(line, "1 | 9:5:3_17 | A::B | ");

    const QLogTime last = LogTimeOfDay(midnight + kDay - 1);
    EXPECT_EQ(last.hour, 23u);
    EXPECT_EQ(last.minute, 59u);
    EXPECT_EQ(last.second, 59u);
    EXPECT_EQ(last.millisecond, 999u);
    EXPECT_EQ(LogTimeOfDay(midnight + kDay).hour, 0u);
    EXPECT_EQ(LogTimeOfDay(~0ull).hour, LogTimeOfDay(~0ull % kDay).hour);
}

TEST(QLogLineTest, LevelTableMapsUnknownValuesToErrorsOnly) {
    EXPECT_EQ(LogMaskForLevel(0), 0u);
    EXPECT_EQ(LogMaskForLevel(1), 0x1u);
    EXPECT_EQ(LogMaskForLevel(2), 0xFu);
    EXPECT_EQ(LogMaskForLevel(3), 0x17u);
    EXPECT_EQ(LogMaskForLevel(4), 0x1u);
    EXPECT_EQ(LogMaskForLevel(5), 0xFFFFFFFFu);
    EXPECT_EQ(LogMaskForLevel(6), 0x1u);
    EXPECT_EQ(LogMaskForLevel(10), 0x1u);
    EXPECT_EQ(LogMaskForLevel(0xFFFFFFFF), 0x1u);
}

}  // namespace
