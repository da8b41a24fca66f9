#include "countrycodes/src/KVCountryTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "countrycodes/src/KVEmbeddedTable.h"

using namespace kvcc;

namespace {

const char kSmallTable[] =
    "KVCC 1\n"
    "# two regions sharing a code\n"
    "R\tAA\tAlpha\t47\t1\t00\t\t0\t\t\t\n"
    "D\tgeneral\t[2-9]\\d{7}\t8\n"
    "D\tmobile\t[49]\\d{7}\t\n"
    "F\t(\\d{3})(\\d{5})\t$1 $2\t\t0$1\n"
    "R\tBB\tBeta\t47\t0\t00\t\t0\t\t\t79\n"
    "D\tgeneral\t79\\d{6}\t8\n"
    "END\n";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(KVCountryTableTest, BuiltInTableIsCompleteAndEqualsTheDataFile) {
    std::string error;
    auto table = KVCountryTable::Parse(EmbeddedTable(), error, true);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(EmbeddedTable(), ReadFile(KV_COUNTRY_DATA_DIR "/countries.kvcc"));
    for (const auto& region : table->Regions()) {
        EXPECT_EQ(table->RegionsOfCallingCode(region->callingCode).front()->callingCode, region->callingCode);
        EXPECT_TRUE(region->desc[static_cast<int>(KVNumberKind::General)].present) << region->code;
    }
    EXPECT_EQ(table->FindRegion("ci")->name, "C\xF4te d'Ivoire");
    EXPECT_EQ(table->FindRegion("XK")->name, "Kosovo");
    EXPECT_EQ(table->RegionsOfCallingCode(290).size(), 2u);  // SH and TA
}

TEST(KVCountryTableTest, SharedCallingCodeListsMainRegionFirst) {
    std::string error;
    auto table = KVCountryTable::Parse(kSmallTable, error);
    ASSERT_TRUE(table) << error;
    const auto& regions = table->RegionsOfCallingCode(47);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0]->code, "AA");
    EXPECT_EQ(regions[1]->leadingDigits, "79");
    std::size_t length = 0;
    EXPECT_EQ(table->CallingCodeAtStart("4791", &length), 47);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(table->CallingCodeAtStart("4"), 0);
    EXPECT_EQ(table->CallingCodeAtStart("047"), 0);
}

TEST(KVCountryTableTest, RefusesMalformedTablesWithAReason) {
    const std::string base = kSmallTable;
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = base;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "empty"},
        {replace("KVCC 1", "KVCC 2"), "line 1"},
        {replace("END\n", ""), "no END"},
        {replace("END\n", "END"), "no line end"},
        {base + "R\tCC\tGamma\t48\t1\t00\t\t\t\t\t\n", "after END"},
        {replace("R\tBB", "R\tAA"), "twice"},
        {replace("R\tBB", "R\tB1"), "two capital letters"},
        {replace("\t47\t0", "\t0\t0"), "calling code"},
        {replace("\t47\t0", "\t47\t1"), "two main regions"},
        {replace("\t47\t1", "\t48\t1"), "no main region"},
        {replace("\t8\n", "\t9,8\n"), "bad lengths"},
        {replace("\t8\n", "\t18\n"), "bad lengths"},
        {replace("\t8\n", "\t\n"), "without lengths"},
        {replace("D\tmobile", "D\tmobil"), "unknown number kind"},
        {replace("D\tmobile\t[49]\\d{7}\t\n", "D\tmobile\t\t\n"), "empty pattern"},
        {replace("D\tgeneral\t79\\d{6}\t8\n", ""), "no general line"},
        {replace("Alpha", std::string(64, 'x')), "over 63 bytes"},
        {replace("Alpha", "Al\tpha"), "11 fields"},
        {replace("# two", "X two"), "unknown line kind"},
        {replace("R\tAA", "D\tgeneral\t1\t2\nR\tAA"), "before any region"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(KVCountryTable::Parse(c.text, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << "expected \"" << c.reason << "\", got " << error;
    }
}

// std::regex would overflow a long, or the stack of a Windows thread, on these.
TEST(KVCountryTableTest, PatternsBeyondTheRegexCompilersLimitsAreRefused) {
    const std::string base = kSmallTable;
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = base;
        return text.replace(text.find(from), from.size(), to);
    };
    auto mobile = [&](const std::string& pattern) {
        return replace("D\tmobile\t[49]\\d{7}\t", "D\tmobile\t" + pattern + "\t");
    };
    auto nested = [](int depth) { return std::string(depth, '(') + "4" + std::string(depth, ')'); };
    const struct {
        std::string text;
        const char* reason;
    } refused[] = {
        {mobile("4\\d{1000}"), "more than 3 digits"},
        {mobile("4\\d{2,77777777777777777777}"), "more than 3 digits"},
        {mobile("(4)\\1234"), "more than 3 digits"},
        {mobile(nested(33)), "nested deeper than 32"},
        {mobile("4" + std::string(4096, '1')), "over 4096 bytes"},
        {replace("\t0\t\t\t79\n", "\t0\t0{1000}\t\t79\n"), "more than 3 digits"},  // trunk prefix for parsing
        {replace("$2\t\t0$1", "$2\t4{1000}\t0$1"), "more than 3 digits"},              // leading digits of a format
    };
    for (const auto& c : refused) {
        std::string error;
        EXPECT_FALSE(KVCountryTable::Parse(c.text, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << "expected \"" << c.reason << "\", got " << error;
    }
    // Up to the limits, and with brackets, escapes and literal digits that only look alike.
    const std::string accepted[] = {nested(32), "4\\d{999}", "4\\d{1,999}", "4[(]{3}\\({2}12345678",
                                    "4" + std::string(4095, '1')};
    for (const std::string& pattern : accepted) {
        std::string error;
        EXPECT_TRUE(KVCountryTable::Parse(mobile(pattern), error, true)) << pattern.substr(0, 40) << ": " << error;
    }
}

TEST(KVCountryTableTest, PatternThatDoesNotCompileIsRefusedWhenLoadingAndUnusableWhenLazy) {
    std::string text = kSmallTable;
    text.replace(text.find("[49]"), 4, "[49");
    std::string error;
    EXPECT_FALSE(KVCountryTable::Parse(text, error, true));
    EXPECT_NE(error.find("region AA"), std::string::npos) << error;
    auto lazy = KVCountryTable::Parse(text, error, false);
    ASSERT_TRUE(lazy);
    EXPECT_EQ(lazy->FindRegion("AA")->Patterns(), nullptr);
    EXPECT_NE(lazy->FindRegion("BB")->Patterns(), nullptr);
}

TEST(KVCountryTableTest, EveryTruncationIsRefused) {
    const std::string full = kSmallTable;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        std::string error;
        EXPECT_FALSE(KVCountryTable::Parse(std::string_view(full).substr(0, cut), error)) << "cut at " << cut;
    }
    std::string error;
    EXPECT_TRUE(KVCountryTable::Parse(full, error));
}
