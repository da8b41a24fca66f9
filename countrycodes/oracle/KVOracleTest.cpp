// Our rules on Debian's libphonenumber data must answer exactly as that library does, apart
// from the numbers our two additions accept on purpose.
#include <phonenumbers/phonenumberutil.h>

#include <gtest/gtest.h>

#include <map>

#include "countrycodes/oracle/KVCorpus.h"
#include "countrycodes/oracle/KVDebianTable.h"
#include "countrycodes/src/KVNumberRules.h"

using namespace kvcc;
using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

bool IsMobile(PhoneNumberUtil::PhoneNumberType type) {
    return type == PhoneNumberUtil::MOBILE || type == PhoneNumberUtil::FIXED_LINE_OR_MOBILE;
}

// libphonenumber's answer: the E.164 form of a number that parses with the region, belongs
// to that region and is a mobile number there.
std::string DebianMsisdn(const std::string& text, const std::string& region) {
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    if (util.Parse(text, region, &number) != PhoneNumberUtil::NO_PARSING_ERROR) return {};
    std::string owner;
    util.GetRegionCodeForNumber(number, &owner);
    if (owner != region || !IsMobile(util.GetNumberType(number))) return {};
    std::string e164;
    util.Format(number, PhoneNumberUtil::E164, &e164);
    return e164;
}

class KVOracleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        data_ = new KVDebianData(ReadDebianMetadata());
        std::string error;
        table_ = KVCountryTable::Parse(data_->table, error, true);
        ASSERT_TRUE(table_) << error;
    }
    static void TearDownTestSuite() {
        delete data_;
        data_ = nullptr;
        table_.reset();
    }
    static KVDebianData* data_;
    static std::shared_ptr<const KVCountryTable> table_;
};

KVDebianData* KVOracleTest::data_ = nullptr;
std::shared_ptr<const KVCountryTable> KVOracleTest::table_;

}  // namespace

TEST_F(KVOracleTest, EveryCorpusNumberGetsLibphonenumbersAnswerApartFromOurAdditions) {
    ASSERT_TRUE(table_);
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    KVNumberRules rules(table_);
    const auto corpus = BuildCorpus(*table_, data_->examples);
    ASSERT_GT(corpus.size(), 10000u);
    std::size_t agreed = 0, accepted = 0, sharedCode = 0, homeRetry = 0;
    std::map<std::string, int> disagreements;
    for (const KVCorpusCase& c : corpus) {
        const KVRegion& region = *table_->FindRegion(c.region);
        const std::string expected = DebianMsisdn(c.text, c.region);
        KVMsisdnOptions strict;
        strict.anyRegionOfCallingCode = false;
        const std::string ours = rules.ToMsisdn(c.text, region, strict);
        if (ours == expected) {
            ++agreed;
        } else if (++disagreements[c.form] <= 3) {
            ADD_FAILURE() << c.region << " \"" << c.text << "\" (" << c.form << "): libphonenumber \"" << expected
                          << "\", ours \"" << ours << "\"";
        }
        if (!ours.empty()) ++accepted;

        KVMsisdnOptions full;
        full.home = table_->FindRegion(c.home);
        const std::string withAdditions = rules.ToMsisdn(c.text, region, full);
        if (withAdditions == ours) continue;
        // What the additions accept: never a number the plain rules accepted differently, and
        // always a mobile number of a region sharing the given region's calling code.
        EXPECT_TRUE(ours.empty()) << c.region << " " << c.text;
        (rules.ToMsisdn(c.text, region, KVMsisdnOptions{}).empty() ? homeRetry : sharedCode)++;
        PhoneNumber number;
        ASSERT_EQ(util.Parse(withAdditions, "ZZ", &number), PhoneNumberUtil::NO_PARSING_ERROR) << withAdditions;
        EXPECT_EQ(number.country_code(), region.callingCode) << c.region << " " << c.text;
        EXPECT_TRUE(util.IsValidNumber(number) && IsMobile(util.GetNumberType(number)))
            << c.region << " \"" << c.text << "\" accepted as " << withAdditions;
    }
    std::cout << "corpus " << corpus.size() << ", agreed " << agreed << ", accepted " << accepted
              << "; accepted by design: " << sharedCode << " by their own region of a shared code, " << homeRetry
              << " after the home prefix retry\n";
    EXPECT_EQ(agreed, corpus.size());
    EXPECT_GT(accepted, corpus.size() / 10);
    EXPECT_GT(sharedCode, 0u);
    EXPECT_GT(homeRetry, 0u);
}

TEST_F(KVOracleTest, NationalLayoutOfEveryExampleMatchesLibphonenumber) {
    ASSERT_TRUE(table_);
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    KVNumberRules rules(table_);
    int compared = 0;
    for (const auto& [code, numbers] : data_->examples) {
        for (const std::string& nsn : numbers) {
            PhoneNumber number;
            if (util.Parse(nsn, code, &number) != PhoneNumberUtil::NO_PARSING_ERROR) continue;
            std::string e164, national;
            util.Format(number, PhoneNumberUtil::E164, &e164);
            util.Format(number, PhoneNumberUtil::NATIONAL, &national);
            EXPECT_EQ(rules.FormatNational(e164), national) << code << " " << e164;
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);
}
