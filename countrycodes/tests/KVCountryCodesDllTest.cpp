// Tests of KVCountryCodes.dll through its exports, loaded afresh for every test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "countrycodes/dll/KVCountryCodesApi.h"
#include "tests/common/KVReadBack.h"
#include "tests/support/KVTestEnv.h"

namespace {

constexpr unsigned char kGuard = 0xA5;

// A buffer of `size` bytes followed by guard bytes that no export may touch.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t size) : size(size), bytes(size + 8, kGuard) {}
    char* data() { return reinterpret_cast<char*>(bytes.data()); }
    std::string text() const { return std::string(reinterpret_cast<const char*>(bytes.data()), strnlen(reinterpret_cast<const char*>(bytes.data()), size)); }
    bool guardIntact() const {
        return std::all_of(bytes.begin() + size, bytes.end(), [](unsigned char b) { return b == kGuard; }) &&
               std::memchr(bytes.data(), 0, size) != nullptr;
    }
    std::size_t size;
    std::vector<unsigned char> bytes;
};

}  // namespace

class KVCountryCodesDllTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module_, nullptr) << "LoadLibrary failed";
        ASSERT_FALSE(HasFailure());  // every export found
        ASSERT_EQ(init_(env_.KeyPath().c_str()), 0);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    template <typename E>
    typename E::Fn* Bind() {
        auto* fn = reinterpret_cast<typename E::Fn*>(reinterpret_cast<void*>(GetProcAddress(module_, E::kName)));
        if (!fn) ADD_FAILURE() << E::kName << " is not exported under its plain name";
        return fn;
    }
    std::string Msisdn(const std::string& number, const char* region) {
        GuardedBuffer out(KVConvertToMsisdnExport::kOutputSize);
        toMsisdn_(number.c_str(), region, out.data());
        EXPECT_TRUE(out.guardIntact()) << number;
        return out.text();
    }
    std::string Home() {
        GuardedBuffer out(KVGetHomeCountryExport::kOutputSize);
        getHome_(out.data());
        EXPECT_TRUE(out.guardIntact());
        return out.text();
    }
    // Fills the five buffers; returns the export's result and the texts.
    int Info(const char* code, std::vector<std::string>& texts) {
        using I = KVCountryInfoRecord;
        std::vector<GuardedBuffer> buffers;
        for (std::size_t size : {I::kCodeSize, I::kNameSize, I::kCallingCodeSize, I::kInternationalPrefixSize,
                                 I::kTrunkPrefixSize}) {
            buffers.emplace_back(size).data()[0] = '\0';
        }
        I info = {buffers[0].data(), buffers[1].data(), buffers[2].data(), buffers[3].data(), buffers[4].data()};
        const int result = getInfo_(code, &info);
        texts.clear();
        for (auto& b : buffers) {
            EXPECT_TRUE(b.guardIntact()) << code;
            texts.push_back(b.text());
        }
        return result;
    }

    KVTestEnv env_;
    HMODULE module_ = LoadLibraryA(KV_COUNTRY_DLL);
    KVCountryInitExport::Fn* init_ = Bind<KVCountryInitExport>();
    KVGetCountriesExport::Fn* getCountries_ = Bind<KVGetCountriesExport>();
    KVGetCountryInfoExport::Fn* getInfo_ = Bind<KVGetCountryInfoExport>();
    KVGetCountryOnPrefixExport::Fn* onPrefix_ = Bind<KVGetCountryOnPrefixExport>();
    KVGetHomeCountryExport::Fn* getHome_ = Bind<KVGetHomeCountryExport>();
    KVSetHomeCountryExport::Fn* setHome_ = Bind<KVSetHomeCountryExport>();
    KVConvertToMsisdnExport::Fn* toMsisdn_ = Bind<KVConvertToMsisdnExport>();
    KVGetCountryOnNameExport::Fn* onName_ = Bind<KVGetCountryOnNameExport>();
    KVGetCountryOnCodeExport::Fn* onCode_ = Bind<KVGetCountryOnCodeExport>();
    KVCountryLoadExport::Fn* load_ = Bind<KVCountryLoadExport>();
    KVConvertToNumberExport::Fn* toNumber_ = Bind<KVConvertToNumberExport>();
};

