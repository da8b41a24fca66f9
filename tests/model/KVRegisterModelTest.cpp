// KVRegisterModel on the host's thread, with a scripted user playing the window on another.
#include "register/model/KVRegisterModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "register/entry/KVRegister.h"
#include "tests/common/KVTestCountryLibrary.h"
#include "tests/model/KVScriptedWindow.h"
#include "tests/support/KVTestLog.h"
#include "tests/support/KVTestEnv.h"

namespace {

const uint32_t kWarning = 0x30;
const uint32_t kFatal = 0x10030;
const uint32_t kCorrectable = 0x10040;

KVResultRecord Result(int32_t code) { return KVResult(code); }

KVResultRecord ServerError(const std::string& key, const std::string& text) {
    KVResultRecord r = KVServerError(key, text);
    r.ResultText = "request failed";
    return r;
}

// The whole log line that holds `needle`; empty when none does.
std::string LineWith(const std::string& log, const std::string& needle) {
    const size_t at = log.find(needle);
    if (at == std::string::npos) return std::string();
    const size_t begin = log.rfind('\n', at);
    const size_t start = begin == std::string::npos ? 0 : begin + 1;
    return log.substr(start, log.find('\n', at) - start);
}

bool Contains(const std::vector<uint32_t>& codes, uint32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

class KVRegisterModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
        KVTestCountryLibrary::InstallShared(env);
        app.Init(env.KeyPath());
        model = std::make_unique<KVRegisterModel>(env.KeyPath());
        ASSERT_EQ(0, model->Initialize(""));
        KVTestCountryLibrary::ClearCalls();
        window = std::make_unique<KVScriptedWindow>(*model, script);
    }
    void TearDown() override {
        window.reset();
        model.reset();
        EXPECT_TRUE(script.Surprises().empty()) << script.Surprises().front();
    }

    // One step as the registration object makes it.
    KVActionRecord Step(const KVResultRecord& result) {
        KVActionRecord step;
        step.Action = -1;  // so that a step that sets no action shows
        EXPECT_EQ(0, model->Register(result, step));
        window->Settle();
        return step;
    }
    std::string LogText() { return KVTestLog::Read(env); }

    KVTestEnv env;
    KVRegister app;
    KVWindowScript script;
    std::unique_ptr<KVRegisterModel> model;
    std::unique_ptr<KVScriptedWindow> window;
};

TEST_F(KVRegisterModelTest, RegisteredWithoutInfoFinishesAtOnce) {
    script.OnPage(4);
    model->SetPage(KVRegisterModel::PAGE_VALIDATE);
    const KVActionRecord step = Step(Result(KVRESULT_REGISTERED));
    EXPECT_EQ(KVACTION_FINISHED, step.Action);
    EXPECT_EQ(KVRegisterModel::PAGE_VALIDATE, model->GetPage());
    EXPECT_EQ((std::vector<uint32_t>{4, 30}), script.Codes());
}

TEST_F(KVRegisterModelTest, WithoutFormPagesAFailingCheckWaitsForTheUser) {
    model->SetUserInterface(0);
    model->SetMsisdn("12");
    script.OnPage(2);  // shown by the step itself; the check fails and the step waits
    std::thread user([this] {
        while (script.Messages().empty()) Sleep(10);
        model->SetMsisdn("");
        model->NextPage();
    });
    const KVActionRecord step = Step(Result(KVRESULT_NONE));
    user.join();
    EXPECT_EQ(KVACTION_REGISTER, step.Action);
    ASSERT_EQ(1u, script.Messages().size());
    EXPECT_EQ(kWarning, script.Messages()[0].style);
}

TEST_F(KVRegisterModelTest, BackFollowsTheNumberOfFormPages) {
    std::vector<int32_t> pages;
    script.OnPage(2, [&pages](KVRegisterModel& m) {
        pages.push_back(m.PreviousPage());
        pages.push_back(m.PreviousPage());
        m.SetPage(KVRegisterModel::PAGE_VALIDATE);
        pages.push_back(m.PreviousPage());
        m.SetPage(KVRegisterModel::PAGE_PENDING);
        pages.push_back(m.PreviousPage());
        m.SetUserInterface(1);
        pages.push_back(m.PreviousPage());
        m.Cancel();
    });
    script.OnPage(1);
    script.OnPage(4);
    script.OnPage(2);
    script.OnPage(3);
    script.OnPage(2);
    model->SetUserInterface(2);
    EXPECT_EQ(KVACTION_CANCEL, Step(Result(KVRESULT_QUERIEDREGISTER)).Action);
    window->Settle();
    const std::vector<int32_t> expected = {1, 1, 2, 2, 2};
    EXPECT_EQ(expected, pages);
    EXPECT_TRUE(script.Finished());
    EXPECT_NE(std::string::npos, LogText().find("KVRegisterModel::PreviousPage | ActivePage: 4 \n"));
    // Between steps Back changes nothing.
    EXPECT_EQ(KVRegisterModel::PAGE_USERINFO, model->PreviousPage());
    EXPECT_NE(std::string::npos, LogText().find("KVRegisterModel::PreviousPage | No step in progress, dropped \n"));
}

