// KVRegisterC.dll end to end: a host written in C (KVCHost.c) makes whole runs on the test's
// thread while the wizard driver plays the person at the real window on its own.
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/KVCHost.h"
#include "tests/e2e/KVWizardFixture.h"
#include "tests/support/KVTestLog.h"

namespace {

const char kTooLong[] = "The name is too long for us.";

KVCAnswer Answer(INT32 result, const char* errorKey = nullptr, const char* errorText = nullptr) {
    KVCAnswer answer{};
    answer.result = result;
    answer.errorKey = errorKey;
    answer.errorText = errorText;
    return answer;
}

KVCAnswer Registered(const char* infoText) {
    KVCAnswer answer = Answer(KVRESULT_REGISTERED);
    answer.infoText = infoText;
    return answer;
}

std::vector<int> Actions(const KVCRun& run) {
    std::vector<int> actions;
    for (int i = 0; i < run.steps; ++i) actions.push_back(run.actions[i].Action);
    return actions;
}

std::vector<int> Returned(const KVCRun& run) { return std::vector<int>(run.returned, run.returned + run.steps); }

// The whole line of the log that holds `text`, or empty.
std::string LogLine(const std::string& log, const std::string& text) {
    const size_t at = log.find(text);
    if (at == std::string::npos) return std::string();
    const size_t start = log.rfind('\n', at);
    const size_t begin = start == std::string::npos ? 0 : start + 1;
    return log.substr(begin, log.find('\n', at) - begin);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A top-level window of the host on the test's thread, which makes the steps: it counts its
// paint messages and wakes the driver for each, so a test sees that the thread blocked in a
// step still paints it.
class HostWindow {
public:
    explicit HostWindow(KVWizardDriver& driver) : driver_(driver) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KVTestHostWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "KVTestHostWindow", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 350, 200, 600,
                                  450, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~HostWindow() { DestroyWindow(window_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return window_; }
    int Paints() const { return paints_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            if (HostWindow* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
                ++self->paints_;
                self->driver_.Wake();
            }
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    KVWizardDriver& driver_;
    HWND window_ = nullptr;
    std::atomic<int> paints_{0};
};

class KVRegisterCTest : public ::testing::Test {
protected:
    void TearDown() override { KVCHostUnload(); }

    // A freshly loaded DLL, initialised with the test's key path, over an installation whose
    // register.cfg holds `config`.
    const KVCHostExports& Install(const std::vector<std::string>& config) {
        KVCHostUnload();  // it holds the country library that the next installation replaces
        host_.reset();
        host_ = std::make_unique<KVWizardHost>(env);
        host_->WriteFile("register.cfg", config);
        exports_ = KVCHostLoad(KV_REGISTERC_DLL);
        if (exports_ == nullptr) throw std::runtime_error("cannot load " + std::string(KV_REGISTERC_DLL));
        EXPECT_EQ(KVREGISTER_OK, exports_->initA(env.KeyPath().c_str()));
        return *exports_;
    }

    // A run of the C host with `person` played meanwhile; the script must run through.
    const KVCRun& Run(const std::vector<KVCAnswer>& answers, KVWizardDriver::Script person, bool wide = false,
                      HWND owner = nullptr) {
        runEnded_ = false;
        const DWORD hostThread = GetCurrentThreadId();
        driver.Play([hostThread, person](KVWizardDriver& d) {
            d.WatchThread(hostThread);
            if (person) person(d);
        });
        KVCHostRun(wide ? 1 : 0, answers.data(), static_cast<int>(answers.size()), owner, &run_);
        runEnded_ = true;
        driver.Wake();
        EXPECT_EQ("", driver.Await());
        return run_;
    }

    std::string Log() const { return KVTestLog::Read(env); }

    KVTestEnv env;
    std::unique_ptr<KVWizardHost> host_;
    const KVCHostExports* exports_ = nullptr;
    KVWizardDriver driver;
    KVCRun run_{};
    std::atomic<bool> runEnded_{false};
};

TEST_F(KVRegisterCTest, SignUpWithPendingAndAWrongCode) {
    Install(TwoPages());
    KVCAnswer pending = Answer(KVRESULT_PENDING);
    pending.waitSeconds = 1;
    pending.resultText = "busy";
    const KVCRun& run = Run(
        {Answer(KVRESULT_NONE), Answer(KVRESULT_QUERIEDREGISTER), pending, Answer(KVRESULT_VALIDATE),
         Answer(KVRESULT_ERROR, "InvalidRegCode", "wrong"), Registered("Welcome")},
        [](KVWizardDriver& d) {
            FillQueryPage(d);
            d.Click(kCtlQueryRegisterNext);
            d.WaitForPage(KVWizardPage::UserInfo);
            d.Type(kCtlUserName, "Kari Nordmann");
            d.Type(kCtlPassword, "hemmelig");
            d.Click(kCtlUserInfoNext);
            // The pending page sends the registration again by itself.
            d.WaitForPage(KVWizardPage::Validate);
            d.Type(kCtlRegCode, "1111");
            d.Click(kCtlFinish);
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_NE(std::string::npos, box.text.find("two attempts left")) << box.text;
            d.DismissMessageBox(box);
            d.WaitForPage(KVWizardPage::Validate);
            d.Type(kCtlRegCode, "4711");
            d.Click(kCtlFinish);
            d.WaitForPage(KVWizardPage::RegisterInfo);
            d.Click(kCtlFinish);
        });
    EXPECT_EQ((std::vector<int>{KVACTION_QUERYREGISTER, KVACTION_REGISTER, KVACTION_REGISTER, KVACTION_VALIDATE,
                                KVACTION_VALIDATE, KVACTION_FINISHED}),
              Actions(run));
    EXPECT_EQ(std::vector<int>(6, KVREGISTER_OK), Returned(run));
    const KVActionRecordA& query = run.actions[0];
    EXPECT_EQ(sizeof(KVActionRecordA), query.Size);
    EXPECT_EQ(1, query.UseIp);
    EXPECT_STREQ(kMsisdn, query.Msisdn);
    EXPECT_STREQ(kEmail, query.UserEmail);
    EXPECT_STREQ("", query.UserName);
    // Every step hands over the whole account as it stands.
    for (int i = 1; i < run.steps; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(0u, run.actions[i].TextErrors);
        EXPECT_STREQ(kMsisdn, run.actions[i].Msisdn);
        EXPECT_STREQ("Kari Nordmann", run.actions[i].UserName);
        EXPECT_STREQ("hemmelig", run.actions[i].UserPassword);
    }
    EXPECT_STREQ("1111", run.actions[3].RegCode);
    EXPECT_STREQ("4711", run.actions[4].RegCode);
    EXPECT_NE(std::string::npos, Log().find("| KVRegisterModel::Register | KVRESULT_PENDING [busy] \n"));
}

TEST_F(KVRegisterCTest, FatalErrorAndCancelEndTheirRunsAndTheNextStartsEmpty) {
    Install(OnePage());
    const KVCRun& fatal = Run({Answer(KVRESULT_NONE), Answer(KVRESULT_ERROR, "SERVER NOT FOUND")}, [](KVWizardDriver& d) {
        FillOnePage(d);
        d.Click(kCtlUserInfoNext);
        const KVMessageBoxInfo box = d.WaitForMessageBox();
        EXPECT_EQ("The Remote Host could not be found. Are you connected to the Internet?", box.text);
        d.DismissMessageBox(box);
    });
    EXPECT_EQ((std::vector<int>{KVACTION_REGISTER, KVACTION_CANCEL}), Actions(fatal));
    EXPECT_STREQ(kMsisdn, fatal.actions[1].Msisdn);

    const KVCRun& cancelled = Run({Answer(KVRESULT_NONE)}, [](KVWizardDriver& d) {
        d.WaitForPage(KVWizardPage::UserInfo);
        EXPECT_EQ("", d.Text(kCtlUserName));
        d.Click(kCtlCancel);
    });
    EXPECT_EQ((std::vector<int>{KVACTION_CANCEL}), Actions(cancelled));
    EXPECT_EQ(KVREGISTER_OK, cancelled.returned[0]);
    EXPECT_STREQ("", cancelled.actions[0].Msisdn) << "a new run keeps nothing of the last one";
}

// A name one character too long for its array comes back empty and marked; the host answers
// as a server that refuses it, and the person shortens it to the longest that fits.
TEST_F(KVRegisterCTest, TextLongerThanItsArrayIsReportedNeverCut) {
    Install(OnePage());
    const std::string tooLong(KVREGISTER_TEXT_CHARS, 'x');
    const std::string longest(KVREGISTER_TEXT_CHARS - 1, 'y');
    const KVCRun& run = Run({Answer(KVRESULT_NONE), Answer(KVRESULT_ERROR, "RegTaskFailed", kTooLong),
                             Answer(KVRESULT_REGISTERED)},
                            [&](KVWizardDriver& d) {
                                FillOnePage(d);
                                d.Type(kCtlUserName, tooLong);
                                d.Click(kCtlUserInfoNext);
                                const KVMessageBoxInfo box = d.WaitForMessageBox();
                                EXPECT_EQ(kTooLong, box.text);
                                d.DismissMessageBox(box);
                                d.WaitForPage(KVWizardPage::UserInfo);
                                // The message emptied the number.
                                d.Type(kCtlMsisdn, kMsisdn);
                                d.Type(kCtlUserName, longest);
                                d.Click(kCtlUserInfoNext);
                            });
    EXPECT_EQ((std::vector<int>{KVACTION_REGISTER, KVACTION_REGISTER, KVACTION_FINISHED}), Actions(run));
    EXPECT_EQ((std::vector<int>{KVREGISTER_TEXTTOOLONG, KVREGISTER_OK, KVREGISTER_OK}), Returned(run));
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_USERNAME), run.actions[0].TextErrors);
    EXPECT_STREQ("", run.actions[0].UserName);
    EXPECT_STREQ(kEmail, run.actions[0].UserEmail);
    EXPECT_EQ(0u, run.actions[1].TextErrors);
    EXPECT_EQ(longest, run.actions[1].UserName);
    const std::string line = LogLine(Log(), "| KVRegisterC::Internal | Left empty: UserName did not fit");
    EXPECT_EQ(0u, line.find("1 |")) << line;
}

// Records a host got wrong are refused before anything runs: no window, no change.
TEST_F(KVRegisterCTest, RefusedRecordsChangeNothing) {
    const KVCHostExports& dll = Install(OnePage());
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.initA(nullptr));
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.initW(nullptr));