TEST_F(KVCountryCodesDllTest, EveryListedRegionHasItsInfoAndItsExamplesJudged) {
    int status = -1;
    const std::string list = getCountries_(&status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(std::count(list.begin(), list.end(), ';'), 244);
    std::ifstream file(KV_COUNTRY_TEST_DATA_DIR "/examples.txt");
    std::string regions;
    std::vector<std::string> info;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        // The region, its mobile example, its fixed-line example, 1 when that is also mobile.
        std::string region, mobile, fixed, both;
        std::istringstream fields(line);
        for (std::string* field : {&region, &mobile, &fixed, &both}) std::getline(fields, *field, '\t');
        regions += (regions.empty() ? "" : ";") + region;
        ASSERT_EQ(Info(region.c_str(), info), 0) << region;
        EXPECT_EQ(info[0], region);
        EXPECT_FALSE(info[1].empty()) << region;
        if (mobile.empty()) continue;  // a region without mobile numbers (TA)
        const std::string& cc = info[2];
        const std::string expected = "+" + cc + mobile;
        const std::string spaced = mobile.substr(0, 3) + " " + mobile.substr(3);
        EXPECT_EQ(Msisdn(mobile, region.c_str()), expected) << region << " national";
        EXPECT_EQ(Msisdn("+" + cc + " " + spaced, region.c_str()), expected) << region << " +cc";
        // In Hong Kong "008" is itself an international prefix, so "00852" reads as +52.
        if (info[3] == "00" && region != "HK") {
            EXPECT_EQ(Msisdn("00" + cc + "-" + spaced, region.c_str()), expected) << region << " 00cc";
        }
        // The number as the region prints it, trunk prefix included, reads back the same.
        GuardedBuffer layout(32);
        EXPECT_EQ(toNumber_(expected.c_str(), layout.data(), 32), 0) << region;
        EXPECT_EQ(Msisdn(layout.text(), region.c_str()), expected) << region << " " << layout.text();
        if (!fixed.empty()) {
            EXPECT_EQ(Msisdn(fixed, region.c_str()).empty(), both != "1") << region << " " << fixed;
        }
    }
    EXPECT_EQ(list, regions);
    ASSERT_EQ(Info("NO", info), 0);
    EXPECT_EQ(info, (std::vector<std::string>{"NO", "Norway", "47", "00", ""}));
    ASSERT_EQ(Info("ru", info), 0);
    EXPECT_EQ(info, (std::vector<std::string>{"RU", "Russian Federation", "7", "8~10", "8"}));
    EXPECT_NE(Info("ZZ", info), 0);
    EXPECT_NE(Info("", info), 0);
    EXPECT_NE(Info(std::string(300, 'N').c_str(), info), 0);
    EXPECT_NE(getInfo_("NO", nullptr), 0);
}

TEST_F(KVCountryCodesDllTest, HomeCountryComesFromTheRegistryElseTheLocaleAndServesTheNumbers) {
    const std::string fromLocale = Home();
    EXPECT_EQ(fromLocale.size(), 2u);
    env_.SetString(HKEY_CURRENT_USER, "", "HomeCountry", "FI");
    ASSERT_EQ(init_(env_.KeyPath().c_str()), 0);
    EXPECT_EQ(Home(), "FI");
    EXPECT_EQ(setHome_("se"), 0);
    EXPECT_EQ(Home(), "SE");
    EXPECT_NE(setHome_("XX"), 0);
    EXPECT_NE(setHome_(nullptr), 0);
    std::string stored;  // the one that succeeded, in the registry's spelling
    ASSERT_TRUE(env_.GetString(HKEY_CURRENT_USER, "", "HomeCountry", &stored));
    EXPECT_EQ(stored, "SE");
    env_.SetString(HKEY_CURRENT_USER, "", "HomeCountry", "nonsense");
    ASSERT_EQ(init_(env_.KeyPath().c_str()), 0);
    EXPECT_EQ(Home(), fromLocale);
    // The home country's international prefix is retried as "+".
    EXPECT_EQ(Msisdn("0011 1 416 555 0123", "US"), "");
    env_.SetString(HKEY_CURRENT_USER, "", "HomeCountry", "AU");
    ASSERT_EQ(init_(env_.KeyPath().c_str()), 0);
    EXPECT_EQ(Msisdn("0011 1 416 555 0123", "US"), "+14165550123");
}

