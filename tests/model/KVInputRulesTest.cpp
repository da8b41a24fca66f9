// The platform-free input rules: e-mail syntax, e-mail split and verdict, number prefixes;
// and the page rules the model gives its window: Next and the first page.
#include "register/model/KVInputRules.h"
#include "register/model/KVModelCodes.h"

#include <gtest/gtest.h>

#include <string>

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

// A field without text blocks Next only when the page requires its bit; the e-mail field and
// its confirmation share one bit, so either one empty blocks it.
TEST(KVPageRulesTest, NextWantsThePageTheRequiredFieldsAndAGoodAddress) {
    uint32_t empty = 0;
    std::string email;
    int asked = 0;
    const auto emptyBits = [&](uint32_t mask) {
        ++asked;
        return empty & mask;
    };
    const auto address = [&] { return email; };
    const KVNextRule rule{1u | 2u, false};
    EXPECT_TRUE(rule.Enables(true, emptyBits, address));
    EXPECT_FALSE(rule.Enables(false, emptyBits, address));
    empty = 2u;
    EXPECT_FALSE(rule.Enables(true, emptyBits, address));
    empty = 4u | 64u;  // bits the page does not require
    EXPECT_TRUE(rule.Enables(true, emptyBits, address));
    // A page that requires nothing reads no field.
    asked = 0;
    EXPECT_TRUE((KVNextRule{0, false}.Enables(true, emptyBits, address)));
    EXPECT_EQ(0, asked);

    const KVNextRule withEmail{0, true};
    EXPECT_FALSE(withEmail.Enables(true, emptyBits, address));
    email = "kari@example";
    EXPECT_FALSE(withEmail.Enables(true, emptyBits, address));
    email = "kari@example.no";
    EXPECT_TRUE(withEmail.Enables(true, emptyBits, address));
}

TEST(KVPageRulesTest, FirstPageComesFromTheModelsPageElseItsFormPages) {
    struct Case {
        int32_t page, userInterface;
        KVPages::Page shown;
        bool failed;
    };
    for (const Case& c : {Case{KVPages::PAGE_VALIDATE, 0, KVPages::PAGE_VALIDATE, false},
                          Case{KVPages::PAGE_PENDING, 7, KVPages::PAGE_PENDING, false},
                          // The information page is only shown when a step announces it.
                          Case{KVPages::PAGE_REGISTERINFO, 1, KVPages::PAGE_USERINFO, false},
                          Case{KVPages::PAGE_NONE, 2, KVPages::PAGE_QUERYREGISTER, false},
                          Case{KVPages::PAGE_NONE, 1, KVPages::PAGE_USERINFO, false},
                          Case{KVPages::PAGE_NONE, 0, KVPages::PAGE_NONE, false},
                          Case{KVPages::PAGE_REGISTERINFO, 0, KVPages::PAGE_NONE, true},
                          Case{KVPages::PAGE_NONE, 3, KVPages::PAGE_NONE, true},
                          Case{-1, -1, KVPages::PAGE_NONE, true}}) {
        const KVFirstShow first = KVFirstShownPage(c.page, c.userInterface);
        EXPECT_EQ(c.shown, first.page) << c.page << " " << c.userInterface;
        EXPECT_EQ(c.failed, first.failed) << c.page << " " << c.userInterface;
    }
}

}  // namespace
