// KVRegister: whole runs through its steps, with a scripted user at the window.
#include "register/entry/KVRegister.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "register/model/KVRegisterModel.h"
#include "tests/common/KVTestCountryLibrary.h"
#include "tests/model/KVScriptedWindow.h"
#include "tests/model/KVTestLog.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"

namespace {

KVResultRecord Result(int32_t code) {
    KVResultRecord r;
    r.Result = code;
    return r;
}

class KVRegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
        KVTestCountryLibrary::InstallShared(env);
        std::string root;
        ASSERT_TRUE(env.GetString(HKEY_CURRENT_USER, "", "InstallRoot", &root));
        WriteLanguageFile(root);
        app.SetWindowFactory(KVScriptedWindow::Factory(script));
        app.Init(env.KeyPath());
    }
    void TearDown() override {
        EXPECT_TRUE(script.Surprises().empty()) << script.Surprises().front();
    }

    static void WriteLanguageFile(const std::string& folder) {
        const std::string name = folder + "\\register.lang";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const char text[] = "# wording of the tests\r\nlblTestOnly=Only here\r\n";
        DWORD n = 0;
        WriteFile(file, text, sizeof text - 1, &n, nullptr);
        CloseHandle(file);
    }

    int Step(const KVResultRecord& result) { return app.Register(result, action); }

    KVTestEnv env;
    KVWindowScript script;
    KVRegister app;
    KVActionRecord action;
};

TEST_F(KVRegisterTest, RoadOfOneSignUpWithTwoFormPages) {
    script.userInterface = 2;
    script.OnPage(1, [](KVRegisterModel& m) {
        m.SetMsisdn("+4791234567");
        m.SetUserEmail("kari@example.no");
        m.SetConfirmUserEmail("kari@example.no");
        m.NextPage();
    });
    script.OnPage(2, KVWindowScript::TypeAccount);
    script.OnPage(4, KVWindowScript::TypeCode("4711"));
    script.OnPage(5, KVWindowScript::PressNext);

    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_QUERYREGISTER, action.Action);
    EXPECT_EQ("+4791234567", action.Msisdn);
    EXPECT_EQ("kari@example.no", action.UserEmail);
    EXPECT_EQ(0, Step(Result(KVRESULT_QUERIEDREGISTER)));
    EXPECT_EQ(KVACTION_REGISTER, action.Action);
    EXPECT_EQ("Kari Nordmann", action.UserName);
    EXPECT_EQ("secret", action.UserPassword);
    EXPECT_EQ("Sales", action.GroupId);
    EXPECT_EQ("Ola", action.ContactPerson);
    EXPECT_EQ("+4790000000", action.ContactInfo);
    EXPECT_EQ(0, Step(Result(KVRESULT_VALIDATE)));
    EXPECT_EQ(KVACTION_VALIDATE, action.Action);
    EXPECT_EQ("4711", action.RegCode);
    KVResultRecord registered = Result(KVRESULT_REGISTERED);
    registered.InfoText = "Welcome";
    EXPECT_EQ(0, Step(registered));
    EXPECT_EQ(KVACTION_FINISHED, action.Action);

    EXPECT_EQ(nullptr, app.GetModel());
    EXPECT_EQ(1, script.windowsMade);
    EXPECT_TRUE(script.Finished());
    // Every hand-over disabled the controls first.
    const std::vector<uint32_t> codes = script.Codes();
    EXPECT_EQ(4, std::count(codes.begin(), codes.end(), 21u));
}

TEST_F(KVRegisterTest, RoadOfOneSignUpWithOneFormPage) {
    script.userInterface = 1;
    script.OnPage(2, [](KVRegisterModel& m) {
        m.SetMsisdn("91234567");
        KVWindowScript::TypeAccount(m);
    });
    script.OnPage(4, KVWindowScript::TypeCode("1234"));
    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_REGISTER, action.Action);
    // The home country is Norway: the number travels in its international form.
    EXPECT_EQ("+4791234567", action.Msisdn);
    EXPECT_EQ(0, Step(Result(KVRESULT_VALIDATE)));
    EXPECT_EQ(KVACTION_VALIDATE, action.Action);
    EXPECT_EQ(0, Step(Result(KVRESULT_REGISTERED)));
    EXPECT_EQ(KVACTION_FINISHED, action.Action);
    EXPECT_TRUE(script.Finished());
}