TEST_F(KVRegisterModelTest, NextOnThePendingPageOnlyLogs) {
    script.OnPage(3);
    model->SetPage(KVRegisterModel::PAGE_PENDING);
    model->NextPage();
    EXPECT_EQ((std::vector<uint32_t>{3}), script.Codes());
    EXPECT_EQ(0u, LineWith(LogText(), "KVRegisterModel::NextPage | PAGE_PENDING \n").rfind("1 | ", 0));
    // No event was set: a short wait times out.
    model->WaitForAction(50);
    EXPECT_NE(std::string::npos, LogText().find("| WAIT_TIMEOUT \n"));
    EXPECT_EQ(std::string::npos, LogText().find("| Result \n"));
}

TEST_F(KVRegisterModelTest, NextWithoutAPageFallsBackToUserInfo) {
    script.OnPage(2);
    EXPECT_EQ(KVRegisterModel::PAGE_USERINFO, model->NextPage());
    EXPECT_EQ(0u, LineWith(LogText(), "KVRegisterModel::NextPage | Unknwon page \n").rfind("1 | ", 0));
}

// The server-error table, read independently: key, fatal, page afterwards (0: unchanged),
// the text shown when the server sent "server text".
struct ErrorRow {
    const char* key;
    bool fatal;
    int32_t page;
    const char* shown;
};
const ErrorRow kErrorRows[] = {
    {"SERVER NOT FOUND", true, 0, "The Remote Host could not be found. Are you connected to the Internet?"},
    {"HTTPERROR", true, 0, "The service could not be located on the Remote Host."},
    {"MSISDN ERROR", false, 0, "The given phone number not a valid mobile phone number."},
    {"UNKNOWN ERROR", true, 0, "An unknown error occurred."},
    {"SPIsNotAllowed", true, 0, "server text"},
    {"InvalidFormat-MSISDN", false, 0, "server text"},
    {"CorporateDisallow", false, 0, "server text"},
    {"GroupIdNotValid", false, 0, "server text"},
    {"RemoteIPNotValid", false, 0, "server text"},
    {"ExternalDisallow", false, 0, "server text"},
    {"ExternalError", true, 0, "server text"},
    {"RegMSISDNNotAllowed", false, 0, "server text"},
    {"RegCodeBlocked", true, 0, "server text"},
    {"RegTaskFailed", false, 2, "server text"},
    {"RegCodeExpired", false, 2, "server text"},
    {"EmailNotValid", false, 0, "server text"},
    {"RegError", true, 0, "server text"},
    {"RegCodeNotSent", false, 2, "server text"},
    {"CorporateNotValid", false, 0, "server text"},
    {"NoMatchMSISDNAccountID", false, 0, "server text"},
};

TEST_F(KVRegisterModelTest, EveryServerErrorKeyGetsItsTreatment) {
    window.reset();
    for (const ErrorRow& row : kErrorRows) {
        SCOPED_TRACE(row.key);
        KVRegisterModel m(env.KeyPath());
        KVWindowScript s;
        KVScriptedWindow w(m, s);
        // The failed action was the query of the first form page.
        s.OnPage(1);
        m.SetPage(KVRegisterModel::PAGE_QUERYREGISTER);
        const int32_t after = row.page ? row.page : KVRegisterModel::PAGE_QUERYREGISTER;
        if (!row.fatal) s.OnPage(after, KVWindowScript::PressNext);

        KVActionRecord step;
        m.Register(ServerError(row.key, "server text"), step);
        w.Settle();
        ASSERT_EQ(1u, s.Messages().size());
        EXPECT_EQ(row.shown, s.Messages()[0].text);
        EXPECT_EQ(row.fatal ? kFatal : kCorrectable, s.Messages()[0].style);
        if (row.fatal) {
            EXPECT_EQ(KVACTION_CANCEL, step.Action);
            EXPECT_EQ(KVRegisterModel::PAGE_QUERYREGISTER, m.GetPage());
            EXPECT_EQ((std::vector<uint32_t>{1, 40, 30}), s.Codes());
        } else {
            EXPECT_EQ(after, m.GetPage());
            EXPECT_EQ(after == KVRegisterModel::PAGE_USERINFO ? KVACTION_REGISTER : KVACTION_QUERYREGISTER,
                      step.Action);
            EXPECT_EQ((std::vector<uint32_t>{1, 40, static_cast<uint32_t>(after), 21}), s.Codes());
        }
        EXPECT_TRUE(s.Surprises().empty());
        EXPECT_EQ("request failed", m.GetResultText());
    }
}