    static KVResultRecordA result;
    static KVActionRecordA action;
    result.Size = sizeof result;
    action.Size = sizeof action;
    action.Action = 77;
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(nullptr, &action, nullptr));
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(&result, nullptr, nullptr));
    result.Size = sizeof result - 1;
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(&result, &action, nullptr));
    result.Size = sizeof result;
    action.Size = 0;
    EXPECT_EQ(KVREGISTER_BADRECORD, dll.internalA(&result, &action, nullptr));
    action.Size = sizeof action;

    std::memset(result.ResultText, 'r', sizeof result.ResultText);
    std::memset(result.ErrorKey, 'k', sizeof result.ErrorKey);
    EXPECT_EQ(KVREGISTER_BADTEXT, dll.internalA(&result, &action, nullptr));
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_RESULTTEXT | KVTEXT_ERRORKEY), action.TextErrors);
    EXPECT_EQ(77, action.Action);
    EXPECT_EQ(nullptr, FindWindowA("KV Registration", nullptr));

    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("| KVRegisterC::Init | No key path \n"));
    const std::string line = LogLine(log, "| KVRegisterC::Internal | Refused: ErrorKey, ResultText of the result record");
    EXPECT_EQ(0u, line.find("1 |")) << line;
}

// The W road converts at the boundary: the person's name comes back in UTF-16, and a text of
// the host that the code page cannot hold is refused with its bit, never replaced.
TEST_F(KVRegisterCTest, WideRoadRefusesWhatTheCodePageCannotHold) {
    ASSERT_EQ(1252u, GetACP()) << "the texts below are chosen for code page 1252";
    const KVCHostExports& dll = Install(OnePage());
    EXPECT_EQ(KVREGISTER_BADTEXT, dll.initW(L"Software\\KVTest\\\u0141ukasz"));
    EXPECT_EQ(KVREGISTER_OK, dll.initW(Wide(env.KeyPath()).c_str()));

    const KVCRun& refused = Run({Answer(KVRESULT_NONE), Registered("Velkommen, \xC5\x81ukasz")},
                                [](KVWizardDriver& d) {
                                    FillOnePage(d);
                                    d.Type(kCtlUserName, "Zo\xEB \xC6r\xF8");  // code page 1252
                                    d.Click(kCtlUserInfoNext);
                                },
                                true);
    ASSERT_EQ(2, refused.steps);
    EXPECT_EQ(KVACTION_REGISTER, refused.actions[0].Action);
    EXPECT_STREQ("Zo\xC3\xAB \xC3\x86r\xC3\xB8", refused.actions[0].UserName);  // UTF-8 of the UTF-16
    EXPECT_EQ(KVREGISTER_BADTEXT, refused.returned[1]);
    EXPECT_EQ(static_cast<UINT32>(KVTEXT_INFOTEXT), refused.actions[1].TextErrors);

    // The wizard still waits for the answer to its registration.
    const KVCRun& finished = Run({Registered("Velkommen, Zo\xC3\xAB")}, [](KVWizardDriver& d) {
        d.WaitForPage(KVWizardPage::RegisterInfo);
        d.Click(kCtlFinish);
    }, true);
    EXPECT_EQ((std::vector<int>{KVACTION_FINISHED}), Actions(finished));
    EXPECT_NE(std::string::npos, Log().find("KVRESULT_REGISTERED [Velkommen, Zo\xEB]"));
}

