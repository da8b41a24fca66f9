#include "countrycodes/src/KVNumberRules.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "countrycodes/src/KVEmbeddedTable.h"

using namespace kvcc;

class KVNumberRulesTest : public ::testing::Test {
protected:
    std::string Msisdn(const std::string& typed, const char* region, const KVMsisdnOptions& options = {}) const {
        return KVNumberRules(table_).ToMsisdn(typed, *table_->FindRegion(region), options);
    }
    std::string error_;
    std::shared_ptr<const KVCountryTable> table_ = KVCountryTable::Parse(EmbeddedTable(), error_);
};

TEST_F(KVNumberRulesTest, MobileNumberIsAcceptedInEveryWayPeopleTypeIt) {
    for (const char* typed : {"40612345", "406 12 345", "+47 406 12 345", "0047 406-12-345", "4740612345",
                              "+47 (406) 12.345", "  406/12/345  ", "++4740612345", "+47\xA0" "406\x96" "12345"}) {
        EXPECT_EQ(Msisdn(typed, "NO"), "+4740612345") << typed;
    }
    EXPECT_EQ(Msisdn("07911 123456", "GB"), "+447911123456");      // trunk prefix
    EXPECT_EQ(Msisdn("011 15 2345-6789", "AR"), "+5491123456789");  // trunk prefix rewritten
    EXPECT_EQ(Msisdn("+54 9 11 2345 6789", "AR"), "+5491123456789");
    EXPECT_EQ(Msisdn("8 912 345 67 89", "RU"), "+79123456789");
    EXPECT_EQ(Msisdn("810 47 406 12 345", "RU"), "");  // a Norwegian number is not Russian
}

TEST_F(KVNumberRulesTest, NonMobileAndMalformedNumbersAreRefused) {
    const std::string tooLong = "+47 " + std::string(250, ' ') + "40612345";
    for (const char* typed : {"21234567",           // Norwegian fixed line
                              "4061234", "406123456",  // a digit short, a digit more
                              "", "   ", "+", "+47", "47", "abc", "406 12 345 ext 7", "40612345#",
                              "406 12 345;7", "406,12,345", "406~12345", "40612+345", "406\t12345",
                              "+800 1234 5678"}) {
        EXPECT_EQ(Msisdn(typed, "NO"), "") << typed;
    }
    EXPECT_EQ(Msisdn(tooLong, "NO"), "");
    EXPECT_EQ(Msisdn("+47 406 12 345", "SE"), "");  // typed calling code of another country
}

TEST_F(KVNumberRulesTest, OptionsDecideWhichRegionsATypedNumberMayBelongTo) {
    EXPECT_EQ(Msisdn("+1 416 555 0123", "US"), "+14165550123");
    EXPECT_EQ(Msisdn("+1 416 555 0123", "CA"), "+14165550123");
    KVMsisdnOptions strict;
    strict.anyRegionOfCallingCode = false;
    EXPECT_EQ(Msisdn("+1 416 555 0123", "US", strict), "");
    EXPECT_EQ(Msisdn("+1 201 555 0123", "US", strict), "+12015550123");
    KVPhoneNumber number;
    ASSERT_EQ(KVNumberRules(table_).Parse("+7 701 234 5678", *table_->FindRegion("RU"), number), KVParseError::None);
    EXPECT_EQ(KVNumberRules(table_).RegionOfNumber(number)->code, "KZ");

    // The home country's international prefix is read as "+" only when the plain attempt fails.
    KVMsisdnOptions fromAustralia;
    fromAustralia.home = table_->FindRegion("AU");
    EXPECT_EQ(Msisdn("0011 1 416 555 0123", "US", fromAustralia), "+14165550123");
    EXPECT_EQ(Msisdn("0011 44 7911 123456", "US", fromAustralia), "");  // still not of the given code
    EXPECT_EQ(Msisdn("406 12 345", "NO", fromAustralia), "+4740612345");
}

TEST_F(KVNumberRulesTest, ParseReportsWhyANumberIsNoNumber) {
    const KVRegion& norway = *table_->FindRegion("NO");
    KVNumberRules rules(table_);
    KVPhoneNumber number;
    EXPECT_EQ(rules.Parse("hello", norway, number), KVParseError::NotANumber);
    EXPECT_EQ(rules.Parse("+999 1234", norway, number), KVParseError::InvalidCountryCode);
    EXPECT_EQ(rules.Parse("00 47", norway, number), KVParseError::TooShortAfterIdd);
    EXPECT_EQ(rules.Parse("+47 123456789012345678", norway, number), KVParseError::TooLong);
    EXPECT_EQ(rules.Parse(std::string(251, '1'), norway, number), KVParseError::TooLong);
    ASSERT_EQ(rules.Parse("+39 06 1234 5678", *table_->FindRegion("IT"), number), KVParseError::None);
    EXPECT_EQ(number.national, "0612345678");  // Italian leading zero belongs to the number
}

TEST_F(KVNumberRulesTest, FormatNationalUsesTheMainRegionsLayoutAndTrunkPrefix) {
    KVNumberRules rules(table_);
    EXPECT_EQ(rules.FormatNational("+447911123456"), "07911 123456");
    EXPECT_EQ(rules.FormatNational("+14165550123"), "(416) 555-0123");
    EXPECT_EQ(rules.FormatNational("+4712"), "12");  // no layout fits: digits as they are
    for (const char* bad : {"", "+", "4740612345", "+47 406", "+9991234", "+4", "+47123456789012345678901"}) {
        EXPECT_EQ(rules.FormatNational(bad), "") << bad;
    }
}

TEST_F(KVNumberRulesTest, FirstUseOfARegionFromManyThreadsAgrees) {
    std::vector<std::string> results(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] { results[i] = Msisdn("+81 90 1234 5678", "JP"); });
    }
    for (auto& thread : threads) thread.join();
    for (const auto& result : results) EXPECT_EQ(result, "+819012345678");
}