TEST_F(KVRegisterModelTest, UnknownKeysEndTheRunWithAWarning) {
    window.reset();
    const std::pair<const char*, const char*> cases[] = {
        {"invalidregcode", "bad code"},  // keys match case-sensitively
        {"NoSuchKey", "server says no"},
        {"", ""},                        // nothing from the server: the unknown-error text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        KVRegisterModel m(env.KeyPath());
        KVWindowScript s;
        KVScriptedWindow w(m, s);
        KVActionRecord step;
        m.Register(ServerError(c.first, c.second), step);
        EXPECT_EQ(KVACTION_CANCEL, step.Action);
        ASSERT_EQ(1u, s.Messages().size());
        EXPECT_EQ(*c.second ? c.second : "An unknown error occurred.", s.Messages()[0].text);
        EXPECT_EQ(kWarning, s.Messages()[0].style);
        EXPECT_EQ((std::vector<uint32_t>{40, 30}), s.Codes());
        EXPECT_EQ(KVRegisterModel::PAGE_NONE, m.GetPage());
    }
}

TEST_F(KVRegisterModelTest, BlockedAfterOneWrongCodeShowsTheServersText) {
    script.OnPage(4, KVWindowScript::PressNext);
    Step(ServerError("InvalidRegCode", "Wrong code."));
    const KVActionRecord step = Step(ServerError("RegCodeBlocked", "Blocked by the server."));
    EXPECT_EQ(KVACTION_CANCEL, step.Action);
    EXPECT_EQ("Blocked by the server.", script.Messages().back().text);
}

TEST_F(KVRegisterModelTest, PendingWithoutTimeRegistersAtOnceWithoutFields) {
    model->SetMsisdn("+4791234567");
    KVResultRecord pending = Result(KVRESULT_PENDING);
    pending.ResultText = "busy";
    pending.WaitSeconds = 0;
    script.OnPage(3);
    const KVActionRecord step = Step(pending);
    EXPECT_EQ(KVACTION_REGISTER, step.Action);
    EXPECT_EQ("", step.Msisdn);
    EXPECT_EQ(0, step.UseIp);
    EXPECT_EQ("busy", model->GetResultText());
    const std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("KVRESULT_PENDING [busy]"));
    EXPECT_NE(std::string::npos, log.find("SleepTime:        0 \n"));
    EXPECT_EQ(std::string::npos, log.find("WAIT_TIMEOUT"));
}

TEST_F(KVRegisterModelTest, CancelBetweenStepsEndsTheNextOneAfterItsPageChange) {
    model->Cancel();
    script.OnPage(4);
    const KVActionRecord step = Step(Result(KVRESULT_VALIDATE));
    EXPECT_EQ(KVACTION_CANCEL, step.Action);
    EXPECT_EQ(KVRegisterModel::PAGE_VALIDATE, model->GetPage());
    EXPECT_EQ((std::vector<uint32_t>{21, 4, 30}), script.Codes());
    EXPECT_EQ("", step.RegCode);
    const std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("SleepTime: ffffffff \n"));
    EXPECT_NE(std::string::npos, log.find("| Cancel \n"));
}

TEST_F(KVRegisterModelTest, ResultIsReportedBeforeACancelThatEndsTheNextWait) {
    model->SetUserInterface(0);
    model->Cancel();
    script.OnPage(2);
    EXPECT_EQ(KVACTION_REGISTER, Step(Result(KVRESULT_NONE)).Action);
    script.OnPage(2);
    EXPECT_EQ(KVACTION_CANCEL, Step(Result(KVRESULT_QUERIEDREGISTER)).Action);
}

TEST_F(KVRegisterModelTest, UnknownResultIsOnlyLogged) {
    script.OnPage(2);
    model->SetPage(KVRegisterModel::PAGE_USERINFO);
    const KVActionRecord step = Step(Result(5));
    EXPECT_EQ(-1, step.Action);  // left for KVRegister to choose
    EXPECT_EQ((std::vector<uint32_t>{2}), script.Codes());  // no ending sent to the window
    EXPECT_EQ(KVRegisterModel::PAGE_USERINFO, model->GetPage());
    EXPECT_EQ(0u, LineWith(LogText(), "KVRegisterModel::Register | Unknown Result: 5 \n").rfind("1 | ", 0));
    EXPECT_EQ(std::string::npos, LogText().find("SleepTime"));
}

