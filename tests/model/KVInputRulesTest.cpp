// The platform-free input rules: e-mail syntax, e-mail split and verdict, number prefixes.
#include "register/model/KVInputRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(KVInputRulesTest, SyntaxRefusesEachForbiddenCharacter) {
    for (char c : std::string("(),:;<>[]\\\"")) {
        std::string address = "ab" + std::string(1, c) + "c@example.com";
        EXPECT_FALSE(CheckEmailSyntax(address)) << address;
    }
    EXPECT_TRUE(CheckEmailSyntax("a+b_c-d!#$%&'*/=?^`{|}~@example.com"));
}

TEST(KVInputRulesTest, SyntaxRefusesBlanksControlsAndHighBytes) {
    EXPECT_FALSE(CheckEmailSyntax("a b@example.com"));
    EXPECT_FALSE(CheckEmailSyntax("ab@exa\tmple.com"));
    EXPECT_FALSE(CheckEmailSyntax("ab@example.com\x7f"));
    EXPECT_FALSE(CheckEmailSyntax("j\xf8rn@example.com"));
    EXPECT_FALSE(CheckEmailSyntax(std::string("ab@exam\0ple.com", 15)));
}

TEST(KVInputRulesTest, SyntaxWantsExactlyOneAtAndADot) {
    EXPECT_FALSE(CheckEmailSyntax(""));
    EXPECT_FALSE(CheckEmailSyntax("example.com"));
    EXPECT_FALSE(CheckEmailSyntax("a@b@example.com"));
    EXPECT_FALSE(CheckEmailSyntax("a@examplecom"));
    EXPECT_FALSE(CheckEmailSyntax("@example.com"));
}

TEST(KVInputRulesTest, SyntaxMeasuresOnlyTheLastDot) {
    EXPECT_FALSE(CheckEmailSyntax("a@example.c"));
    EXPECT_TRUE(CheckEmailSyntax("a@example.co"));
    EXPECT_FALSE(CheckEmailSyntax("a@.co"));      // nothing between "@" and the last dot
    EXPECT_TRUE(CheckEmailSyntax("a@x.co"));
    EXPECT_TRUE(CheckEmailSyntax("a@.example.com"));
    EXPECT_FALSE(CheckEmailSyntax("first.last@examplecom"));  // the only dot is before "@"
    EXPECT_FALSE(CheckEmailSyntax("a@example..com"));
    EXPECT_FALSE(CheckEmailSyntax("a..b@example.com"));
}

TEST(KVInputRulesTest, SplitCutsAtTheFirstAtAndTheFirstDotAfterIt) {
    const KVEmailParts p = SplitEmail("first.last@mail.example.com");
    EXPECT_EQ("first.last", p.local);
    EXPECT_EQ("mail", p.domain);
    EXPECT_EQ("example.com", p.topLevel);

    const KVEmailParts noAt = SplitEmail("nobody.example");
    EXPECT_EQ("nobody.example", noAt.local);
    EXPECT_EQ("", noAt.domain);
    EXPECT_EQ("", noAt.topLevel);

    const KVEmailParts twoAts = SplitEmail("a@b@c.d");
    EXPECT_EQ("a", twoAts.local);
    EXPECT_EQ("b@c", twoAts.domain);
    EXPECT_EQ("d", twoAts.topLevel);
}

TEST(KVInputRulesTest, VerdictDiffersFromTheWindowsSyntaxWhereDocumented) {
    // One character after the last dot: the model accepts, the window does not.
    EXPECT_EQ(KVEmailVerdict::Ok, JudgeEmail("a@example.c", ""));
    // Dot right after "@": the window accepts, the model sees no domain.
    EXPECT_TRUE(CheckEmailSyntax("a@.mail.com"));
    EXPECT_EQ(KVEmailVerdict::BadFormat, JudgeEmail("a@.mail.com", ""));
    // Two "@": the window refuses, the model accepts.
    EXPECT_FALSE(CheckEmailSyntax("a@b@mail.com"));
    EXPECT_EQ(KVEmailVerdict::Ok, JudgeEmail("a@b@mail.com", ""));
    EXPECT_EQ(KVEmailVerdict::BadFormat, JudgeEmail("a@example", ""));
    EXPECT_EQ(KVEmailVerdict::BadFormat, JudgeEmail("@example.com", ""));
    EXPECT_EQ(KVEmailVerdict::BadFormat, JudgeEmail("a@example.", ""));
}

