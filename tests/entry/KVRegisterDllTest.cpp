// KVRegister.dll as the host sees it: loaded by path, its two exports called by name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "register/entry/KVRecords.h"
#include "tests/model/KVTestLog.h"
#include "tests/support/KVTestEnv.h"

namespace {

using InitFn = int(__cdecl*)(const std::string&);
using InternalFn = int(__cdecl*)(const KVResultRecord*, KVActionRecord*);

template <typename F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class KVRegisterDllTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(KV_REGISTER_DLL);
        ASSERT_NE(nullptr, module) << KV_REGISTER_DLL;
        init = Export<InitFn>(module, "KVRegisterInit");
        internal = Export<InternalFn>(module, "KVRegisterInternal");
        ASSERT_NE(nullptr, init);
        ASSERT_NE(nullptr, internal);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    KVTestEnv env;
    HMODULE module = nullptr;
    InitFn init = nullptr;
    InternalFn internal = nullptr;
};

TEST_F(KVRegisterDllTest, MissingInstallationIsAnErrorForTheHost) {
    env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
    EXPECT_EQ(0, init(env.KeyPath()));
    KVResultRecord result;
    KVActionRecord action;
    EXPECT_EQ(1, internal(&result, &action));
    EXPECT_EQ(KVACTION_ERROR, action.Action);
    EXPECT_EQ("errMissingOrCorruptFile", action.ErrorKey);
    EXPECT_FALSE(action.ErrorText.empty());
    FreeLibrary(module);
    module = nullptr;
    // Unloading destroyed the application object, which wrote its last entry.
    const std::string log = KVTestLog::Read(env);
    EXPECT_NE(std::string::npos, log.find("| KVRegister::Register | Exiting due to error: errMissingOrCorruptFile \n"));
    EXPECT_NE(std::string::npos, log.find("| KVRegister::~KVRegister | Destructor \n"));
}

TEST_F(KVRegisterDllTest, StepWithoutRecordsNeverCrashes) {
    KVActionRecord action;
    EXPECT_EQ(1, internal(nullptr, &action));
    EXPECT_EQ(KVACTION_ERROR, action.Action);
    KVResultRecord result;
    EXPECT_EQ(1, internal(&result, nullptr));
}

TEST_F(KVRegisterDllTest, RegisteredWithoutTextFinishesTheRun) {
    env.WriteFile("register.lang", "");
    env.WriteFile("register.cfg", "426,312\r\n8\r\n1,1\r\n20,80,150,100,0,160,78,400,100,0\r\n");
    std::string folder = env.TempFolder();
    folder.pop_back();
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder);
    EXPECT_EQ(0, init(env.KeyPath()));
    KVResultRecord result;
    result.Result = KVRESULT_REGISTERED;
    KVActionRecord action;
    action.Action = KVACTION_VALIDATE;
    EXPECT_EQ(0, internal(&result, &action));
    EXPECT_EQ(KVACTION_FINISHED, action.Action);
}

}  // namespace
