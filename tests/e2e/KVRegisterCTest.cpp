// KVRegisterC.dll end to end: a host written in C (KVCHost.c) makes whole runs on the test's
// thread while the wizard driver plays the person at the real window on its own.
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/KVCHost.h"
#include "tests/e2e/KVWizardFixture.h"

namespace {

const char kTooLong[] = "The name is too long for us.";

KVCAnswer Answer(INT32 result, const char* errorKey = nullptr, const char* errorText = nullptr,
                 const char* infoText = nullptr) {
    return KVCAnswer{result, 0, nullptr, infoText, errorKey, errorText};
}

std::vector<int> Actions(const KVCRun& run) {
    std::vector<int> actions;
    for (int i = 0; i < run.steps; ++i) actions.push_back(run.actions[i].Action);
    return actions;
}

class KVRegisterCTest : public KVWizardFixture {
protected:
    void TearDown() override { KVCHostUnload(); }

    // A freshly loaded DLL, initialised with the test's key path, over an installation whose
    // register.cfg holds `config`.
    const KVCHostExports& Install(const std::vector<std::string>& config) {
        host_ = std::make_unique<KVWizardHost>(env);
        host_->WriteFile("register.cfg", config);
        const KVCHostExports* exports = KVCHostLoad(KV_REGISTERC_DLL);
        if (exports == nullptr) throw std::runtime_error("cannot load " + std::string(KV_REGISTERC_DLL));
        EXPECT_EQ(KVREGISTER_OK, exports->initA(env.KeyPath().c_str()));
        return *exports;
    }

    // A run of the C host with `person` played meanwhile; the script must run through.
    KVCRun Run(const std::vector<KVCAnswer>& answers, KVWizardDriver::Script person, bool wide = false,
               HWND owner = nullptr) {
        PlayUser(person);
        static KVCRun run;
        KVCHostRun(wide ? 1 : 0, answers.data(), static_cast<int>(answers.size()), owner, &run);
        driver.Wake();
        EXPECT_EQ("", driver.Await());
        return run;
    }
};

// What the DLL cannot take is refused before anything runs, with no window and no change:
// records missing or too small, texts without their zero, and on the W road the texts that the
// code page cannot hold. The person's name comes back in UTF-16.
TEST_F(KVRegisterCTest, RecordsAndTextsItCannotTakeAreRefused) {
    ASSERT_EQ(1252u, GetACP()) << "the texts below are chosen for code page 1252";
    const KVCHostExports& dll = Install(OnePage());
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.initA(nullptr));
    EXPECT_EQ(KVREGISTER_BADTEXT, dll.initW(L"Software\\KVTest\\\u0141ukasz"));
    static KVResultRecordA resultA;
    static KVActionRecordA actionA;
    resultA.Size = sizeof resultA - 1;
    actionA.Size = sizeof actionA;
    actionA.Action = 77;
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(&resultA, &actionA, nullptr));
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(nullptr, &actionA, nullptr));
    resultA.Size = sizeof resultA;
    std::memset(resultA.ResultText, 'r', sizeof resultA.ResultText);
    std::memset(resultA.ErrorKey, 'k', sizeof resultA.ErrorKey);
    EXPECT_EQ(KVREGISTER_BADTEXT, dll.internalA(&resultA, &actionA, nullptr));
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_RESULTTEXT | KVTEXT_ERRORKEY), actionA.TextErrors);
    EXPECT_EQ(77, actionA.Action);
    EXPECT_EQ(nullptr, FindWindowA(kWizardClassName, nullptr));
    EXPECT_EQ(0u, LogLine(host_->Log(), "| KVRegisterC::Internal | Refused: ErrorKey, ResultText of the result")
                      .find("1 | "));

    const std::string keyPath = env.KeyPath();
    EXPECT_EQ(KVREGISTER_OK, dll.initW(std::wstring(keyPath.begin(), keyPath.end()).c_str()));
    const KVCRun refused = Run({Answer(KVRESULT_NONE), Answer(KVRESULT_REGISTERED, nullptr, nullptr, "Hei, \xC5\x81ukasz")},
                               [](KVWizardDriver& d) {
                                   FillFirstPage(d, false);
                                   d.Type(KVInputId(COMPONENT_USERNAME), "Zo\xEB \xC6r\xF8");  // code page 1252
                                   d.Click(ID_USERINFO_NEXT);
                               },
                               true);
    ASSERT_EQ(2, refused.steps);
    EXPECT_STREQ("Zo\xC3\xAB \xC3\x86r\xC3\xB8", refused.actions[0].UserName);  // UTF-8 of the UTF-16
    EXPECT_EQ(KVREGISTER_BADTEXT, refused.returned[1]);
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_INFOTEXT), refused.actions[1].TextErrors);
    // The wizard still waits for the answer to its registration.
    const KVCRun finished = Run({Answer(KVRESULT_REGISTERED, nullptr, nullptr, "Hei, Zo\xC3\xAB")}, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_REGISTERINFO);
        d.Click(ID_VALIDATE_FINISH);
    }, true);
    EXPECT_EQ((std::vector<int>{KVACTION_FINISHED}), Actions(finished));
    EXPECT_NE(std::string::npos, host_->Log().find("KVRESULT_REGISTERED [Hei, Zo\xEB]"));
}

