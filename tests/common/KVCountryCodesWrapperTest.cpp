// KVCountryCodesWrapper against the test tree's country-code libraries (or none at all).
#include "common/KVCountryCodesWrapper.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "tests/common/KVTestCountryLibrary.h"
#include "tests/support/KVTestEnv.h"

namespace {

class KVCountryCodesWrapperTest : public ::testing::Test {
protected:
    KVTestEnv env;  // outlives the wrapper, which frees the library from its folder
    KVCountryCodesWrapper wrapper;
};

TEST_F(KVCountryCodesWrapperTest, WithoutInstallRootEveryAnswerIsUnavailable) {
    // A library that lies in the folder the process stands in (a download folder, say) is
    // not searched by its bare name.
    KVTestCountryLibrary::Install(env, "scripted");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueA(HKEY_CURRENT_USER, env.KeyPath().c_str(), "InstallRoot"));
    struct Restore {
        const std::filesystem::path folder = std::filesystem::current_path();
        ~Restore() { std::filesystem::current_path(folder); }
    } restore;
    std::filesystem::current_path(KVTestCountryLibrary::Folder(env));

    EXPECT_EQ(-1, wrapper.SetRegistryKey(env.KeyPath()));
    EXPECT_EQ("", wrapper.GetFolder());
    EXPECT_EQ("", wrapper.GetCountryOnPrefix("47"));
    int status = 77;
    EXPECT_EQ("", wrapper.GetCountries(&status));
    EXPECT_EQ(77, status);
    KVCountryInfo info;
    EXPECT_EQ(-1, wrapper.GetCountryInfo("NO", info));
    EXPECT_FALSE(wrapper.IsLoaded());
}

TEST_F(KVCountryCodesWrapperTest, LoadsFromInstallRootAndInitialisesOncePerKey) {
    KVTestCountryLibrary::Install(env, "scripted");
    ASSERT_EQ(0, wrapper.SetRegistryKey(env.KeyPath()));
    EXPECT_EQ(KVTestCountryLibrary::Folder(env) + "\\", wrapper.GetFolder());

    EXPECT_EQ("NO", wrapper.GetHomeCountry());
    EXPECT_EQ("FI", wrapper.GetCountryOnPrefix("358"));
    EXPECT_EQ("", wrapper.GetCountryOnPrefix("12"));
    EXPECT_EQ("+4791234567", wrapper.ConvertToMsisdn("004791234567", "NO"));
    EXPECT_EQ("", wrapper.ConvertToMsisdn("+4712", "NO"));
    EXPECT_EQ(0, wrapper.SetHomeCountry("SE"));
    int status = 77;
    EXPECT_EQ("NO;SE;FI", wrapper.GetCountries(&status));
    EXPECT_EQ(0, status);
    KVCountryInfo info;
    EXPECT_EQ(0, wrapper.GetCountryInfo("SE", info));
    EXPECT_EQ("Sweden", info.GetName());
    KVCountryInfo unknown;
    EXPECT_EQ(1, wrapper.GetCountryInfo("ZZ", unknown));
    EXPECT_EQ("", unknown.GetName());

    // An answer without its terminator is cut at its buffer.
    EXPECT_EQ("XXXXXXXX", wrapper.GetCountryOnPrefix("99"));

    // The other key has no InstallRoot: the folder empties, the loaded library stays and is
    // initialised again.
    EXPECT_EQ(-1, wrapper.SetRegistryKey("Software\\KVTest\\NoSuchProduct"));
    EXPECT_EQ("", wrapper.GetFolder());
    EXPECT_EQ("NO", wrapper.GetHomeCountry());
    EXPECT_TRUE(wrapper.IsLoaded());
    EXPECT_EQ("KVCountryInit " + env.KeyPath() +
                  "\nKVGetHomeCountry\nKVGetCountryOnPrefix 358\nKVGetCountryOnPrefix 12\n"
                  "KVConvertToMsisdn 004791234567 NO\nKVConvertToMsisdn +4712 NO\n"
                  "KVSetHomeCountry SE\nKVGetCountries\nKVGetCountryInfo SE\nKVGetCountryInfo ZZ\n"
                  "KVGetCountryOnPrefix 99\nKVCountryInit Software\\KVTest\\NoSuchProduct\nKVGetHomeCountry\n",
              KVTestCountryLibrary::Calls());
}

// Every export is guarded by the initialisation: a failing one is answered without a call.
TEST_F(KVCountryCodesWrapperTest, FailingInitialisationIsAnsweredAndRetriedEveryCall) {
    KVTestCountryLibrary::Install(env, "initfails");
    ASSERT_EQ(0, wrapper.SetRegistryKey(env.KeyPath()));
    KVCountryInfo info;
    EXPECT_EQ(5, wrapper.GetCountryInfo("NO", info));
    EXPECT_EQ(5, wrapper.SetHomeCountry("NO"));
    EXPECT_EQ("", wrapper.GetHomeCountry());
    EXPECT_EQ("", wrapper.ConvertToMsisdn("+4791234567", "NO"));
    const std::string init = "KVCountryInit " + env.KeyPath() + "\n";
    EXPECT_EQ(init + init + init + init, KVTestCountryLibrary::Calls());
}

TEST_F(KVCountryCodesWrapperTest, MissingLibraryIsLookedForAgainByTheNextCall) {
    // An install root written with its trailing backslash gains no second one.
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", KVTestCountryLibrary::Folder(env) + "\\");
    ASSERT_EQ(0, wrapper.SetRegistryKey(env.KeyPath()));
    EXPECT_EQ(KVTestCountryLibrary::Folder(env) + "\\", wrapper.GetFolder());
    EXPECT_EQ("", wrapper.GetHomeCountry());
    EXPECT_FALSE(wrapper.IsLoaded());
    KVTestCountryLibrary::Install(env, "scripted");
    EXPECT_EQ("NO", wrapper.GetHomeCountry());
}

}  // namespace