TEST_F(KVRegisterTest, RoadOfOneSignUpWithoutFormPages) {
    script.userInterface = 0;
    script.OnPage(2);
    script.OnPage(4, KVWindowScript::TypeCode("1234"));
    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_REGISTER, action.Action);
    EXPECT_EQ("", action.Msisdn);
    EXPECT_EQ(0, Step(Result(KVRESULT_VALIDATE)));
    EXPECT_EQ(KVACTION_VALIDATE, action.Action);
    EXPECT_EQ("1234", action.RegCode);
    EXPECT_EQ(0, Step(Result(KVRESULT_REGISTERED)));
    EXPECT_EQ(KVACTION_FINISHED, action.Action);

    const std::string log = KVTestLog::Read(env);
    EXPECT_NE(std::string::npos, log.find("| KVRegister::Register | Result:0, Action:0 \n"));
    EXPECT_NE(std::string::npos, log.find("| KVRegister::Register | Action:1 \n"));
}

TEST_F(KVRegisterTest, MissingMainLanguageFileFailsUntilItIsBack) {
    // An installation folder without "register.lang".
    std::string folder = env.TempFolder();
    folder.pop_back();
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder);
    KVRegister fresh;
    fresh.SetWindowFactory(KVScriptedWindow::Factory(script));
    fresh.Init(env.KeyPath());

    KVActionRecord out;
    EXPECT_EQ(1, fresh.Register(Result(KVRESULT_NONE), out));
    EXPECT_EQ(KVACTION_ERROR, out.Action);
    EXPECT_EQ("errMissingOrCorruptFile", out.ErrorKey);
    EXPECT_EQ("A file that the program needs does not exist, or is corrupt.\r\nYou need to reinstall "
              "the program.",
              out.ErrorText);
    EXPECT_EQ(nullptr, fresh.GetModel());
    EXPECT_EQ(0, script.windowsMade);

    WriteLanguageFile(folder);
    EXPECT_EQ(0, fresh.Register(Result(KVRESULT_REGISTERED), out));
    EXPECT_EQ(KVACTION_FINISHED, out.Action);
    EXPECT_EQ(1, script.windowsMade);
}

TEST_F(KVRegisterTest, EmptyStepTextsLeaveTheHostsFields) {
    action.UserPassword = "from an earlier step";
    action.Msisdn = "+4799999999";
    KVResultRecord pending = Result(KVRESULT_PENDING);
    pending.WaitSeconds = 0;  // the step returns before the fields are read
    script.OnPage(3);
    EXPECT_EQ(0, Step(pending));
    EXPECT_EQ(KVACTION_REGISTER, action.Action);
    EXPECT_EQ("from an earlier step", action.UserPassword);
    EXPECT_EQ("+4799999999", action.Msisdn);
}

TEST_F(KVRegisterTest, UnknownResultReportsCancelAndEndsTheRun) {
    action.Action = KVACTION_REGISTER;  // whatever the host left there must not come back
    EXPECT_EQ(0, Step(Result(5)));
    EXPECT_EQ(KVACTION_CANCEL, action.Action);
    EXPECT_EQ(nullptr, app.GetModel());
}

TEST_F(KVRegisterTest, CancelEndsTheRunAndTheNextStepStartsAnew) {
    script.OnPage(2, [](KVRegisterModel& m) { m.Cancel(); });
    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_CANCEL, action.Action);
    EXPECT_EQ(nullptr, app.GetModel());

    script.OnPage(2, KVWindowScript::PressNext);
    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_REGISTER, action.Action);
    EXPECT_EQ(2, script.windowsMade);
}

TEST_F(KVRegisterTest, FailedWindowEndsTheStepWithAnError) {
    script.failWindow = true;
    EXPECT_EQ(1, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ(KVACTION_ERROR, action.Action);
    EXPECT_EQ(nullptr, app.GetModel());
    EXPECT_NE(std::string::npos, KVTestLog::Read(env).find("Exiting due to error: "));
}

TEST_F(KVRegisterTest, CampaignTravelsAsTheGroup) {
    env.SetString(HKEY_LOCAL_MACHINE, "", "CampaignID", "SPRING");
    script.userInterface = 0;
    script.OnPage(2);
    EXPECT_EQ(0, Step(Result(KVRESULT_NONE)));
    EXPECT_EQ("SPRING", action.GroupId);
}

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

TEST_F(KVRegisterTest, UnloadWritesTheLastEntry) {
    KVTestEnv other;
    other.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
    {
        KVRegister lone;
        lone.Init(other.KeyPath());
    }
    EXPECT_NE(std::string::npos, KVTestLog::Read(other).find("| KVRegister::~KVRegister | Destructor \n"));
}

}  // namespace
