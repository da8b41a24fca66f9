#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/KVLanguageFile.h"

namespace {

class KVLanguageFileTest : public ::testing::Test {
protected:
    size_t Parse(const std::string& bytes) { return ParseLanguageFile(bytes, entries_); }
    const std::string& Text(const std::string& key) const { return entries_.at(key).text; }

    LanguageEntries entries_;
};

TEST_F(KVLanguageFileTest, LinesSplitAtTheFirstEqualsWithoutTrimming) {
    EXPECT_EQ(Parse("a=b=c\r\n key = v \r\nlonely\r\n=empty key\r\n\r\n#c=1\r\n #k=2\r\nlast=x"), 6u);
    EXPECT_EQ(Text("a"), "b=c");
    EXPECT_EQ(Text(" key "), " v ");
    EXPECT_EQ(Text("lonely"), "");
    EXPECT_EQ(Text(""), "empty key");
    EXPECT_EQ(Text(" #k"), "2");
    EXPECT_EQ(Text("last"), "x");
    EXPECT_EQ(entries_.count("#c"), 0u);
    // Empty and comment lines count: authors look for the line their editor shows.
    EXPECT_EQ(entries_.at("a").line, 1u);
    EXPECT_EQ(entries_.at(" #k").line, 7u);
    EXPECT_EQ(entries_.at("last").line, 8u);
}

TEST_F(KVLanguageFileTest, OnlyCrLfEndsALine) {
    Parse("one=1\ntwo=2\rthree=3\n\r\nnext=\r\r\n");
    EXPECT_EQ(entries_.size(), 2u);
    EXPECT_EQ(Text("one"), "1\ntwo=2\rthree=3\n");
    EXPECT_EQ(Text("next"), "\r");
    EXPECT_EQ(entries_.at("next").line, 2u);
}

TEST_F(KVLanguageFileTest, FirstDefinitionWinsWithinAndAcrossFiles) {
    EXPECT_EQ(Parse("k=company\r\nk=again\r\n"), 1u);
    EXPECT_EQ(Parse("k=main\r\nK=upper\r\n"), 1u);
    EXPECT_EQ(Text("k"), "company");
    EXPECT_EQ(Text("K"), "upper");
    EXPECT_EQ(entries_.at("k").line, 1u);
    EXPECT_EQ(entries_.at("K").line, 2u);
}

TEST_F(KVLanguageFileTest, NewlineTagBecomesCrLfInTextsOnly) {
    Parse("a<newline>=1<newline>2<newline><newline>\r\nc=<newline<newline>>\r\n");
    EXPECT_EQ(Text("a<newline>"), "1\r\n2\r\n\r\n");
    EXPECT_EQ(Text("c"), "<newline\r\n>");
}

TEST_F(KVLanguageFileTest, AcceleratorFollowsTheFirstLoneAmpersand) {
    const std::pair<const char*, char> cases[] = {{"&Finish", 'F'},  {"Fish && Chips", 0}, {"&&Fish &chips", 'c'},
                                                  {"&&&x", 'x'},      {"Ends in &", 0},    {"Ends in &&", 0}};
    for (const auto& [text, accelerator] : cases) EXPECT_EQ(AcceleratorOf(text), accelerator) << text;
    // Taken after "<newline>" has become CR LF.
    Parse("k=&<newline>x\r\n");
    EXPECT_EQ(entries_.at("k").accelerator, '\r');
}

TEST_F(KVLanguageFileTest, PlaceholdersAreReplacedInOrderWithoutRescanningValues) {
    // The second pair still sees the "<email>" that the first inserted: pairs run in order.
    EXPECT_EQ(ReplacePlaceholders("<msisdn> / <email>", {{"msisdn", "<email>"}, {"email", "a@b"}}),
              "a@b / a@b");
    EXPECT_EQ(ReplacePlaceholders("<x><x>", {{"x", "<x>"}}), "<x><x>");
    EXPECT_EQ(ReplacePlaceholders("<msisdn <MSISDN>", {{"msisdn", "1"}}), "<msisdn <MSISDN>");
}

TEST_F(KVLanguageFileTest, FormatLimitedCutsAtTheWvsprintfBound) {
    EXPECT_EQ(FormatLimited("%s, %s", {"k", "d<newline>"}), "k, d<newline>");
    EXPECT_EQ(FormatLimited("100%% %s %d %", {"x"}), "100% x %d %");
    EXPECT_EQ(FormatLimited("%s|%s.", {std::string_view("ab\0cd", 5)}), "ab|.");
    const std::string huge(5000, 'k');
    const std::string cut = FormatLimited("Missing entry: %s, default: %s", {huge, huge});
    EXPECT_EQ(cut.size(), kFormatLimit - 1);
    EXPECT_EQ(cut.back(), 'k');
}

// Files as they come from the field: none of them may fail or lose what precedes them.
TEST_F(KVLanguageFileTest, BadInputNeverFails) {
    EXPECT_EQ(Parse(""), 0u);
    const char bytes[] = "\xEF\xBB\xBFtitle=T\r\nnu\0l=a\0b\r\n\x80\xFF=\xE4\r\n";
    EXPECT_EQ(Parse(std::string(bytes, sizeof bytes - 1)), 3u);
    EXPECT_EQ(Text("\xEF\xBB\xBFtitle"), "T");
    EXPECT_EQ(Text(std::string("nu\0l", 4)), std::string("a\0b", 3));
    EXPECT_EQ(Text("\x80\xFF"), "\xE4");
}

TEST_F(KVLanguageFileTest, HugeInputsParseCompletely) {
    std::string file;
    for (int i = 0; i < 100000; ++i) file += "key" + std::to_string(i) + "=text\r\n";
    EXPECT_EQ(Parse(file), 100000u);
}

}  // namespace
