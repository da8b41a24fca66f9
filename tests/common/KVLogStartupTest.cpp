#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/KVLogStartup.h"
#include "tests/common/KVReadBack.h"
#include "tests/support/KVTestEnv.h"

namespace {

class KVLogStartupTest : public ::testing::Test {
protected:
    std::string LogPath(int n) const {
        return env_.TempFolder() + "Korvane\\KVRegister" + std::to_string(n) + ".log";
    }
    void WriteBothLevels(QLog* log) {
        QLogEntry(log, QLog::LevelError, "KVRegister::KVRegisterInit") << "error";
        QLogEntry(log, QLog::LevelInfo, "KVRegister::KVRegisterInit") << "information";
    }

    KVTestEnv env_;
    KVRegistry registry_{env_.KeyPath()};
};

TEST_F(KVLogStartupTest, WithoutLogLevelOnlyErrorsAreWritten) {
    const auto log = KVOpenLog(registry_);
    ASSERT_TRUE(log->IsOpen());
    EXPECT_EQ(log->GetFileName(), LogPath(0));
    WriteBothLevels(log.get());
    const std::string text = ReadBack(LogPath(0));
    EXPECT_NE(text.find(" | KVRegister::KVRegisterInit | error \n"), std::string::npos) << text;
    EXPECT_EQ(text.find("information"), std::string::npos);
    // Time and thread switched on: level, time, thread, method, text.
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 4);
}

TEST_F(KVLogStartupTest, TheUsersLogLevelSelectsTheMask) {
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 2);
    const auto log = KVOpenLog(registry_);
    WriteBothLevels(log.get());
    EXPECT_NE(ReadBack(LogPath(0)).find("information"), std::string::npos);
}

TEST_F(KVLogStartupTest, LogLevelZeroStillEmptiesTheFile) {
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 0);
    CreateDirectoryA((env_.TempFolder() + "Korvane").c_str(), nullptr);
    env_.WriteFile("Korvane\\KVRegister0.log", "from the last run\n");
    const auto log = KVOpenLog(registry_);
    WriteBothLevels(log.get());
    EXPECT_EQ(ReadBack(LogPath(0)), "");
}

TEST_F(KVLogStartupTest, AFolderThatCannotBeCreatedLeavesASilentLog) {
    // A file where the folder should be.
    env_.WriteFile("Korvane", "not a folder");
    const auto log = KVOpenLog(registry_);
    ASSERT_NE(log, nullptr);
    EXPECT_FALSE(log->IsOpen());
    EXPECT_NO_THROW(WriteBothLevels(log.get()));
    EXPECT_EQ(ReadBack(env_.TempFolder() + "Korvane"), "not a folder");
}

}  // namespace