TEST_F(KVCountryCodesDllTest, EmptyAbsurdAndUnknownInputGivesNothing) {
    const std::string huge(100000, '9');
    for (const std::string& number : {std::string(), std::string("+"), huge, std::string("+47 406 12 345 x12"),
                                      std::string("\xFF\xFE\x01"), std::string(40, '+')}) {
        EXPECT_EQ(Msisdn(number, "NO"), "");
    }
    EXPECT_EQ(Msisdn("40612345", "ZZ"), "");
    EXPECT_EQ(Msisdn("40612345", ""), "");
    GuardedBuffer out(KVConvertToMsisdnExport::kOutputSize);
    EXPECT_NE(toMsisdn_(nullptr, "NO", out.data()), 0);
    EXPECT_NE(toMsisdn_("40612345", nullptr, out.data()), 0);
    EXPECT_TRUE(out.guardIntact());
    toMsisdn_("40612345", "NO", nullptr);  // no buffer: nothing to write, and no crash
}

// A prefix finds the one region whose calling code starts the digits.
TEST_F(KVCountryCodesDllTest, RegionLookupsByPrefixCallingCodeAndName) {
    const std::string nines(5000, '9');  // begins with no code
    const struct {
        KVGetCountryOnCodeExport::Fn* lookup;  // the three look-ups share one signature
        const char *key, *region;
    } cases[] = {{onPrefix_, "4791", "NO"},       {onPrefix_, "12", "US"},  {onPrefix_, "290", "SH"},
                 {onPrefix_, "", ""},             {onPrefix_, "+47", ""},   {onPrefix_, nines.c_str(), ""},
                 {onPrefix_, nullptr, ""},        {onCode_, "47", "NO"},    {onCode_, "+1", "US"},
                 {onCode_, "479", ""},            {onCode_, "", ""},        {onCode_, "abc", ""},
                 {onName_, "norway", "NO"},       {onName_, "Norw", ""},
                 {onName_, "c\xF4te d'ivoire", "CI"}};  // code page 1252, as the names are
    for (const auto& c : cases) {
        GuardedBuffer code(KVRegionLookupExport::kOutputSize);
        EXPECT_EQ(c.lookup(c.key, code.data()) == 0, *c.region != '\0') << c.key;
        EXPECT_EQ(code.text(), c.region) << c.key;
        EXPECT_TRUE(code.guardIntact()) << c.key;
    }
}

TEST_F(KVCountryCodesDllTest, ConvertToNumberStaysWithinTheBufferAndClearsItOnFailure) {
    GuardedBuffer number(32);
    GuardedBuffer small(5);
    EXPECT_NE(toNumber_("+4740612345", small.data(), 5), 0);
    EXPECT_EQ(small.text(), "406 ");
    EXPECT_TRUE(small.guardIntact());
    EXPECT_NE(toNumber_("4740612345", number.data(), 32), 0);
    EXPECT_EQ(number.text(), "");
    EXPECT_TRUE(number.guardIntact());
}

TEST_F(KVCountryCodesDllTest, LoadReplacesTheTableOnlyWithAWellFormedFile) {
    std::string renamed = ReadBack(KV_COUNTRY_DATA_DIR "/countries.kvcc");
    ASSERT_NE(renamed.find("\tNorway\t"), std::string::npos);
    renamed.replace(renamed.find("\tNorway\t"), 8, "\tNoreg\t");
    std::vector<std::string> texts;
    std::string badPattern = renamed;
    badPattern.replace(badPattern.find("D\tmobile\t"), 9, "D\tmobile\t(");
    EXPECT_NE(load_(env_.WriteFile("badpattern.kvcc", badPattern).c_str()), 0);
    EXPECT_NE(load_((env_.TempFolder() + "missing.kvcc").c_str()), 0);
    EXPECT_NE(load_(nullptr), 0);
    ASSERT_EQ(Info("NO", texts), 0);
    EXPECT_EQ(texts[1], "Norway");
    EXPECT_EQ(Msisdn("40612345", "NO"), "+4740612345");

    EXPECT_EQ(load_(env_.WriteFile("renamed.kvcc", renamed).c_str()), 0);
    ASSERT_EQ(Info("NO", texts), 0);
    EXPECT_EQ(texts[1], "Noreg");
    EXPECT_EQ(Msisdn("40612345", "NO"), "+4740612345");
}