TEST_F(KVRegisterModelTest, NumberCheckAsksPrefixesInOrderAndKeepsTheNorwegianRewrite) {
    model->SetMsisdn("+3584012345678");
    EXPECT_FALSE(model->ValidateMsisdn());
    model->SetMsisdn("004612345678");
    EXPECT_FALSE(model->ValidateMsisdn());
    model->SetMsisdn("12345");
    EXPECT_FALSE(model->ValidateMsisdn());
    EXPECT_EQ("+4712345", model->GetMsisdn());
    EXPECT_EQ("KVGetCountryOnPrefix 35\nKVGetCountryOnPrefix 358\n"
              "KVConvertToMsisdn +3584012345678 FI\n"
              "KVGetCountryOnPrefix 461\nKVGetCountryOnPrefix 4612\nKVGetHomeCountry\n"
              "KVConvertToMsisdn +47004612345678 NO\n"
              "KVGetHomeCountry\nKVConvertToMsisdn +4712345 NO\n",
              KVTestCountryLibrary::Calls());
    const std::vector<KVWindowScript::Message> messages = script.Messages();
    ASSERT_EQ(3u, messages.size());
    for (const KVWindowScript::Message& m : messages) {
        EXPECT_EQ("The given phone number not a valid mobile phone number.", m.text);
        EXPECT_EQ(kWarning, m.style);
    }

    KVTestCountryLibrary::ClearCalls();
    model->SetMsisdn("91234567");
    EXPECT_TRUE(model->ValidateMsisdn());
    EXPECT_EQ("+4791234567", model->GetMsisdn());
    EXPECT_EQ("KVGetHomeCountry\nKVConvertToMsisdn +4791234567 NO\nKVSetHomeCountry NO\n",
              KVTestCountryLibrary::Calls());
}

TEST_F(KVRegisterModelTest, InvalidNumberStopsNextBeforeTheAddressIsChecked) {
    script.OnPage(1);
    model->SetPage(KVRegisterModel::PAGE_QUERYREGISTER);
    model->SetMsisdn("+4712");
    model->SetUserEmail("not an address");
    EXPECT_EQ(KVRegisterModel::PAGE_QUERYREGISTER, model->NextPage());
    ASSERT_EQ(1u, script.Messages().size());
    EXPECT_EQ("The given phone number not a valid mobile phone number.", script.Messages()[0].text);
    EXPECT_FALSE(Contains(script.Codes(), 21));
}

TEST_F(KVRegisterModelTest, AddressCheckShowsConfirmationThenFormatMessages) {
    model->SetUserEmail("Kari@example.no");
    model->SetConfirmUserEmail("kari@example.no");
    EXPECT_FALSE(model->ValidateEmail());
    model->SetConfirmUserEmail("");
    EXPECT_TRUE(model->ValidateEmail());
    model->SetUserEmail("kari@example");
    EXPECT_FALSE(model->ValidateEmail());
    model->SetUserEmail("");
    model->SetConfirmUserEmail("kari@example.no");
    EXPECT_TRUE(model->ValidateEmail());

    const std::vector<KVWindowScript::Message> messages = script.Messages();
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("The two email addresses specified must be the same.", messages[0].text);
    EXPECT_EQ("The email address you have specified is in an invalid format.\r\n\r\nPlease specify a "
              "valid email address or leave the field empty.",
              messages[1].text);
    EXPECT_EQ(kWarning, messages[1].style);
}

TEST_F(KVRegisterModelTest, InitializePreselectsTheHomeCountryQuietly) {
    EXPECT_EQ("Norway", model->GetCountry());
    EXPECT_TRUE(script.Codes().empty());
    EXPECT_EQ("", app.GetError());

    KVTestEnv bare;  // no InstallRoot anywhere
    KVRegisterModel lost(bare.KeyPath());
    EXPECT_NE(0, lost.Initialize("CAMPAIGN"));
    EXPECT_EQ("", lost.GetCountry());
    EXPECT_EQ("CAMPAIGN", lost.GetCampaignId());
    EXPECT_EQ("errMissingOrCorruptFile", app.GetError());
}

TEST_F(KVRegisterModelTest, CampaignReplacesTheGroupTheUserTyped) {
    KVRegisterModel m(env.KeyPath());
    m.Initialize("SPRING");
    m.SetGroupId("Sales");
    m.SetUserInterface(0);
    KVActionRecord step;
    m.Register(Result(KVRESULT_NONE), step);
    EXPECT_EQ("SPRING", step.GroupId);
}

}  // namespace
