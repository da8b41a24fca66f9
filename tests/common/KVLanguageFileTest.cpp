#include <gtest/gtest.h>

#include <string>

#include "common/KVLanguageFile.h"

namespace {

class KVLanguageFileTest : public ::testing::Test {
protected:
    size_t Parse(const std::string& bytes) { return ParseLanguageFile(bytes, entries_); }
    const std::string& Text(const std::string& key) const { return entries_.at(key).text; }
    bool Has(const std::string& key) const { return entries_.count(key) != 0; }

    LanguageEntries entries_;
};

TEST_F(KVLanguageFileTest, SplitsAtTheFirstEqualsWithoutTrimming) {
    EXPECT_EQ(Parse("a=b=c\r\n key = value \r\nlonely\r\n=empty key\r\nlast=no terminator"), 5u);
    EXPECT_EQ(Text("a"), "b=c");
    EXPECT_EQ(Text(" key "), " value ");
    EXPECT_TRUE(Has("lonely"));
    EXPECT_EQ(Text("lonely"), "");
    EXPECT_EQ(Text(""), "empty key");
    EXPECT_EQ(Text("last"), "no terminator");
}

TEST_F(KVLanguageFileTest, CommentsAndEmptyLinesCountOnlyOnTheFirstByte) {
    EXPECT_EQ(Parse("#hidden=1\r\n\r\n\r\n #shown=2\r\nx=#not a comment\r\n"), 2u);
    EXPECT_FALSE(Has("#hidden"));
    EXPECT_EQ(Text(" #shown"), "2");
    EXPECT_EQ(Text("x"), "#not a comment");
    EXPECT_EQ(entries_.size(), 2u);
}

TEST_F(KVLanguageFileTest, OnlyCrLfEndsALine) {
    // LF-only files are one line: the first key is everything before the file's first "=".
    Parse("one=1\ntwo=2\rthree=3\n");
    ASSERT_EQ(entries_.size(), 1u);
    EXPECT_EQ(Text("one"), "1\ntwo=2\rthree=3\n");

    LanguageEntries other;
    ParseLanguageFile("a=1\r\r\nb=2\n\r\n", other);
    EXPECT_EQ(other.at("a").text, "1\r");
    EXPECT_EQ(other.at("b").text, "2\n");
}

TEST_F(KVLanguageFileTest, FirstDefinitionWinsWithinAndAcrossFiles) {
    EXPECT_EQ(Parse("k=company\r\nk=second line\r\n"), 1u);
    EXPECT_EQ(Parse("k=main file\r\nonly=main\r\n"), 1u);
    EXPECT_EQ(Text("k"), "company");
    EXPECT_EQ(Text("only"), "main");
}

TEST_F(KVLanguageFileTest, KeysAreCaseSensitiveAndByteOrdered) {
    Parse("key=lower\r\nKey=upper\r\n\xE9=high\r\n");
    EXPECT_EQ(Text("key"), "lower");
    EXPECT_EQ(Text("Key"), "upper");
    EXPECT_EQ(entries_.begin()->first, "Key");
    EXPECT_EQ(entries_.rbegin()->first, "\xE9");
}

TEST_F(KVLanguageFileTest, NewlineTagBecomesCrLfInTextsOnly) {
    Parse("a<newline>b=one<newline>two<newline><newline>\r\nc=<newline<newline>>\r\n");
    EXPECT_EQ(Text("a<newline>b"), "one\r\ntwo\r\n\r\n");
    EXPECT_EQ(Text("c"), "<newline\r\n>");
    EXPECT_EQ(ReplaceNewlines("no tag"), "no tag");
}

TEST_F(KVLanguageFileTest, AcceleratorFollowsTheFirstLoneAmpersand) {
    EXPECT_EQ(AcceleratorOf("&Finish"), 'F');
    EXPECT_EQ(AcceleratorOf("Fish && Chips"), 0);
    EXPECT_EQ(AcceleratorOf("&&Fish &chips"), 'c');
    EXPECT_EQ(AcceleratorOf("&&&x"), 'x');
    EXPECT_EQ(AcceleratorOf("Ends in &"), 0);
    EXPECT_EQ(AcceleratorOf("Ends in &&"), 0);
    EXPECT_EQ(AcceleratorOf("&"), 0);
    EXPECT_EQ(AcceleratorOf(""), 0);
    EXPECT_EQ(AcceleratorOf("a&\xE9"), '\xE9');

    // The accelerator is taken after "<newline>" has become CR LF.
    Parse("k=&<newline>x\r\nm=Sa&ve\r\n");
    EXPECT_EQ(entries_.at("k").accelerator, '\r');
    EXPECT_EQ(entries_.at("m").accelerator, 'v');
}

TEST_F(KVLanguageFileTest, PlaceholdersAreReplacedInOrderWithoutRescanningValues) {
    const LanguageReplacements replacements = {{"msisdn", "<email>"}, {"email", "a@b.c"}};
    // The second pair still sees the "<email>" that the first inserted: pairs run in order.
    EXPECT_EQ(ReplacePlaceholders("<msisdn> / <email>", replacements), "a@b.c / a@b.c");
    EXPECT_EQ(ReplacePlaceholders("<x><x>", {{"x", "<x>"}}), "<x><x>");
    EXPECT_EQ(ReplacePlaceholders("<msisdn", {{"msisdn", "1"}}), "<msisdn");
    EXPECT_EQ(ReplacePlaceholders("a<>b", {{"", "-"}}), "a-b");
    EXPECT_EQ(ReplacePlaceholders("<MSISDN>", {{"msisdn", "1"}}), "<MSISDN>");
}

TEST_F(KVLanguageFileTest, FormatLimitedCutsAtTheWvsprintfBound) {
    EXPECT_EQ(FormatLimited("Missing entry: %s, default: %s", {"k", "d<newline>"}),
              "Missing entry: k, default: d<newline>");
    EXPECT_EQ(FormatLimited("100%% %s %d", {"x"}), "100% x %d");
    EXPECT_EQ(FormatLimited("%s|%s|", {"only one"}), "only one||");
    EXPECT_EQ(FormatLimited("trailing %", {}), "trailing %");
    EXPECT_EQ(FormatLimited("%s.", {std::string_view("ab\0cd", 5)}), "ab.");

    const std::string huge(5000, 'k');
    const std::string cut = FormatLimited("Missing entry: %s, default: %s", {huge, huge});
    EXPECT_EQ(cut.size(), kFormatLimit - 1);
    EXPECT_EQ(cut.substr(0, 15), "Missing entry: ");
    EXPECT_EQ(cut.back(), 'k');
    EXPECT_EQ(FormatLimited(std::string(3000, '%'), {}).size(), 1023u);
}

// Files as they come from the field: none of them may fail or lose what precedes them.
TEST_F(KVLanguageFileTest, BadInputNeverFails) {
    EXPECT_EQ(Parse(""), 0u);
    EXPECT_TRUE(entries_.empty());

    // A byte-order mark is part of the first key.
    Parse("\xEF\xBB\xBFtitle=T\r\n");
    EXPECT_TRUE(Has("\xEF\xBB\xBFtitle"));
    EXPECT_FALSE(Has("title"));

    // Zero bytes stay inside keys and texts.
    const char withZeros[] = "nu\0l=a\0b\r\nafter=ok";
    Parse(std::string(withZeros, sizeof withZeros - 1));
    EXPECT_EQ(Text(std::string("nu\0l", 4)), std::string("a\0b", 3));
    EXPECT_EQ(Text("after"), "ok");

    Parse("\x80\xFF=\xE4\xF6\xFC\r\n");
    EXPECT_EQ(Text("\x80\xFF"), "\xE4\xF6\xFC");
}

TEST_F(KVLanguageFileTest, HugeFilesParseCompletely) {
    std::string line = "big=" + std::string(10 * 1024 * 1024, 'x');
    EXPECT_EQ(Parse(line), 1u);
    EXPECT_EQ(Text("big").size(), 10u * 1024 * 1024);

    LanguageEntries many;
    std::string file;
    for (int i = 0; i < 100000; ++i) file += "key" + std::to_string(i) + "=text\r\n";
    EXPECT_EQ(ParseLanguageFile(file, many), 100000u);
    EXPECT_EQ(many.at("key99999").text, "text");
}

}  // namespace
