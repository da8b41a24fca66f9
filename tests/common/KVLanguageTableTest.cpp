#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/KVLanguageTable.h"
#include "tests/common/KVReadBack.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"

namespace {

// Each test runs in its own temporary folder, which is also the current directory, so that
// the table's relative "language.txt" is the test's own.
class KVLanguageTableTest : public ::testing::Test {
protected:
    KVLanguageTableTest() {
        char current[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, current);
        oldDirectory_ = current;
        SetCurrentDirectoryA(env_.TempFolder().c_str());
    }
    ~KVLanguageTableTest() override { SetCurrentDirectoryA(oldDirectory_.c_str()); }

    void SwitchMissingLog(uint32_t value) {
        env_.SetDword(HKEY_CURRENT_USER, "Support", "LogLangFile", value);
    }

    // A table made with the missing-entry switch at `value`, loaded from a "register.lang"
    // holding `bytes`; its missing-entry log is MissingLog().
    std::unique_ptr<KVLanguageTable> LoadedTable(uint32_t value, const std::string& bytes) {
        SwitchMissingLog(value);
        auto table = std::make_unique<KVLanguageTable>(env_.KeyPath());
        table->Load(env_.WriteFile("register.lang", bytes));
        return table;
    }
    std::string MissingLog() const { return ReadBack(env_.TempFolder() + "register.lang.log"); }

