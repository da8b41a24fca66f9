// KVRegister's own log: what only the registration object writes. Whole runs through its steps
// are driven end to end (tests/e2e).
#include "register/entry/KVRegister.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/KVTestLog.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"

namespace {

class KVRegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
        app.Init(env.KeyPath());
    }

    KVTestEnv env;
    KVRegister app;
};

TEST_F(KVRegisterTest, SecondInitOpensNoSecondLog) {
    app.Init(env.KeyPath());
    const std::string folder = env.TempFolder() + "Korvane\\";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "KVRegister0.log").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "KVRegister1.log").c_str()));
}

TEST_F(KVRegisterTest, ErrorsThatCannotBeRaisedReachTheLog) {
    ReportSwallowedError(QWinException(".\\Window\\QWinClass.cpp", "~QWinClass", 93, 1001, 5));
    EXPECT_NE(std::string::npos,
              KVTestLog::Read(env).find(
                  "| KVRegister::LogSwallowedError | QWinException 1001: Unregister of the window "
                  "class failed (.\\Window\\QWinClass.cpp, ~QWinClass, line 93, system error 5) \n"));
}

}  // namespace
