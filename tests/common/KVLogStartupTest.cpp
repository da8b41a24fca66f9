#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/KVLogStartup.h"
#include "tests/common/KVReadBack.h"
#include "tests/support/KVTestEnv.h"

namespace {

class KVLogStartupTest : public ::testing::Test {
protected:
    // Opens the log as the start of a run does, writes one entry of each level, reads it back.
    std::string RunAndRead() {
        const auto log = KVOpenLog(registry_);
        QLogEntry(log.get(), QLog::LevelError, "KVRegister::KVRegisterInit") << "error";
        QLogEntry(log.get(), QLog::LevelInfo, "KVRegister::KVRegisterInit") << "information";
        return ReadBack(env_.TempFolder() + "Korvane\\KVRegister0.log");
    }

    KVTestEnv env_;
    KVRegistry registry_{env_.KeyPath()};
};

TEST_F(KVLogStartupTest, WithoutLogLevelOnlyErrorsAreWrittenWithAllFields) {
    const std::string text = RunAndRead();
    EXPECT_NE(text.find(" | KVRegister::KVRegisterInit | error \n"), std::string::npos) << text;
    EXPECT_EQ(text.find("information"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 4);  // level, time, thread, method
}

// A higher level lets information through in every log test of the entry suites.
TEST_F(KVLogStartupTest, LevelZeroStillCreatesTheFileAnewAndLeavesItEmpty) {
    RunAndRead();
    env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 0);
    EXPECT_EQ(RunAndRead(), "");
}

TEST_F(KVLogStartupTest, AFolderThatCannotBeCreatedLeavesASilentLog) {
    env_.WriteFile("Korvane", "a file where the folder should be");
    const auto log = KVOpenLog(registry_);
    EXPECT_FALSE(log->IsOpen());
    QLogEntry(log.get(), QLog::LevelError, "A::B") << "lost";
    EXPECT_EQ(ReadBack(env_.TempFolder() + "Korvane"), "a file where the folder should be");
}

}  // namespace