    KVTestEnv env_;
    std::string oldDirectory_;
};

TEST_F(KVLanguageTableTest, CompanyFileWinsOverTheMainFile) {
    const std::string company = env_.WriteFile("registercompany.lang", "title=Company\r\n");
    const std::string main = env_.WriteFile("register.lang", "title=Main\r\nnext=&Next\r\n");
    KVLanguageTable table(env_.KeyPath());
    table.Load(company);
    table.Load(main);
    EXPECT_EQ(table.GetText("title", "d"), "Company");
    EXPECT_EQ(table.GetText("next", "d"), "&Next");
    EXPECT_EQ(table.GetAccelerator("next", 'x'), 'N');
    EXPECT_EQ(table.GetAccelerator("title", 'x'), 0);
    EXPECT_EQ(table.GetAccelerator("missing", 'x'), 'x');
    EXPECT_EQ(table.GetFileName(), main);
}

TEST_F(KVLanguageTableTest, AFailedLoadKeepsEntriesAndFlagButTakesTheName) {
    KVLanguageTable table(env_.KeyPath());
    table.Load(env_.WriteFile("a.lang", "k=v\r\n"));
    const std::string missing = env_.TempFolder() + "none.lang";
    try {
        table.Load(missing);
        ADD_FAILURE() << "no exception";
    } catch (const QFileException& e) {
        EXPECT_EQ(e.GetFirstInfo().errorCode, 3000u);
        EXPECT_EQ(e.GetFirstInfo().extraText, missing);
    }
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ(table.GetFileName(), missing);
    EXPECT_EQ(table.GetText("k", "d"), "v");
}

TEST_F(KVLanguageTableTest, LookupsBeforeAnyLoadTryTheCurrentFile) {
    KVLanguageTable table(env_.KeyPath());
    EXPECT_EQ(table.GetText("k", "default"), "default");
    EXPECT_FALSE(table.IsLoaded());

    // "language.txt" in the current directory appears later: the next look-up finds it.
    env_.WriteFile("language.txt", "k=from language.txt\r\n");
    EXPECT_EQ(table.GetText("k", "default"), "from language.txt");
    EXPECT_TRUE(table.IsLoaded());

    // Once loaded, the file is never read again.
    env_.WriteFile("language.txt", "other=x\r\n");
    EXPECT_EQ(table.GetText("other", "default"), "default");
}

TEST_F(KVLanguageTableTest, AfterAFailedStartEveryLookupRetriesTheLastFileNamed) {
    KVLanguageTable table(env_.KeyPath());
    const std::string main = env_.TempFolder() + "register.lang";
    EXPECT_THROW(table.Load(main), QFileException);
    EXPECT_EQ(table.GetText("k", "d"), "d");
    env_.WriteFile("register.lang", "k=late\r\n");
    EXPECT_EQ(table.GetText("k", "d"), "late");
}

TEST_F(KVLanguageTableTest, TextsDefaultsAndPlaceholders) {
    KVLanguageTable table(env_.KeyPath());
    table.Load(env_.WriteFile("register.lang",
                              "lblInfo=Send to <msisdn>,<newline>mail <email>\r\nempty\r\n"));
    const LanguageReplacements fill = {{"msisdn", "+4712345678"}, {"email", "a@b.no"}};
    EXPECT_EQ(table.GetText("lblInfo", fill, "d"), "Send to +4712345678,\r\nmail a@b.no");
    EXPECT_EQ(table.GetText("missing", fill, "<msisdn><newline><email>"),
              "+4712345678\r\na@b.no");
    EXPECT_EQ(table.GetText("missing", "a<newline>b"), "a\r\nb");
    // A key without "=" has an empty text, which is a text like any other.
    EXPECT_EQ(table.GetText("empty", "default"), "");
}

TEST_F(KVLanguageTableTest, MissingEntriesAreLoggedBesideTheFileWhenSwitchedOn) {
    const auto table = LoadedTable(1, "there=yes\r\nempty\r\n");
    table->GetText("lblMissing", "Line<newline>two");
    table->GetText("lblMissing", "Line<newline>two");
    table->GetText("there", "d");
    table->GetText("empty", "d");
    table->GetAccelerator("cmdMissing", 'm');
    EXPECT_EQ(MissingLog(),
              "Missing entry: lblMissing, default: Line<newline>two\r\n"
              "Missing entry: lblMissing, default: Line<newline>two\r\n");
}

TEST_F(KVLanguageTableTest, OnlyTheValueOneSwitchesTheLogOn) {
    const auto table = LoadedTable(2, "x=y\r\n");
    table->GetText("missing", "d");
    EXPECT_EQ(MissingLog(), "<missing>");
}

TEST_F(KVLanguageTableTest, BeforeAnyLoadTheLogIsLanguageTxtLog) {
    SwitchMissingLog(1);
    KVLanguageTable table(env_.KeyPath());
    table.GetText("k", "d");
    EXPECT_EQ(ReadBack(env_.TempFolder() + "language.txt.log"), "Missing entry: k, default: d\r\n");
}

TEST_F(KVLanguageTableTest, EnormousKeysAreCutInTheLogAndStillAnswered) {
    const auto table = LoadedTable(1, "");
    const std::string key(3000, 'k');
    const std::string def(3000, 'd');
    EXPECT_EQ(table->GetText(key, def), def);
    const std::string logged = MissingLog();
    ASSERT_EQ(logged.size(), 1023u + 2);
    EXPECT_EQ(logged.substr(0, 15 + 10), "Missing entry: kkkkkkkkkk");
    EXPECT_EQ(logged.substr(1021), "kk\r\n");
}

TEST_F(KVLanguageTableTest, AnUnwritableLogCostsNothing) {
    const auto table = LoadedTable(1, "");
    HANDLE held = CreateFileA((env_.TempFolder() + "register.lang.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(table->GetText("k", "a<newline>"), "a\r\n");
    CloseHandle(held);
    EXPECT_EQ(MissingLog(), "");
}

// Files as translators and editors leave them: nothing fails and nothing read is lost.
TEST_F(KVLanguageTableTest, BadFilesLoadWithoutFailing) {
    KVLanguageTable table(env_.KeyPath());
    table.Load(env_.WriteFile("empty.lang", ""));
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ(table.Size(), 0u);

    const char zeros[] = "z\0ro=a\0b\r\nafter=ok\r\n";
    table.Load(env_.WriteFile("zeros.lang", std::string(zeros, sizeof zeros - 1)));
    EXPECT_EQ(table.GetText(std::string("z\0ro", 4), "d"), std::string("a\0b", 3));
    EXPECT_EQ(table.GetText("after", "d"), "ok");

    table.Load(env_.WriteFile("bom.lang", "\xEF\xBB\xBFtitle=T\r\n\xE6\xF8\xE5=\xC6\xD8\xC5\r\n"));
    EXPECT_EQ(table.GetText("\xEF\xBB\xBFtitle", "d"), "T");
    EXPECT_EQ(table.GetText("title", "d"), "d");
    EXPECT_EQ(table.GetText("\xE6\xF8\xE5", "d"), "\xC6\xD8\xC5");

    table.Load(env_.WriteFile("lf.lang", "lf=1\nnext=2\n"));
    EXPECT_EQ(table.GetText("lf", "d"), "1\nnext=2\n");
    EXPECT_EQ(table.GetText("next", "d"), "d");
}

TEST_F(KVLanguageTableTest, LargeFilesLoadWhole) {
    KVLanguageTable table(env_.KeyPath());
    table.Load(env_.WriteFile("line.lang", "big=" + std::string(10 * 1024 * 1024, 'x')));
    EXPECT_EQ(table.GetText("big", "d").size(), 10u * 1024 * 1024);

    std::string many;
    for (int i = 0; i < 100000; ++i) many += "key" + std::to_string(i) + "=t" + std::to_string(i) + "\r\n";
    table.Load(env_.WriteFile("many.lang", many));
    EXPECT_EQ(table.Size(), 100001u);
    EXPECT_EQ(table.GetText("key99999", "d"), "t99999");
}

}  // namespace