// The owner's thread is the one blocked in the step, in its wait for paint messages, while the
// person works in the wizard and a server error's message box comes up on that same thread.
TEST_F(KVRegisterCTest, OwnerWindowPlacesTheWizardAndKeepsPaintingWhileItsThreadWaits) {
    Install(OnePage());
    HostWindow owner(driver);
    const HWND ownerWindow = owner.Handle();
    const DWORD hostThread = GetCurrentThreadId();
    const KVCRun& run = Run(
        {Answer(KVRESULT_NONE), Answer(KVRESULT_ERROR, "MSISDN ERROR"), Answer(KVRESULT_REGISTERED)},
        [&](KVWizardDriver& d) {
            const HWND wizard = d.WaitForWizard();
            RECT ownerRect{}, wizardRect{};
            GetWindowRect(ownerWindow, &ownerRect);
            GetWindowRect(wizard, &wizardRect);
            EXPECT_NEAR((ownerRect.left + ownerRect.right) / 2, (wizardRect.left + wizardRect.right) / 2, 1);
            EXPECT_NEAR((ownerRect.top + ownerRect.bottom) / 2, (wizardRect.top + wizardRect.bottom) / 2, 1);
            // Placed over the host's window, yet not owned by it (see KVRegisterView::PreCreate).
            EXPECT_EQ(nullptr, GetWindow(wizard, GW_OWNER));
            EXPECT_NE(0, GetWindowLongA(wizard, GWL_EXSTYLE) & WS_EX_TOPMOST);
            HWND below = wizard;
            while (below != nullptr && below != ownerWindow) below = GetWindow(below, GW_HWNDNEXT);
            EXPECT_EQ(ownerWindow, below) << "the host's window is below the wizard";

            FillOnePage(d);
            const int paints = owner.Paints();
            InvalidateRect(ownerWindow, nullptr, TRUE);
            d.WaitUntil("the host's window to be painted", [&] { return owner.Paints() > paints; });
            d.Click(kCtlUserInfoNext);

            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_EQ(hostThread, GetWindowThreadProcessId(box.window, nullptr));
            EXPECT_EQ(wizard, box.owner);
            d.DismissMessageBox(box);
            d.WaitForPage(KVWizardPage::UserInfo);
            d.Type(kCtlMsisdn, kMsisdn);
            d.Click(kCtlUserInfoNext);
        },
        false, ownerWindow);
    EXPECT_EQ((std::vector<int>{KVACTION_REGISTER, KVACTION_REGISTER, KVACTION_FINISHED}), Actions(run));
}

