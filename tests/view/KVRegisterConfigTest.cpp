// The register.cfg reader: header lines, component lines, every rejection with its log line,
// collecting every problem, and files no author would write.
#include "register/view/KVRegisterConfig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    text.resize(text.size() - 2);  // no line end after the last line
    return text;
}

// One component on a file with two form pages and no system menu.
std::string OneComponent(std::string_view id, std::string_view definition) {
    return Lines({"460,360", id, "1,2", definition});
}

std::string Text(const KVConfigRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

constexpr std::string_view kMsisdnOnQuery = "20,80,150,100,1,160,78,420,100,0";

// The e-mail field is optional and its confirmation required: they share one required bit. The
// country list has no required flag.
TEST(KVRegisterConfigTest, ReadsAValidFileWithTwoPages) {
    const KVRegisterConfig config = KVParseRegisterConfig(Lines({
        "460,360",
        "8,9,16,1,15",
        "2,2,1",
        "20,80,150,100,1,160,78,420,100,0",
        "20,110,150,130,0,160,108,420,130,0",
        "20,140,150,160,1,160,138,420,160,0",
        "20,80,420,110,1",
        "20,110,150,130,160,108,420,130,1",
    }));
    ASSERT_FALSE(config.Failed()) << config.problems[0].LogText();
    EXPECT_EQ(2, config.useIp);

    ASSERT_EQ(5u, config.components.size());
    const KVConfigComponent& msisdn = config.components[0];
    EXPECT_EQ(8, msisdn.row->number);
    EXPECT_EQ(4, msisdn.lineNumber);
    EXPECT_EQ("20,80,150,100", Text(msisdn.label));
    EXPECT_TRUE(msisdn.required);
    EXPECT_EQ("160,78,420,100", Text(msisdn.input));
    EXPECT_EQ(KVPages::PAGE_QUERYREGISTER, msisdn.page);
    EXPECT_FALSE(config.components[1].required);
    const KVConfigComponent& info = config.components[3];
    EXPECT_EQ(1, info.row->number);
    EXPECT_EQ(7, info.lineNumber);
    EXPECT_EQ(KVPages::PAGE_USERINFO, info.page);
    EXPECT_EQ("1", info.idField);
    EXPECT_EQ("20,80,420,110,1", info.definition);

    const KVConfigComponent& country = config.components[4];
    EXPECT_FALSE(country.required);
    EXPECT_EQ("160,108,420,130", Text(country.input));

    ASSERT_EQ(5u, config.definitions.size());
    EXPECT_EQ("16", config.definitions[2].idField);
    EXPECT_EQ("20,140,150,160,1,160,138,420,160,0", config.definitions[2].definition);

    EXPECT_EQ(1u | 2u, config.RequiredMask(KVPages::PAGE_QUERYREGISTER));
    EXPECT_EQ(0u, config.RequiredMask(KVPages::PAGE_USERINFO));
    EXPECT_EQ(&msisdn, config.FirstInput(KVPages::PAGE_QUERYREGISTER));
    EXPECT_EQ(&country, config.FirstInput(KVPages::PAGE_USERINFO));  // a text line has no input
}

struct Rejection {
    const char* what;
    std::string file;
    const char* logText;
    int lineNumber;
    const char* idField;
};

TEST(KVRegisterConfigTest, EachCheckLogsItsTextTheValueAndTheLine) {
    std::string crLfs;
    while (crLfs.size() < (1u << 20)) crLfs += "\r\n";
    const Rejection rejections[] = {
        {"UseIp 3", Lines({"", "", "3,2"}), "File read IP error UseIp [3]", 3, ""},
        {"UserInterface 3", Lines({"", "", "1,3"}), "File read UI error UserInterface [3]", 3, ""},
        {"UserInterface -1", Lines({"", "", "2,-1"}), "File read UI error UserInterface [-1]", 3, ""},
        {"ControlBox 2", Lines({"", "", "1,2,2"}), "File read UI error ControlBox [2]", 3, ""},
        {"id 17", OneComponent("17", "20,80,420,110,1"), "File unknown component error [17]", 4, "17"},
        {"id 28", OneComponent("28", "20,80,420,110,1"), "File unknown component error [28]", 4, "28"},
        {"empty id", Lines({"", "1,,2", "1,2", "20,80,420,110,1", "20,80,420,110,1"}),
         "File unknown component error [0]", 5, ""},
        {"id twice", Lines({"", "8,1,8", "1,2", kMsisdnOnQuery, "20,80,420,110,1", kMsisdnOnQuery}),
         "File duplicate component error [8]", 6, "8"},
        {"label at 0", OneComponent("1", "0,80,420,110,1"), "File coordinate error [1]", 4, "1"},
        {"label bottom 0", OneComponent(" 2", "5,80,420,0,1"), "File coordinate error [2]", 4, " 2"},
        {"input top 0", OneComponent("8", "20,80,150,100,1,160,0,420,100,0"), "File coordinate error [8]", 4, "8"},
        {"input right 0", OneComponent("9", "20,80,150,100,1,160,78,0,100,0"), "File coordinate error [9]", 4, "9"},
        {"input cut short", OneComponent("15", "20,80,150,100,160,78"), "File coordinate error [15]", 4, "15"},
        {"required 2", OneComponent("12", "20,80,150,100,2,160,78,420,100,0"), "File required error [2]", 4, "12"},
        {"required -1", OneComponent("10", "20,80,150,100,-1,160,78,420,100,0"), "File required error [-1]", 4, "10"},
        {"page 2 of 2", OneComponent("1", "20,80,420,110,2"), "Page value invalid [2]", 4, "1"},
        {"page 1 of 1", Lines({"", "1", "1,1", "20,80,420,110,1"}), "Page value invalid [1]", 4, "1"},
        {"page -1 of 2", OneComponent("14", "20,80,150,100,0,160,78,420,100,-1"), "Page value invalid [-1]", 4, "14"},
        // Only CR LF ends a line: LF alone makes one long line, so line 3 is missing.
        {"LF alone", "460,360\n8\n1,2\n20,80,150,100,1,160,78,420,100,0\n", "File read IP error UseIp [0]", 3, ""},
        {"no line 3", Lines({"460,360", "8"}), "File read IP error UseIp [0]", 3, ""},
        {"line 3 empty", Lines({"460,360", "8", ""}), "File read IP error UseIp [0]", 3, ""},
        {"empty file", "", "File read IP error UseIp [0]", 3, ""},
        {"a megabyte of CR LF", crLfs, "File read IP error UseIp [0]", 3, ""},
        // The file ends before the second component's line: its coordinates read 0.
        {"line 5 missing", Lines({"", "8,9", "1,2", kMsisdnOnQuery}), "File coordinate error [9]", 5, "9"},
        // Page fields count back from UserInterface.
        {"page 0 of 0", Lines({"", "1", "1,0", "20,80,420,110,0"}), "Page value invalid [0]", 4, "1"},
        {"page minimum", OneComponent("1", "20,80,420,110,-2147483648"), "Page value invalid [-2147483648]", 4, "1"},
        {"page maximum", Lines({"", "1", "1,0", "20,80,420,110,2147483647"}), "Page value invalid [2147483647]", 4,
         "1"},
        // The first problem ends the reading: no component is visited after a header line fails.
        {"UseIp first", Lines({"", "8,17", "5,7,3", kMsisdnOnQuery, "20,80,420,110,5"}), "File read IP error UseIp [5]",
         3, ""},
    };
    for (const Rejection& r : rejections) {
        SCOPED_TRACE(r.what);
        const KVRegisterConfig config = KVParseRegisterConfig(r.file);
        ASSERT_EQ(1u, config.problems.size());
        const KVConfigProblem& problem = config.problems[0];
        EXPECT_EQ(r.logText, problem.LogText());
        EXPECT_EQ(r.lineNumber, problem.lineNumber);
        EXPECT_EQ(r.idField, problem.idField);
        EXPECT_EQ(r.lineNumber - 3, static_cast<int>(config.definitions.size())) << "components visited";
    }
}

TEST(KVRegisterConfigTest, AFailingComponentIsLoggedButNotKept) {
    const KVRegisterConfig config = KVParseRegisterConfig(
        Lines({"", "8,9,1", "1,2", kMsisdnOnQuery, "20,110,150,130,1,160,108,420,130,7", "20,80,420,110,1"}));
    ASSERT_EQ(1u, config.problems.size());
    EXPECT_EQ("Page value invalid [7]", config.problems[0].LogText());
    EXPECT_EQ("20,110,150,130,1,160,108,420,130,7", config.problems[0].definition);
    // The e-mail field was listed before its line failed; the line after it is never read.
    EXPECT_TRUE(config.emailPresent);
    ASSERT_EQ(2u, config.definitions.size());
    EXPECT_EQ("9", config.definitions[1].idField);
    ASSERT_EQ(1u, config.components.size());
    EXPECT_EQ(8, config.components[0].row->number);
}

TEST(KVRegisterConfigTest, WindowSizeNeedsTwoPositiveNumbersAndNeverFails) {
    for (std::string_view line : {"0,0", "abc", "500", "500,", "-5,300", "300,0", ",300", ""}) {
        const KVRegisterConfig config = KVParseRegisterConfig(Lines({line, "", "1,1"}));
        EXPECT_FALSE(config.Failed()) << line;
        EXPECT_FALSE(config.sizeGiven) << line;
        EXPECT_EQ(426, config.width) << line;
        EXPECT_EQ(312, config.height) << line;
    }
    // Split at the first comma: the height is the rest of the line.
    const KVRegisterConfig rest = KVParseRegisterConfig(Lines({" 500, 400,7", "", "1,1"}));
    EXPECT_TRUE(rest.sizeGiven);
    EXPECT_EQ(500, rest.width);
    EXPECT_EQ(400, rest.height);
    // The size stands even when a later line fails.
    const KVRegisterConfig failing = KVParseRegisterConfig(Lines({"1,1", "", "0,1"}));
    EXPECT_TRUE(failing.Failed());
    EXPECT_EQ(1, failing.width);
}

TEST(KVRegisterConfigTest, ControlBoxIsTheRestOfTheSwitchLine) {
    struct Case {
        std::string_view line;
        bool failed, controlBox;
    };
    for (const Case& c : {Case{"1,2", false, false}, Case{"1,2,", false, false},
                          Case{"1,2,0", false, false}, Case{"1,2,1", false, true},
                          Case{"1,2,1,7", false, true}, Case{"1,2, 1x", false, true},
                          Case{"1,2,x", false, false}, Case{"1,2,,1", false, false},
                          Case{"1,2,7,1", true, false}}) {
        const KVRegisterConfig config = KVParseRegisterConfig(Lines({"", "", c.line}));
        EXPECT_EQ(c.failed, config.Failed()) << c.line;
        EXPECT_EQ(c.controlBox, config.controlBox) << c.line;
    }
    // UserInterface is one field, not the rest of the line.
    const KVRegisterConfig ui = KVParseRegisterConfig(Lines({"", "", "2,1,1"}));
    EXPECT_FALSE(ui.Failed());
    EXPECT_EQ(1, ui.userInterface);
}

TEST(KVRegisterConfigTest, IdListFieldsPairWithLinesInOrder) {
    // A trailing comma ends the list; an empty line 2 lists nothing.
    const KVRegisterConfig trailing =
        KVParseRegisterConfig(Lines({"", "8,", "1,2", kMsisdnOnQuery, "garbage", "7,7,7"}));
    ASSERT_FALSE(trailing.Failed()) << trailing.problems[0].LogText();
    EXPECT_EQ(1u, trailing.components.size());
    EXPECT_EQ(1u, trailing.definitions.size());

    const KVRegisterConfig none = KVParseRegisterConfig(Lines({"", "", "1,2", "garbage"}));
    EXPECT_FALSE(none.Failed());
    EXPECT_TRUE(none.components.empty());
    EXPECT_EQ(nullptr, none.FirstInput(KVPages::PAGE_QUERYREGISTER));

    // A lone CR stays inside its line: it ends the number, not the line.
    const KVRegisterConfig cr = KVParseRegisterConfig(Lines({"", "1\r", "1,2\r", "20,80,420,110,1\r\r"}));
    ASSERT_FALSE(cr.Failed()) << cr.problems[0].LogText();
    EXPECT_EQ(1u, cr.components.size());
}

// Coordinates that read 0 are refused (the rejections above); negative ones are kept.
TEST(KVRegisterConfigTest, CoordinatesMayBeNegative) {
    const KVRegisterConfig negative = KVParseRegisterConfig(OneComponent("8", "-20,-1,150,100,0,-160,78,420,-1,0"));
    ASSERT_FALSE(negative.Failed()) << negative.problems[0].LogText();
    EXPECT_EQ("-20,-1,150,100", Text(negative.components[0].label));
    EXPECT_EQ("-160,78,420,-1", Text(negative.components[0].input));
}

TEST(KVRegisterConfigTest, PageCountsBackFromUserInterface) {
    struct Case {
        std::string_view userInterface, page;
        KVPages::Page placed;
    };
    for (const Case& c : {Case{"2", "0", KVPages::PAGE_QUERYREGISTER}, Case{"2", "1", KVPages::PAGE_USERINFO},
                          Case{"1", "0", KVPages::PAGE_USERINFO}, Case{"1", "-1", KVPages::PAGE_QUERYREGISTER},
                          Case{"0", "-1", KVPages::PAGE_USERINFO}, Case{"0", "-2", KVPages::PAGE_QUERYREGISTER}}) {
        const std::string trace = std::string(c.userInterface) + " " + std::string(c.page);
        const KVRegisterConfig config = KVParseRegisterConfig(
            Lines({"", "1", "1," + std::string(c.userInterface), "20,80,420,110," + std::string(c.page)}));
        ASSERT_FALSE(config.Failed()) << trace;
        EXPECT_EQ(c.placed, config.components[0].page) << trace;
    }
}

TEST(KVRegisterConfigTest, FieldsReadAsSaturatingIntegers) {
    const struct {
        std::string field;
        int32_t value;
    } cases[] = {
        {" \t\r\n+42x", 42}, {"-7,8", -7}, {"", 0}, {"x5", 0}, {"- 5", 0}, {"+-5", 0},
        {std::string("12\0" "3", 4), 12}, {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN},
        {"00000000000000000000000099999999999999999999", INT32_MAX}, {"-" + std::string(10000, '9'), INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, KVReadConfigInt(c.field)) << c.field.substr(0, 40);
    // The field's view is all the reader may see, even inside a longer text.
    const std::string text = "12345";
    EXPECT_EQ(12, KVReadConfigInt(std::string_view(text).substr(0, 2)));
}

TEST(KVRegisterConfigTest, SurvivesHugeFiles) {
    // A megabyte-long definition line: everything after the page field is ignored.
    std::string longLine(kMsisdnOnQuery);
    while (longLine.size() < (1u << 20)) longLine += ",1234567890";
    const KVRegisterConfig longDefinition = KVParseRegisterConfig(OneComponent("8", longLine));
    ASSERT_FALSE(longDefinition.Failed()) << longDefinition.problems[0].LogText();
    EXPECT_EQ(longLine, longDefinition.components[0].definition);

    // 10,000 listings of one id, each with its line: one duplicate each after the first.
    std::string ids, definitions;
    for (int i = 0; i < 10000; ++i) {
        ids += "1,";
        definitions += "\r\n20,80,420,110,1";
    }
    const std::string many = "460,360\r\n" + ids + "\r\n1,2" + definitions;
    const KVRegisterConfig all = KVParseRegisterConfig(many, true);
    EXPECT_EQ(1u, all.components.size());
    EXPECT_EQ(10000u, all.definitions.size());
    ASSERT_EQ(9999u, all.problems.size());
    EXPECT_EQ(10003, all.problems.back().lineNumber);
    EXPECT_EQ(1u, KVParseRegisterConfig(many).problems.size());
}

}  // namespace
