// The platform-free input rules: e-mail syntax, e-mail split and verdict, number prefixes;
// and the page rules the model gives its window: Next and the first page.
#include "register/model/KVInputRules.h"
#include "register/model/KVModelCodes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(KVInputRulesTest, SyntaxWantsOneAtPlainCharactersAndTwoLettersAfterTheLastDot) {
    for (char c : std::string("(),:;<>[]\\\"")) {
        std::string address = "ab" + std::string(1, c) + "c@example.com";
        EXPECT_FALSE(CheckEmailSyntax(address)) << address;
    }
    const struct {
        std::string address;
        bool valid;
    } cases[] = {
        {"a+b_c-d!#$%&'*/=?^`{|}~@example.com", true},
        // Blanks, controls and high bytes.
        {"a b@example.com", false}, {"ab@exa\tmple.com", false}, {"ab@example.com\x7f", false},
        {"j\xf8rn@example.com", false}, {std::string("ab@exam\0ple.com", 15), false},
        // Exactly one "@", something before it, and a dot after it.
        {"", false}, {"example.com", false}, {"a@b@example.com", false}, {"a@examplecom", false},
        {"@example.com", false}, {"first.last@examplecom", false},
        // Only the last dot is measured: two characters after it, one before it.
        {"a@example.c", false}, {"a@example.co", true}, {"a@.co", false}, {"a@x.co", true},
        {"a@.example.com", true}, {"a@example..com", false}, {"a..b@example.com", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.valid, CheckEmailSyntax(c.address)) << c.address;
}

TEST(KVInputRulesTest, VerdictComparesTheConfirmationThenThePartsCutAtTheFirstAtAndDot) {
    const struct {
        const char *address, *local, *domain, *topLevel;
    } cases[] = {{"first.last@mail.example.com", "first.last", "mail", "example.com"},
                 {"nobody.example", "nobody.example", "", ""},
                 {"a@b@c.d", "a", "b@c", "d"}};
    for (const auto& c : cases) {
        const KVEmailParts p = SplitEmail(c.address);
        EXPECT_EQ(c.local, p.local) << c.address;
        EXPECT_EQ(c.domain, p.domain) << c.address;
        EXPECT_EQ(c.topLevel, p.topLevel) << c.address;
    }

    // Where the model's verdict differs from the window's syntax: "a@example.c" (the window
    // refuses one character after the last dot) and "a@b@mail.com" (the window refuses two "@").
    // "a@.mail.com", which only the model refuses, and a confirmation differing in case are
    // typed in the whole-run suite.
    const struct {
        const char *address, *confirmation;
        KVEmailVerdict verdict;
    } verdicts[] = {
        {"a@example.c", "", KVEmailVerdict::Ok},
        {"a@b@mail.com", "", KVEmailVerdict::Ok},
        {"a@example", "", KVEmailVerdict::BadFormat},
        {"@example.com", "", KVEmailVerdict::BadFormat},
        {"a@example.", "", KVEmailVerdict::BadFormat},
        {"", "other@example.com", KVEmailVerdict::Ok},
        {"a@example.com", "", KVEmailVerdict::Ok},
        {"bad", "worse", KVEmailVerdict::ConfirmationDiffers},
    };
    for (const auto& c : verdicts)
        EXPECT_EQ(c.verdict, JudgeEmail(c.address, c.confirmation)) << c.address << " " << c.confirmation;
}

// After "+" two then three digits are asked, after "00" three then four; a prefix the number
// is too short for is not asked.
TEST(KVInputRulesTest, PrefixesFollowThePlusOrTheDoubleZero) {
    const struct {
        const char *number, *first, *second;
    } cases[] = {{"+4791234567", "47", "479"}, {"+47", "", ""},      {"+471", "47", ""},
                 {"004791234567", "479", "4791"}, {"0047", "", ""},  {"00479", "479", ""},
                 {"0479123", "", ""}};  // one zero is a national number
    for (const auto& c : cases) {
        const KVPrefixCandidates candidates = MsisdnPrefixCandidates(c.number);
        EXPECT_EQ(c.first, candidates.first) << c.number;
        EXPECT_EQ(c.second, candidates.second) << c.number;
    }
}

// A field without text blocks Next only when the page requires its bit; a page that requires
// nothing reads no field. Required fields and the address's syntax are walked through in the
// whole-run suite.
TEST(KVPageRulesTest, NextWantsThePageShownAndIgnoresFieldsThePageDoesNotRequire) {
    uint32_t empty = 0;
    int asked = 0;
    const auto emptyBits = [&](uint32_t mask) {
        ++asked;
        return empty & mask;
    };
    const auto address = [] { return std::string(); };
    const KVNextRule rule{1u | 2u, false};
    EXPECT_TRUE(rule.Enables(true, emptyBits, address));
    EXPECT_FALSE(rule.Enables(false, emptyBits, address));
    empty = 4u | 64u;  // bits the page does not require
    EXPECT_TRUE(rule.Enables(true, emptyBits, address));
    asked = 0;
    EXPECT_TRUE((KVNextRule{0, false}.Enables(true, emptyBits, address)));
    EXPECT_EQ(0, asked);
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