// Without a usable country library every number is refused; the log names the file tried and
// the system's reason, for a library of the other size and for none at all.
TEST_F(KVRegisterCTest, CountryLibraryThatCannotLoadIsNamedInTheLog) {
    char other[MAX_PATH] = {};
#ifdef _WIN64
    ASSERT_NE(0u, GetSystemWow64DirectoryA(other, MAX_PATH));
#else
    ASSERT_NE(0u, GetWindowsDirectoryA(other, MAX_PATH));
    strcat(other, "\\sysnative");  // the 64-bit system folder, seen from a 32-bit process
#endif
    Install(OnePage());
    const std::string library = host_->Folder() + "\\KVCountryCodes.dll";
    ASSERT_TRUE(CopyFileA((std::string(other) + "\\version.dll").c_str(), library.c_str(), FALSE));
    const auto cancelOnFirstPage = [](KVWizardDriver& d) { CancelOnPage(d, KVWizardPage::UserInfo); };
    EXPECT_EQ((std::vector<int>{KVACTION_CANCEL}), Actions(Run({Answer(KVRESULT_NONE)}, cancelOnFirstPage)));
    const std::string wrongSize = LogLine(Log(), "| KVCountryCodesWrapper::Prepare | Cannot load " + library + ": ");
    EXPECT_EQ(0u, wrongSize.find("1 |")) << wrongSize;
    EXPECT_NE(std::string::npos, wrongSize.find("(system error 193)")) << wrongSize;
    EXPECT_EQ(std::string::npos, wrongSize.find("%1")) << wrongSize;

    ASSERT_TRUE(DeleteFileA(library.c_str()));
    EXPECT_EQ((std::vector<int>{KVACTION_CANCEL}), Actions(Run({Answer(KVRESULT_NONE)}, cancelOnFirstPage)));
    const std::string missing = LogLine(Log(), "(system error 126)");
    EXPECT_NE(std::string::npos, missing.find("| Cannot load " + library + ": ")) << missing;
}

}  // namespace
