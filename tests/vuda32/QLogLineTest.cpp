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

    const std::string longText(100000, 't');
    EXPECT_EQ(Line(1, &late, &highThread, std::string(5000, 'm'), longText).size(),
              4u + 15 + 13 + 5003 + 100000 + 2);
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
