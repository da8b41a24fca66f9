#include <gtest/gtest.h>

#include <string>

#include "common/KVRegistry.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"

namespace {

class KVRegistryTest : public ::testing::Test {
protected:
    // The code of the oldest record and the newest place of a failed install-root read.
    void ExpectInstallRootFails(uint32_t code) {
        try {
            registry_.GetInstallRoot();
            ADD_FAILURE() << "no exception";
        } catch (const QException& e) {
            EXPECT_EQ(e.GetFirstInfo().errorCode, code);
            EXPECT_EQ(e.GetLastInfo().method, "GetInstallRoot");
            EXPECT_EQ(e.GetLastInfo().sourceFile, ".\\KVRegistry.cpp");
        }
    }

    KVTestEnv env_;
    KVRegistry registry_{env_.KeyPath()};
};

TEST_F(KVRegistryTest, InstallRootPrefersAnUsableUserValue) {
    env_.SetString(HKEY_LOCAL_MACHINE, "", "InstallRoot", "c:\\machine");
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\machine");

    env_.SetString(HKEY_CURRENT_USER, "", "InstallRoot", "");
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\machine");

    env_.SetDword(HKEY_CURRENT_USER, "", "InstallRoot", 7);
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\machine");

    env_.SetString(HKEY_CURRENT_USER, "", "InstallRoot", "c:\\user");
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\user");
}

TEST_F(KVRegistryTest, InstallRootMissingFromBothHivesReachesTheCaller) {
    ExpectInstallRootFails(1501);

    env_.SetString(HKEY_LOCAL_MACHINE, "", "Other", "x");
    ExpectInstallRootFails(1503);

    env_.SetDword(HKEY_LOCAL_MACHINE, "", "InstallRoot", 1);
    ExpectInstallRootFails(1504);
}

TEST_F(KVRegistryTest, CampaignComesFromTheMachineHiveOnly) {
    EXPECT_EQ(registry_.GetCampaignID(), "");
    env_.SetString(HKEY_CURRENT_USER, "", "CampaignID", "user");
    EXPECT_EQ(registry_.GetCampaignID(), "");
    env_.SetDword(HKEY_LOCAL_MACHINE, "", "CampaignID", 42);
    EXPECT_EQ(registry_.GetCampaignID(), "");
    env_.SetString(HKEY_LOCAL_MACHINE, "", "CampaignID", "spring");
    EXPECT_EQ(registry_.GetCampaignID(), "spring");
}

TEST_F(KVRegistryTest, LogLevelTenInTheUserHiveDefersToTheMachine) {
    EXPECT_EQ(registry_.GetLogLevel(1), 1u);

    env_.SetDword(HKEY_LOCAL_MACHINE, "Debug", "LogLevel", 5);
    EXPECT_EQ(registry_.GetLogLevel(1), 5u);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 2);
    EXPECT_EQ(registry_.GetLogLevel(1), 2u);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 10);
    EXPECT_EQ(registry_.GetLogLevel(1), 5u);
    env_.SetString(HKEY_CURRENT_USER, "Debug", "LogLevel", "2");
    EXPECT_EQ(registry_.GetLogLevel(1), 5u);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 0);
    EXPECT_EQ(registry_.GetLogLevel(1), 0u);
}

TEST_F(KVRegistryTest, LogLevelFallsBackToTheDefaultOnBadMachineValues) {
    env_.SetString(HKEY_LOCAL_MACHINE, "Debug", "LogLevel", "5");
    EXPECT_EQ(registry_.GetLogLevel(3), 3u);
    env_.SetDword(HKEY_LOCAL_MACHINE, "Debug", "LogLevel", 10);
    EXPECT_EQ(registry_.GetLogLevel(3), 10u);
}

TEST_F(KVRegistryTest, DebugFlagReadsDebugOnlyWhenSupportIsUnreadable) {
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 0u);

    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLangFile", 1);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 1u);

    // "\Support" exists without the value: its default wins, "\Debug" is not read.
    env_.SetDword(HKEY_CURRENT_USER, "Support", "Other", 3);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 0u);

    // A value of the wrong type makes "\Support" unreadable.
    env_.SetString(HKEY_CURRENT_USER, "Support", "LogLangFile", "1");
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 1u);

    env_.SetDword(HKEY_CURRENT_USER, "Support", "LogLangFile", 2);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 2u);

    // The machine hive is never consulted.
    KVTestEnv other;
    KVRegistry registry(other.KeyPath());
    other.SetDword(HKEY_LOCAL_MACHINE, "Support", "LogLangFile", 1);
    other.SetString(HKEY_CURRENT_USER, "Debug", "LogLangFile", "x");
    EXPECT_EQ(registry.GetDebugFlag("LogLangFile", 9), 9u);
}

TEST_F(KVRegistryTest, WindowPositionRoundTripsAndCreatesItsKey) {
    KVRegistry::WindowPositionBytes saved{};
    for (size_t i = 0; i < saved.size(); ++i) saved[i] = static_cast<uint8_t>(0xF0 + i);
    registry_.SetWindowPosition("RegisterWindow", saved);
    EXPECT_EQ(registry_.GetWindowPosition("RegisterWindow"), saved);
}

TEST_F(KVRegistryTest, WindowPositionReadFailsWithItsPlaceInTheTrace) {
    auto expectFailure = [this](uint32_t code) {
        try {
            registry_.GetWindowPosition("RegisterWindow");
            ADD_FAILURE() << "no exception";
        } catch (const QException& e) {
            EXPECT_EQ(e.GetFirstInfo().errorCode, code);
            EXPECT_EQ(e.GetLastInfo().method, "GetWindowPosition");
        }
    };
    expectFailure(1501);
    env_.SetDword(HKEY_CURRENT_USER, "Positions", "Other", 1);
    expectFailure(1503);
    env_.SetDword(HKEY_CURRENT_USER, "Positions", "RegisterWindow", 1);
    expectFailure(1504);
}

TEST_F(KVRegistryTest, TempFolderIsAKorvaneSubFolderThatExists) {
    const std::string folder = KVRegistry::GetTempFolder();
    EXPECT_EQ(folder, env_.TempFolder() + "Korvane\\");
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // A second call finds it there and answers the same.
    EXPECT_EQ(KVRegistry::GetTempFolder(), folder);
}

TEST_F(KVRegistryTest, TempFolderFallsBackWhenThePathDoesNotFit) {
    const std::string tooLong = env_.TempFolder() + std::string(150, 'x');
    SetEnvironmentVariableA("TMP", tooLong.c_str());
    SetEnvironmentVariableA("TEMP", tooLong.c_str());
    EXPECT_EQ(KVRegistry::GetTempFolder(), "c:\\");
}

}  // namespace
