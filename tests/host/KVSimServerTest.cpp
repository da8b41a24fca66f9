// The simulated registration server of the reference host: the rules a sign-up meets.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/KVSimServer.h"

namespace {

const char kNumber[] = "+4791234567";
const char kEmail[] = "kari@example.no";
const char kCode[] = "123456";

KVActionRecord Ask(int32_t code, const std::string& msisdn = kNumber, const std::string& email = kEmail) {
    KVActionRecord action;
    action.Action = code;
    action.Msisdn = msisdn;
    action.UserEmail = email;
    action.UserName = "Kari Nordmann";
    action.RegCode = kCode;  // read by validate requests only
    return action;
}

class KVSimServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        settings.accountsFile = ::testing::TempDir() + "kvsimserver-" + std::to_string(stamp) + ".txt";
        settings.pendingAnswers = 0;
        settings.makeCode = [] { return std::string(kCode); };
    }
    void TearDown() override { std::remove(settings.accountsFile.c_str()); }

    KVSimServer Server() {
        return KVSimServer(settings, [this](const std::string& note) { notes.push_back(note); });
    }

    KVSimSettings settings;
    std::vector<std::string> notes;
};

// Whole sign-ups, waits, blocked numbers and the code file the autopilot reads are the host's
// scenarios; here what their roads do not show: the wait's length, the accounts an earlier
// server kept, forced errors.
TEST_F(KVSimServerTest, AccountsOfAnEarlierServerKeepTheirNumberAndAddress) {
    settings.pendingAnswers = 1;
    settings.waitSeconds = 2;
    {
        KVSimServer server = Server();
        const KVResultRecord pending = server.Answer(Ask(KVACTION_REGISTER));
        EXPECT_EQ(2, pending.WaitSeconds);
        EXPECT_EQ("", server.Code()) << "no code goes out while the registration waits";
        ASSERT_EQ(KVRESULT_VALIDATE, server.Answer(Ask(KVACTION_REGISTER)).Result);
        ASSERT_EQ(KVRESULT_REGISTERED, server.Answer(Ask(KVACTION_VALIDATE)).Result);
    }
    KVSimServer next = Server();
    EXPECT_TRUE(next.IsRegistered(kNumber));
    EXPECT_EQ("RegMSISDNNotAllowed", next.Answer(Ask(KVACTION_REGISTER)).ErrorKey);
    EXPECT_EQ("EmailNotValid", next.Answer(Ask(KVACTION_QUERYREGISTER, "+4798765432")).ErrorKey)
        << "the address belongs to the first account";
    EXPECT_EQ(KVRESULT_QUERIEDREGISTER,
              next.Answer(Ask(KVACTION_QUERYREGISTER, "+4798765432", "ola@example.no")).Result);
}

TEST_F(KVSimServerTest, ForcedErrorsTakeTheNextRequestsOfTheirStepInOrder) {
    for (const char* text : {"validate=InvalidRegCode", "register=RegTaskFailed:Try: once more", "query=Made-Up Key"}) {
        KVSimFailure failure;
        std::string problem;
        ASSERT_TRUE(KVSimServer::ParseFailure(text, &failure, &problem)) << text << ": " << problem;
        settings.failures.push_back(failure);
    }
    KVSimServer server = Server();
    const KVResultRecord madeUp = server.Answer(Ask(KVACTION_QUERYREGISTER));
    EXPECT_EQ("Made-Up Key", madeUp.ErrorKey);
    EXPECT_FALSE(madeUp.ErrorText.empty()) << "a key of no table still gets a text";
    EXPECT_EQ(KVRESULT_QUERIEDREGISTER, server.Answer(Ask(KVACTION_QUERYREGISTER)).Result);
    const KVResultRecord custom = server.Answer(Ask(KVACTION_REGISTER));
    EXPECT_EQ("RegTaskFailed", custom.ErrorKey);
    EXPECT_EQ("Try: once more", custom.ErrorText);
    EXPECT_EQ(KVRESULT_VALIDATE, server.Answer(Ask(KVACTION_REGISTER)).Result);
    EXPECT_EQ("InvalidRegCode", server.Answer(Ask(KVACTION_VALIDATE)).ErrorKey) << "forced, though the code is right";
    EXPECT_EQ(KVRESULT_REGISTERED, server.Answer(Ask(KVACTION_VALIDATE)).Result);
}

TEST_F(KVSimServerTest, RequestsThatMakeNoSenseGetDefinedErrors) {
    KVSimServer server = Server();
    EXPECT_EQ("RegCodeNotSent", server.Answer(Ask(KVACTION_VALIDATE)).ErrorKey) << "no code was sent yet";
    EXPECT_EQ("InvalidFormat-MSISDN", server.Answer(Ask(KVACTION_QUERYREGISTER, "")).ErrorKey);
    for (int32_t action : {int32_t{KVACTION_FINISHED}, int32_t{KVACTION_CANCEL}, int32_t{KVACTION_ERROR}, 4, -1}) {
        const KVResultRecord answer = server.Answer(Ask(action));
        EXPECT_EQ(KVRESULT_ERROR, answer.Result) << action;
        EXPECT_EQ("UNKNOWN ERROR", answer.ErrorKey) << action;
    }
}

TEST_F(KVSimServerTest, DamagedAccountLinesAreSkippedAndNamed) {
    std::ofstream(settings.accountsFile, std::ios::binary)
        << "# accounts\r\nno tabs here\n\tnobody@example.no\tNo Number\n+4711111111\ta@example.no\tAnne\r\n"
        << "+4722222222\tonly two fields\n";
    KVSimServer server = Server();
    EXPECT_TRUE(server.IsRegistered("+4711111111"));
    EXPECT_FALSE(server.IsRegistered("+4722222222"));
    ASSERT_EQ(3u, notes.size());
    EXPECT_NE(std::string::npos, notes[0].find("line 2")) << notes[0];
    EXPECT_NE(std::string::npos, notes[2].find("line 5")) << notes[2];

    // An account whose fields hold tabs or line breaks still reads back as one account.
    ASSERT_EQ(KVRESULT_VALIDATE, server.Answer(Ask(KVACTION_REGISTER, kNumber, "odd\taddress")).Result);
    KVActionRecord validate = Ask(KVACTION_VALIDATE);
    validate.UserName = "Kari\r\nNordmann";
    ASSERT_EQ(KVRESULT_REGISTERED, server.Answer(validate).Result);
    notes.clear();
    KVSimServer next = Server();
    EXPECT_TRUE(next.IsRegistered(kNumber));
    EXPECT_EQ(3u, notes.size()) << "only the old damaged lines are reported";
}

}  // namespace
