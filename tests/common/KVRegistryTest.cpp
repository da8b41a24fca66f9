#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/KVRegistry.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"

namespace {

class KVRegistryTest : public ::testing::Test {
protected:
    // A failing read raises `code` at its origin and leaves `method` as its newest place.
    void ExpectFailure(const std::function<void()>& read, uint32_t code, const char* method) {
        try {
            read();
            ADD_FAILURE() << "no exception";
        } catch (const QException& e) {
            EXPECT_EQ(e.GetFirstInfo().errorCode, code);
            EXPECT_EQ(e.GetLastInfo().method, method);
            EXPECT_EQ(e.GetLastInfo().sourceFile, ".\\KVRegistry.cpp");
        }
    }

    KVTestEnv env_;
    KVRegistry registry_{env_.KeyPath()};
};

TEST_F(KVRegistryTest, InstallRootPrefersAnUsableUserValue) {
    auto read = [this] { registry_.GetInstallRoot(); };
    ExpectFailure(read, 1501, "GetInstallRoot");
    env_.SetString(HKEY_LOCAL_MACHINE, "", "Other", "x");
    ExpectFailure(read, 1503, "GetInstallRoot");
    env_.SetDword(HKEY_LOCAL_MACHINE, "", "InstallRoot", 1);
    ExpectFailure(read, 1504, "GetInstallRoot");
    env_.SetString(HKEY_LOCAL_MACHINE, "", "InstallRoot", "c:\\machine");
    env_.SetString(HKEY_CURRENT_USER, "", "InstallRoot", "");
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\machine");
    env_.SetDword(HKEY_CURRENT_USER, "", "InstallRoot", 7);
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\machine");
    env_.SetString(HKEY_CURRENT_USER, "", "InstallRoot", "c:\\user");
    EXPECT_EQ(registry_.GetInstallRoot(), "c:\\user");
}

TEST_F(KVRegistryTest, CampaignComesFromTheMachineHiveOnly) {
    EXPECT_EQ(registry_.GetCampaignID(), "");
    env_.SetString(HKEY_CURRENT_USER, "", "CampaignID", "user");
    env_.SetDword(HKEY_LOCAL_MACHINE, "", "CampaignID", 42);
    EXPECT_EQ(registry_.GetCampaignID(), "");
    env_.SetString(HKEY_LOCAL_MACHINE, "", "CampaignID", "spring");
    EXPECT_EQ(registry_.GetCampaignID(), "spring");
}

TEST_F(KVRegistryTest, LogLevelTenOrUnreadableInTheUserHiveDefersToTheMachine) {
    EXPECT_EQ(registry_.GetLogLevel(1), 1u);
    env_.SetString(HKEY_LOCAL_MACHINE, "Debug", "LogLevel", "5");
    EXPECT_EQ(registry_.GetLogLevel(3), 3u);
    env_.SetDword(HKEY_LOCAL_MACHINE, "Debug", "LogLevel", 5);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 2);
    EXPECT_EQ(registry_.GetLogLevel(1), 2u);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 10);
    EXPECT_EQ(registry_.GetLogLevel(1), 5u);
    env_.SetString(HKEY_CURRENT_USER, "Debug", "LogLevel", "2");
    EXPECT_EQ(registry_.GetLogLevel(1), 5u);
}

TEST_F(KVRegistryTest, DebugFlagReadsDebugOnlyWhenSupportIsUnreadable) {
    env_.SetDword(HKEY_LOCAL_MACHINE, "Support", "LogLangFile", 7);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 0u);
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLangFile", 1);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 1u);
    // "\Support" exists without the value: its default wins, "\Debug" is not read.
    env_.SetDword(HKEY_CURRENT_USER, "Support", "Other", 3);
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 0u);
    env_.SetString(HKEY_CURRENT_USER, "Support", "LogLangFile", "2");
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 0), 1u);
    env_.SetString(HKEY_CURRENT_USER, "Debug", "LogLangFile", "1");
    EXPECT_EQ(registry_.GetDebugFlag("LogLangFile", 9), 9u);
}

TEST_F(KVRegistryTest, WindowPositionRoundTripsAndFailsWithItsPlace) {
    auto read = [this] { registry_.GetWindowPosition("RegisterWindow"); };
    ExpectFailure(read, 1501, "GetWindowPosition");
    KVRegistry::WindowPositionBytes saved{};
    for (size_t i = 0; i < saved.size(); ++i) saved[i] = static_cast<uint8_t>(0xF0 + i);
    registry_.SetWindowPosition("RegisterWindow", saved);
    EXPECT_EQ(registry_.GetWindowPosition("RegisterWindow"), saved);
    ExpectFailure([this] { registry_.GetWindowPosition("Other"); }, 1503, "GetWindowPosition");
    env_.SetDword(HKEY_CURRENT_USER, "Positions", "RegisterWindow", 1);
    ExpectFailure(read, 1504, "GetWindowPosition");
}

// The Korvane folder itself is where every log test finds its log.
TEST_F(KVRegistryTest, TempFolderFallsBackWhenTheTempPathDoesNotFit) {
    const std::string tooLong = env_.TempFolder() + std::string(150, 'x');
    SetEnvironmentVariableA("TMP", tooLong.c_str());
    SetEnvironmentVariableA("TEMP", tooLong.c_str());
    EXPECT_EQ(KVRegistry::GetTempFolder(), "c:\\");
}

}  // namespace
