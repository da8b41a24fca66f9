#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/KVLanguageTable.h"
#include "tests/common/KVReadBack.h"
#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"

namespace {

// Sets "LogLangFile" under "\Support" of the default key path, which the process's own table
// reads, and removes the value and every key it had to create.
class DefaultPathSwitch {
public:
    explicit DefaultPathSwitch(DWORD value) {
        for (const char* part : {"Software\\Korvane", "\\VerazevEzude", "\\2.0", "\\Support"}) {
            path_ += part;
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
                RegCloseKey(key);
            else if (created_.empty())
                created_ = path_;
        }
        RegSetKeyValueA(HKEY_CURRENT_USER, path_.c_str(), "LogLangFile", REG_DWORD, &value, sizeof value);
    }
    ~DefaultPathSwitch() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, path_.c_str(), "LogLangFile");
        if (!created_.empty()) RegDeleteTreeA(HKEY_CURRENT_USER, created_.c_str());
    }

private:
    std::string path_;
    std::string created_;  // the first key of the path that was missing
};

// Each test runs in its own temporary folder, which is also the current directory, so that
// the table's relative "language.txt" is the test's own.
class KVLanguageTableTest : public ::testing::Test {
protected:
    KVLanguageTableTest() { std::filesystem::current_path(env_.TempFolder()); }
    ~KVLanguageTableTest() override { std::filesystem::current_path(oldDirectory_); }

    // A table made with the missing-entry switch at `logSwitch`, loaded from "register.lang".
    std::unique_ptr<KVLanguageTable> LoadedTable(uint32_t logSwitch, const std::string& bytes) {
        env_.SetDword(HKEY_CURRENT_USER, "Support", "LogLangFile", logSwitch);
        auto table = std::make_unique<KVLanguageTable>(env_.KeyPath());
        table->Load(env_.WriteFile("register.lang", bytes));
        return table;
    }
    std::string MissingLog() const { return ReadBack(env_.TempFolder() + "register.lang.log"); }

    KVTestEnv env_;
    const std::filesystem::path oldDirectory_ = std::filesystem::current_path();
};

