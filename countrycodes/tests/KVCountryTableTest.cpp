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

// kSmallTable with the first `from` replaced by `to`.
std::string Replaced(const std::string& from, const std::string& to) {
    std::string text = kSmallTable;
    return text.replace(text.find(from), from.size(), to);
}

std::string WithMobile(const std::string& pattern) {
    return Replaced("D\tmobile\t[49]\\d{7}\t", "D\tmobile\t" + pattern + "\t");
}

}  // namespace

TEST(KVCountryTableTest, BuiltInTableIsCompleteAndEqualsTheDataFile) {
    std::string error;
    auto table = KVCountryTable::Parse(EmbeddedTable(), error, true);
    ASSERT_TRUE(table) << error;
    std::ostringstream file;
    file << std::ifstream(KV_COUNTRY_DATA_DIR "/countries.kvcc", std::ios::binary).rdbuf();
    EXPECT_EQ(EmbeddedTable(), file.str());
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

// std::regex would overflow a long, or the stack of a Windows thread, on patterns beyond the
// limits checked last.
TEST(KVCountryTableTest, RefusesMalformedTablesWithAReason) {
    auto nested = [](int depth) { return std::string(depth, '(') + "4" + std::string(depth, ')'); };
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "empty"},
        {Replaced("KVCC 1", "KVCC 2"), "line 1"},
        {Replaced("END\n", ""), "no END"},
        {Replaced("END\n", "END"), "no line end"},
        {kSmallTable + std::string("R\tCC\tGamma\t48\t1\t00\t\t\t\t\t\n"), "after END"},
        {Replaced("R\tBB", "R\tAA"), "twice"},
        {Replaced("R\tBB", "R\tB1"), "two capital letters"},
        {Replaced("\t47\t0", "\t0\t0"), "calling code"},
        {Replaced("\t47\t0", "\t47\t1"), "two main regions"},
        {Replaced("\t47\t1", "\t48\t1"), "no main region"},
        {Replaced("\t8\n", "\t9,8\n"), "bad lengths"},
        {Replaced("\t8\n", "\t18\n"), "bad lengths"},
        {Replaced("\t8\n", "\t\n"), "without lengths"},
        {Replaced("D\tmobile", "D\tmobil"), "unknown number kind"},
        {WithMobile(""), "empty pattern"},
        {Replaced("D\tgeneral\t79\\d{6}\t8\n", ""), "no general line"},
        {Replaced("Alpha", std::string(64, 'x')), "over 63 bytes"},
        {Replaced("Alpha", "Al\tpha"), "11 fields"},
        {Replaced("# two", "X two"), "unknown line kind"},
        {Replaced("R\tAA", "D\tgeneral\t1\t2\nR\tAA"), "before any region"},
        {WithMobile("4\\d{1000}"), "more than 3 digits"},
        {WithMobile("4\\d{2,77777777777777777777}"), "more than 3 digits"},
        {WithMobile("(4)\\1234"), "more than 3 digits"},
        {WithMobile(nested(33)), "nested deeper than 32"},
        {WithMobile("4" + std::string(4096, '1')), "over 4096 bytes"},
        {Replaced("\t0\t\t\t79\n", "\t0\t0{1000}\t\t79\n"), "more than 3 digits"},  // trunk prefix for parsing
        {Replaced("$2\t\t0$1", "$2\t4{1000}\t0$1"), "more than 3 digits"},              // leading digits of a format
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(KVCountryTable::Parse(c.text, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << "expected \"" << c.reason << "\", got " << error;
    }
    // Up to the limits, and with brackets, escapes and literal digits that only look alike.
    const std::string accepted[] = {nested(32), "4\\d{999}", "4\\d{1,999}", "4[(]{3}\\({2}12345678",
                                    "4" + std::string(4095, '1')};
    for (const std::string& pattern : accepted) {
        std::string error;
        EXPECT_TRUE(KVCountryTable::Parse(WithMobile(pattern), error, true)) << pattern.substr(0, 40) << ": " << error;
    }
    const std::string full = kSmallTable;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        std::string error;
        EXPECT_FALSE(KVCountryTable::Parse(std::string_view(full).substr(0, cut), error)) << "cut at " << cut;
    }
}

TEST(KVCountryTableTest, PatternThatDoesNotCompileIsRefusedWhenLoadingAndUnusableWhenLazy) {
    const std::string text = Replaced("[49]", "[49");
    std::string error;
    EXPECT_FALSE(KVCountryTable::Parse(text, error, true));
    EXPECT_NE(error.find("region AA"), std::string::npos) << error;
    auto lazy = KVCountryTable::Parse(text, error, false);
    ASSERT_TRUE(lazy);
    EXPECT_EQ(lazy->FindRegion("AA")->Patterns(), nullptr);
    EXPECT_NE(lazy->FindRegion("BB")->Patterns(), nullptr);
}