// A whole sign-up through the C interface, each step's record as it hands it over. The owner's
// window places the wizard, and its thread, the one blocked in the step, paints it while the
// person works. A name one character too long for its array comes back empty and marked; the
// host answers as a server that refuses it, with a message box on the owner's thread, and the
// person shortens it to the longest that fits. The run after it starts empty.
TEST_F(KVRegisterCTest, SignUpHandsOverTheAccountAndReportsATextTooLongNeverCut) {
    std::vector<std::string> config = OnePage();
    config[1] += ",12";
    config.push_back("20,200,150,220,0,160,198,420,220,0");
    Install(config);
    KVHostWindow host(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{350, 200, 950, 650});
    host.wake = &driver;
    const HWND owner = host.Handle();
    const DWORD hostThread = GetCurrentThreadId();
    const std::string tooLong(KVREGISTER_TEXT_CHARS, 'x'), longest(KVREGISTER_TEXT_CHARS - 1, 'y');
    const KVCAnswer pending{KVRESULT_PENDING, 1, "busy", nullptr, nullptr, nullptr};
    const KVCRun run = Run(
        {Answer(KVRESULT_NONE), Answer(KVRESULT_ERROR, "RegTaskFailed", kTooLong), pending, Answer(KVRESULT_VALIDATE),
         Answer(KVRESULT_REGISTERED, nullptr, nullptr, "Welcome")},
        [&](KVWizardDriver& d) {
            const HWND wizard = d.WaitForWizard();
            RECT ownerRect{}, wizardRect{};
            GetWindowRect(owner, &ownerRect);
            GetWindowRect(wizard, &wizardRect);
            EXPECT_NEAR((ownerRect.left + ownerRect.right) / 2, (wizardRect.left + wizardRect.right) / 2, 1);
            EXPECT_NEAR((ownerRect.top + ownerRect.bottom) / 2, (wizardRect.top + wizardRect.bottom) / 2, 1);
            // Above the host's window, yet not owned by it (see KVRegisterView::PreCreate).
            EXPECT_EQ(nullptr, GetWindow(wizard, GW_OWNER));
            EXPECT_NE(0, GetWindowLongA(wizard, GWL_EXSTYLE) & WS_EX_TOPMOST);
            HWND below = wizard;
            while (below != nullptr && below != owner) below = GetWindow(below, GW_HWNDNEXT);
            EXPECT_EQ(owner, below) << "the host's window is below the wizard";

            FillFirstPage(d, false);
            d.Type(KVInputId(COMPONENT_USERPASSWORD), "hemmelig");
            d.Type(KVInputId(COMPONENT_USERNAME), tooLong);
            const int paints = host.paints;
            InvalidateRect(owner, nullptr, FALSE);  // the host's thread is woken to paint it
            d.WaitUntil("the host's window to be painted", [&] { return host.paints > paints; });
            d.Click(ID_USERINFO_NEXT);
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_EQ(kTooLong, box.text);
            EXPECT_EQ(hostThread, GetWindowThreadProcessId(box.window, nullptr));
            EXPECT_EQ(wizard, box.owner);
            d.DismissMessageBox(box);
            d.WaitForPage(KVPages::PAGE_USERINFO);
            d.Type(KVInputId(COMPONENT_MSISDN), kMsisdn);  // the message emptied it
            d.Type(KVInputId(COMPONENT_USERNAME), longest);
            d.Click(ID_USERINFO_NEXT);
            // The pending page sends the registration again by itself.
            d.WaitForPage(KVPages::PAGE_VALIDATE);
            d.Type(ID_REGCODE, "4711");
            d.Click(ID_VALIDATE_FINISH);
            d.WaitForPage(KVPages::PAGE_REGISTERINFO);
            d.Click(ID_VALIDATE_FINISH);
        },
        false, owner);
    EXPECT_EQ((std::vector<int>{KVACTION_REGISTER, KVACTION_REGISTER, KVACTION_REGISTER, KVACTION_VALIDATE,
                                KVACTION_FINISHED}),
              Actions(run));
    EXPECT_EQ((std::vector<int>{KVREGISTER_TEXTTOOLONG, KVREGISTER_OK, KVREGISTER_OK, KVREGISTER_OK, KVREGISTER_OK}),
              std::vector<int>(run.returned, run.returned + run.steps));
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_USERNAME), run.actions[0].TextErrors);
    EXPECT_STREQ("", run.actions[0].UserName);
    EXPECT_STREQ(kEmail, run.actions[0].UserEmail);
    EXPECT_EQ(2, run.actions[0].UseIp);
    for (int i = 1; i < run.steps; ++i) {
        EXPECT_EQ(0u, run.actions[i].TextErrors) << i;
        EXPECT_STREQ(kMsisdn, run.actions[i].Msisdn) << i;
        EXPECT_EQ(longest, run.actions[i].UserName) << i;
        EXPECT_STREQ("hemmelig", run.actions[i].UserPassword) << i;
    }
    EXPECT_STREQ("4711", run.actions[3].RegCode);
    EXPECT_EQ(0u, LogLine(host_->Log(), "| KVRegisterC::Internal | Left empty: UserName did not fit").find("1 | "));
    EXPECT_NE(std::string::npos, host_->Log().find("| KVRegisterModel::Register | KVRESULT_PENDING [busy] \n"));
    const KVCRun next = Run({Answer(KVRESULT_NONE)}, [](KVWizardDriver& d) { CancelOnPage(d, KVPages::PAGE_USERINFO); });
    EXPECT_EQ((std::vector<int>{KVACTION_CANCEL}), Actions(next));
    EXPECT_STREQ("", next.actions[0].Msisdn) << "a new run keeps nothing of the last one";
}

}  // namespace