// A miss observer hears each default shown, and its failure changes no text.
TEST_F(KVLanguageTableTest, TextsAcceleratorsPlaceholdersAndMisses) {
    const auto table = LoadedTable(0, "title=Company\r\nnext=&Next\r\nempty\r\n");
    table->Load(env_.WriteFile("main.lang", "title=Main\r\n"));
    std::vector<std::string> heard;
    table->SetMissObserver([&heard](const std::string& key, const std::string& defaultText) {
        heard.push_back(key + "=" + defaultText);
        throw std::runtime_error("a listener's failure");
    });
    EXPECT_EQ(table->GetText("title", "d"), "Company");
    EXPECT_EQ(table->GetText("empty", "default"), "");
    EXPECT_EQ(table->GetText("missing", "a<newline>b"), "a\r\nb");
    const LanguageReplacements fill = {{"msisdn", "+4712345678"}};
    EXPECT_EQ(table->GetText("missing", fill, "<msisdn>!"), "+4712345678!");
    EXPECT_EQ(table->GetAccelerator("next", 'x'), 'N');
    EXPECT_EQ(table->GetAccelerator("title", 'x'), 0);
    EXPECT_EQ(table->GetAccelerator("missing", 'x'), 'x');
    EXPECT_EQ(heard, (std::vector<std::string>{"missing=a<newline>b", "missing=<msisdn>!"}));

    table->SetMissObserver(nullptr);
    EXPECT_EQ(table->GetText("gone", "d"), "d");
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(KVLanguageTableTest, AFailedLoadKeepsEntriesAndFlagButTakesTheName) {
    const auto table = LoadedTable(0, "k=v\r\n");
    const std::string missing = env_.TempFolder() + "none.lang";
    const ErrExcepInfo raised = RaisedBy<QFileException>([&] { table->Load(missing); });
    EXPECT_EQ(raised.errorCode, 3000u);
    EXPECT_EQ(raised.extraText, missing);
    EXPECT_TRUE(table->IsLoaded());
    EXPECT_EQ(table->GetFileName(), missing);
    EXPECT_EQ(table->GetText("k", "d"), "v");
}

TEST_F(KVLanguageTableTest, UntilALoadSucceedsEveryLookupRetriesTheLastFileNamed) {
    KVLanguageTable table(env_.KeyPath());
    EXPECT_EQ(table.GetText("k", "default"), "default");
    EXPECT_FALSE(table.IsLoaded());
    env_.WriteFile("language.txt", "k=from language.txt\r\n");
    EXPECT_EQ(table.GetText("k", "default"), "from language.txt");

    KVLanguageTable failed(env_.KeyPath());
    EXPECT_THROW(failed.Load(env_.TempFolder() + "register.lang"), QFileException);
    env_.WriteFile("register.lang", "k=late\r\n");
    EXPECT_EQ(failed.GetText("k", "d"), "late");
    // Once loaded, the file is never read again.
    env_.WriteFile("register.lang", "other=x\r\n");
    EXPECT_EQ(failed.GetText("other", "d"), "d");
}

TEST_F(KVLanguageTableTest, MissingEntriesAreLoggedBesideTheFileOnlyWhenSwitchedToOne) {
    const auto off = LoadedTable(2, "");
    off->GetText("missing", "d");
    EXPECT_EQ(MissingLog(), "<missing>");

    const auto table = LoadedTable(1, "there=yes\r\n");
    table->GetText("lblMissing", "Line<newline>two");
    table->GetText("lblMissing", "Line<newline>two");
    table->GetText("there", "d");
    table->GetAccelerator("cmdMissing", 'm');
    EXPECT_EQ(MissingLog(), "Missing entry: lblMissing, default: Line<newline>two\r\n"
                            "Missing entry: lblMissing, default: Line<newline>two\r\n");
}

TEST_F(KVLanguageTableTest, EnormousKeysAreCutInTheLogAndAnUnwritableLogCostsNothing) {
    const auto table = LoadedTable(1, "");
    const std::string def(3000, 'd');
    EXPECT_EQ(table->GetText(std::string(3000, 'k'), def), def);
    const std::string logged = MissingLog();
    EXPECT_EQ(logged.size(), 1023u + 2);
    EXPECT_EQ(logged.substr(1021), "kk\r\n");

    // A log that cannot be written costs nothing.
    HANDLE held = CreateFileA((env_.TempFolder() + "register.lang.log").c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(table->GetText("k", "a<newline>"), "a\r\n");
    CloseHandle(held);
    EXPECT_EQ(MissingLog(), "");
}

// The process's table is built, and reads its switch, when first asked for: a table built
// while the module loaded would have read the registry under the loader lock, before the
// switch below was set, and would log nothing.
TEST_F(KVLanguageTableTest, TheProcessTableIsBuiltOnFirstUse) {
    const DefaultPathSwitch on(1);
    KVLanguageTable& table = KVLanguageTable::Instance();
    EXPECT_EQ(&KVLanguageTable::Instance(), &table);
    EXPECT_EQ(table.GetText("lblFirstUse", "d"), "d");
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ(ReadBack(env_.TempFolder() + "language.txt.log"),
              "Missing entry: lblFirstUse, default: d\r\n");
}

// What the parser sees must be the file's bytes, all of them: zero bytes and size included.
TEST_F(KVLanguageTableTest, FilesReachTheParserWhole) {
    const auto table = LoadedTable(0, "");
    EXPECT_TRUE(table->IsLoaded());
    const char zeros[] = "z\0ro=a\0b\r\nafter=ok\r\n";
    table->Load(env_.WriteFile("zeros.lang", std::string(zeros, sizeof zeros - 1)));
    EXPECT_EQ(table->GetText(std::string("z\0ro", 4), "d"), std::string("a\0b", 3));
    EXPECT_EQ(table->GetText("after", "d"), "ok");
    table->Load(env_.WriteFile("line.lang", "big=" + std::string(10 * 1024 * 1024, 'x')));
    EXPECT_EQ(table->GetText("big", "d").size(), 10u * 1024 * 1024);
}

}  // namespace