TEST(KVInputRulesTest, VerdictComparesTheConfirmationExactly) {
    EXPECT_EQ(KVEmailVerdict::Ok, JudgeEmail("", "other@example.com"));
    EXPECT_EQ(KVEmailVerdict::Ok, JudgeEmail("a@example.com", ""));
    EXPECT_EQ(KVEmailVerdict::ConfirmationDiffers, JudgeEmail("a@example.com", "A@example.com"));
    // The confirmation is judged before the format.
    EXPECT_EQ(KVEmailVerdict::ConfirmationDiffers, JudgeEmail("bad", "worse"));
}

TEST(KVInputRulesTest, PrefixesAfterPlusAreTwoThenThreeDigits) {
    KVPrefixCandidates c = MsisdnPrefixCandidates("+4791234567");
    EXPECT_EQ("47", c.first);
    EXPECT_EQ("479", c.second);
    c = MsisdnPrefixCandidates("+47");  // too short for any look-up
    EXPECT_EQ("", c.first);
    EXPECT_EQ("", c.second);
    c = MsisdnPrefixCandidates("+471");
    EXPECT_EQ("47", c.first);
    EXPECT_EQ("", c.second);
}

TEST(KVInputRulesTest, PrefixesAfterDoubleZeroAreThreeThenFourDigits) {
    KVPrefixCandidates c = MsisdnPrefixCandidates("004791234567");
    EXPECT_EQ("479", c.first);
    EXPECT_EQ("4791", c.second);
    c = MsisdnPrefixCandidates("0047");
    EXPECT_EQ("", c.first);
    c = MsisdnPrefixCandidates("00479");
    EXPECT_EQ("479", c.first);
    EXPECT_EQ("", c.second);
    c = MsisdnPrefixCandidates("0479123");  // one zero is a national number
    EXPECT_EQ("", c.first);
    EXPECT_EQ("", c.second);
}

// Answers from a small table and remembers what it was asked.
class TableLookup : public KVCountryLookup {
public:
    std::string home;
    std::string prefixCountry;  // answer for prefixMatch
    std::string prefixMatch;
    std::string validNumber;  // the one number ConvertToMsisdn accepts
    std::vector<std::string> calls;

    std::string GetCountryOnPrefix(const std::string& prefix) override {
        calls.push_back("prefix " + prefix);
        return prefix == prefixMatch ? prefixCountry : "";
    }
    std::string GetHomeCountry() override {
        calls.push_back("home");
        return home;
    }
    std::string ConvertToMsisdn(const std::string& number, const std::string& country) override {
        calls.push_back("convert " + number + " " + country);
        return number == validNumber ? "+" + number : "";
    }
    int SetHomeCountry(const std::string& country) override {
        calls.push_back("sethome " + country);
        return 0;
    }
};

TEST(KVInputRulesTest, NumberFallsBackToTheSecondPrefixThenTheHomeCountry) {
    TableLookup lookup;
    lookup.prefixMatch = "358";
    lookup.prefixCountry = "FI";
    lookup.validNumber = "+358401234567";
    KVMsisdnVerdict v = JudgeMsisdn("+358401234567", lookup);
    EXPECT_TRUE(v.valid);
    EXPECT_EQ((std::vector<std::string>{"prefix 35", "prefix 358", "convert +358401234567 FI",
                                        "sethome FI"}),
              lookup.calls);

    TableLookup noMatch;
    noMatch.home = "SE";
    v = JudgeMsisdn("00461234567", noMatch);
    EXPECT_FALSE(v.valid);
    EXPECT_EQ("00461234567", v.msisdn);
    EXPECT_EQ((std::vector<std::string>{"prefix 461", "prefix 4612", "home",
                                        "convert 00461234567 SE"}),
              noMatch.calls);
}

TEST(KVInputRulesTest, NorwegianHomeRewritesTheNumberEvenWhenItFails) {
    TableLookup lookup;
    lookup.home = "NO";
    KVMsisdnVerdict v = JudgeMsisdn("91234567", lookup);
    EXPECT_FALSE(v.valid);
    EXPECT_EQ("+4791234567", v.msisdn);
    EXPECT_EQ((std::vector<std::string>{"home", "convert +4791234567 NO"}), lookup.calls);

    lookup.calls.clear();
    lookup.home = "no";  // only the exact code rewrites
    v = JudgeMsisdn("91234567", lookup);
    EXPECT_EQ("91234567", v.msisdn);
}

TEST(KVInputRulesTest, NumberWithoutAnyCountryIsNeverConverted) {
    TableLookup lookup;  // service unavailable: every answer empty
    EXPECT_TRUE(JudgeMsisdn("", lookup).valid);
    EXPECT_TRUE(lookup.calls.empty());
    EXPECT_FALSE(JudgeMsisdn("+4791234567", lookup).valid);
    EXPECT_EQ((std::vector<std::string>{"prefix 47", "prefix 479", "home"}), lookup.calls);
}

}  // namespace
