// KVRegister.dll end to end: a host makes the steps on the test's thread while the wizard
// driver plays the user at the real window on its own.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "countrycodes/src/KVCountryTable.h"
#include "countrycodes/src/KVEmbeddedTable.h"
#include "tests/e2e/KVWizardFixture.h"

namespace {

const char kPending1[] = "The program is communicating with the server to see if you are allowed to register.";
const char kValidate1[] =
    "A registration code has been sent to your mobile phone. This should arrive to you within a minute. "
    "Enter this registration code below to complete the registration.";
const char kTwoAttemptsLeft[] =
    "The first registation code you typed is invalid.\r\nYou have two attempts left to type the correct "
    "registration code.\r\nPlease note that after three consecutive failed attempts your number will be blocked.";
const char kOneAttemptLeft[] =
    "The second registation code you typed is invalid as well.\r\nYou have one left attempt to type the correct "
    "registration code.\r\nPlease note that after three consecutive failed attempts your number will be blocked.";
const char kNoMoreAttempts[] =
    "All the registration codes you typed were invalid.\r\nYour number has now been blocked (three consecutive "
    "failed attempts).";

class KVRegisterE2ETest : public KVWizardFixture {};

// The whole road over two form pages, with Back on each and a Back clicked between two steps;
// the window's place is kept between runs, and its header draws the built-in image without one.
TEST_F(KVRegisterE2ETest, SignUpOverTwoFormPagesWithBackOnEachPage) {
    KVWizardHost& host = Install(TwoPages());
    RECT shown{};
    const POINT probes[] = {{4, 4}, {16, 16}, {27, 9}, {9, 27}};
    std::vector<COLORREF> drawn;
    Step(host, KVResult(KVRESULT_NONE), KVACTION_QUERYREGISTER, [&](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
        GetWindowRect(d.Wizard(), &shown);
        for (const POINT& p : probes) drawn.push_back(d.ClientPixel(460 - 48 + p.x, 13 + p.y));
        EXPECT_FALSE(d.IsEnabled(ID_QUERYREGISTER_NEXT));
        d.Type(KVInputId(COMPONENT_MSISDN), kMsisdn);
        EXPECT_FALSE(d.IsEnabled(ID_QUERYREGISTER_NEXT)) << "the e-mail address is required";
        d.Type(KVInputId(COMPONENT_USEREMAIL), "kari@example");
        d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), "kari@example");
        EXPECT_FALSE(d.IsEnabled(ID_QUERYREGISTER_NEXT)) << "an address without a dot fails the syntax check";
        d.Type(KVInputId(COMPONENT_USEREMAIL), kEmail);
        d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), kEmail);
        EXPECT_TRUE(d.IsEnabled(ID_QUERYREGISTER_NEXT));
        d.Type(KVInputId(COMPONENT_MSISDN), kMsisdn);
        // Typing left the focus on the e-mail field: Tab goes on in file order, then the buttons.
        EXPECT_EQ(KVInputId(COMPONENT_USEREMAIL), d.FocusedId());
        EXPECT_EQ((std::vector<int>{KVInputId(COMPONENT_CONFIRMUSEREMAIL), ID_QUERYREGISTER_NEXT, ID_CANCEL, KVInputId(COMPONENT_MSISDN), KVInputId(COMPONENT_USEREMAIL)}),
                  d.TabOrder());
        SavePage(d, "query-register");
        d.Click(ID_QUERYREGISTER_NEXT);
    });
    EXPECT_EQ(1, action.UseIp);
    EXPECT_EQ(kMsisdn, action.Msisdn);
    EXPECT_EQ(kEmail, action.UserEmail);
    // Without a saved place the window is centred at its built-in size of 426 by 312, and the
    // file's size, which the DPI test measures, does not move it.
    EXPECT_LE(std::abs(shown.left - (GetSystemMetrics(SM_CXSCREEN) - 426) / 2), 1);
    EXPECT_LE(std::abs(shown.top - (GetSystemMetrics(SM_CYSCREEN) - 312) / 2), 1);

    // Back on the user-info page, then Alt+N on the query page asks the server again.
    Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_QUERYREGISTER, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_USERINFO);
        EXPECT_TRUE(d.HasButton(ID_USERINFO_BACK));
        EXPECT_FALSE(d.IsEnabled(ID_USERINFO_NEXT)) << "the name is required";
        d.Type(KVInputId(COMPONENT_USERNAME), "Kari Nordmann");
        d.Type(KVInputId(COMPONENT_USERPASSWORD), "hemmelig");
        EXPECT_TRUE(d.IsEnabled(ID_USERINFO_NEXT));
        // Leaving the password moved the focus on to the country list.
        EXPECT_EQ((std::vector<int>{ID_USERINFO_BACK, ID_USERINFO_NEXT, ID_CANCEL, KVInputId(COMPONENT_USERNAME), KVInputId(COMPONENT_USERPASSWORD),
                                    KVInputId(COMPONENT_COUNTRY)}),
                  d.TabOrder());
        d.Click(ID_USERINFO_BACK);
        d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
        EXPECT_EQ(kEmail, d.Text(KVInputId(COMPONENT_USEREMAIL)));
        d.PressAlt('n');
    });

    Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_REGISTER, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_USERINFO);
        EXPECT_EQ("Kari Nordmann", d.Text(KVInputId(COMPONENT_USERNAME)));
        SavePage(d, "user-info");
        d.Click(ID_USERINFO_NEXT);
    });
    EXPECT_EQ("Kari Nordmann", action.UserName);
    // A click on Back that was on its way when the page was disabled for the hand-over.
    driver.Play([](KVWizardDriver& d) {
        HWND back = GetDlgItem(d.WaitForWizard(), ID_USERINFO_BACK);
        PostMessageA(GetParent(back), WM_COMMAND, MAKEWPARAM(ID_USERINFO_BACK, BN_CLICKED), LPARAM(back));
        d.Settle();
        d.Settle();  // a page change the click made is posted in turn
        EXPECT_EQ(KVPages::PAGE_USERINFO, d.Page());
    });
    ASSERT_EQ("", driver.Await());
    EXPECT_NE(std::string::npos, host.Log().find("| KVRegisterModel::PreviousPage | No step in progress, dropped \n"));

    // Back (Alt+B) on the validation page leads to the user-info page, whose Next registers again.
    KVResultRecord validate = KVResult(KVRESULT_VALIDATE);
    validate.ResultText = "code sent";
    Step(host, validate, KVACTION_REGISTER, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_VALIDATE);
        EXPECT_EQ(kValidate1, d.Text(ID_VALIDATE_TEXT1));
        EXPECT_EQ(std::string("The registration code was sent to the mobile phone number ") + kMsisdn + ".",
                  d.Text(ID_VALIDATE_TEXT2));
        EXPECT_FALSE(d.IsEnabled(ID_VALIDATE_FINISH)) << "no code typed yet";
        for (HWND ok : d.Controls(ID_VALIDATE_FINISH))
            EXPECT_TRUE(IsWindowVisible(ok) || IsWindowEnabled(ok)) << "the information page's OK";
        SavePage(d, "validate");
        d.PressAlt('b');
        d.WaitForPage(KVPages::PAGE_USERINFO);
        d.Click(ID_USERINFO_NEXT);
    });

    Step(host, validate, KVACTION_VALIDATE, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_VALIDATE);
        EXPECT_EQ(ID_REGCODE, d.FocusedId());
        d.Type(ID_REGCODE, "4711");
        EXPECT_TRUE(d.IsEnabled(ID_VALIDATE_FINISH));
        d.PressAlt('r');
        EXPECT_EQ(ID_REGCODE, d.FocusedId());
        d.PressAlt('f');
    });
    EXPECT_EQ("4711", action.RegCode);

    KVResultRecord registered = KVResult(KVRESULT_REGISTERED);
    registered.InfoText = "welcome";
    Step(host, registered, KVACTION_FINISHED, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_REGISTERINFO);
        EXPECT_EQ(std::string("An email message has been sent to the address ") + kEmail +
                      ". Verify that this message arrives, because reply SMS messages sent to you will be sent "
                      "to this email address.",
                  d.Text(ID_REGISTERINFO_TEXT));
        // Every page's Next and Finish, shown or hidden, is enabled: a show operation enables the
        // controls of every page before it sets its own.
        for (int id : {ID_QUERYREGISTER_NEXT, ID_USERINFO_NEXT, ID_VALIDATE_FINISH})
            for (HWND control : d.Controls(id)) EXPECT_TRUE(IsWindowEnabled(control)) << "control " << id;
        SavePage(d, "register-info");
        d.PressEscape();  // no accelerators on this page: Escape does not cancel
        EXPECT_EQ(KVPages::PAGE_REGISTERINFO, d.Page());
        d.Click(ID_VALIDATE_FINISH);
    });
    // The built-in picture, drawn from the library's resource where it belongs: its
    // blue tile, the envelope's face and the orange dot.
    EXPECT_EQ((std::vector<COLORREF>{RGB(30, 90, 165), RGB(219, 225, 234), RGB(240, 140, 30), RGB(30, 90, 165)}),
              drawn);

    int32_t saved[5] = {-1, -1, -1, -1, -1};
    DWORD size = sizeof saved;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, (env.KeyPath() + "\\Positions").c_str(),
                                          "RegisterWindow", RRF_RT_REG_BINARY, nullptr, saved, &size));
    EXPECT_EQ(20u, size);
    EXPECT_EQ((std::vector<int32_t>{0, shown.left, shown.top, 460, 360}), std::vector<int32_t>(saved, saved + 5));

    // A run that ended starts again from its first page in a new window, where the place saved
    // is restored, not the size; Escape, the page's accelerator, ends the run.
    const int32_t place[5] = {0, 37, 41, 100, 100};
    env.SetBinary(HKEY_CURRENT_USER, "Positions", "RegisterWindow", place, sizeof place);
    Step(host, KVResult(KVRESULT_NONE), KVACTION_CANCEL, [&shown](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
        GetWindowRect(d.Wizard(), &shown);
        d.PressEscape();
    });
    EXPECT_EQ(1u, Count(host.Log(), "| KVRegisterModel::WaitForAction | Cancel \n"));
    EXPECT_EQ((std::vector<LONG>{37, 41, 460 + 37}), (std::vector<LONG>{shown.left, shown.top, shown.right}));
}

// One form page, without Back: Next checks the number, then the address (its form, where the
// window's own check lets more through), then the confirmation; Enter acts as Next. With Norway
// the home country a national number goes on as Norwegian. A pending answer shows its page until
// its time runs out. Back from the validation page finds the number emptied; one after "00" goes
// on as typed, and its country becomes the home country. Three wrong codes block the number.
TEST_F(KVRegisterE2ETest, OneFormPageRoadEndsBlockedAfterThreeWrongCodes) {
    env.SetString(HKEY_CURRENT_USER, "", "HomeCountry", "NO");
    env.SetString(HKEY_LOCAL_MACHINE, "", "CampaignID", "SPRING");
    std::vector<std::string> config = OnePage();
    config[1] += ",10";
    config.push_back("20,200,150,220,0,160,198,420,220,0");
    KVWizardHost& host = Install(config, {"lblPending2=Please wait while <msisdn> is checked."});
    struct Try {
        const char* number;
        const char* email;
        const char* confirmation;
        const char* shown;
    };
    const Try tries[] = {
        {"+4712", "a@.mail.com", "a@.mail.com", kInvalidMsisdn},
        {"91234567", "a@.mail.com", "a@.mail.com",
         "The email address you have specified is in an invalid format.\r\n\r\nPlease specify a valid email "
         "address or leave the field empty."},
        {"91234567", "Kari@example.no", kEmail, "The two email addresses specified must be the same."},
    };
    Step(host, KVResult(KVRESULT_NONE), KVACTION_REGISTER, [&tries](KVWizardDriver& d) {
        FillFirstPage(d, false);
        EXPECT_FALSE(d.HasButton(ID_USERINFO_BACK));
        d.Type(KVInputId(COMPONENT_GROUPID), "Sales");
        for (const Try& t : tries) {
            SCOPED_TRACE(t.shown);
            d.Type(KVInputId(COMPONENT_MSISDN), t.number);
            d.Type(KVInputId(COMPONENT_USEREMAIL), t.email);
            d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), t.confirmation);
            d.Click(ID_USERINFO_NEXT);
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_EQ(t.shown, box.text);
            EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), box.icon);
            d.DismissMessageBox(box);
            d.WaitForPage(KVPages::PAGE_USERINFO);
        }
        d.Type(KVInputId(COMPONENT_MSISDN), "91234567");
        d.Type(KVInputId(COMPONENT_USEREMAIL), kEmail);
        d.PressEnter();
    });
    EXPECT_EQ(2, action.UseIp);
    EXPECT_EQ(kMsisdn, action.Msisdn);
    EXPECT_EQ("Kari Nordmann", action.UserName);
    EXPECT_EQ(kEmail, action.UserEmail);
    EXPECT_EQ("SPRING", action.GroupId) << "the campaign replaces the group typed";

    KVResultRecord pending = KVResult(KVRESULT_PENDING);
    pending.ResultText = "busy";
    pending.WaitSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    Step(host, pending, KVACTION_REGISTER, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_PENDING);
        EXPECT_EQ(kPending1, d.Text(ID_PENDING_TEXT1));
        EXPECT_EQ(std::string("Please wait while ") + kMsisdn + " is checked.", d.Text(ID_PENDING_TEXT2));
        SavePage(d, "pending");
    });
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    const std::string log = host.Log();
    EXPECT_NE(std::string::npos, log.find("SleepTime:      3e8 \n"));
    EXPECT_NE(std::string::npos, log.find("| KVRegisterModel::WaitForAction | WAIT_TIMEOUT \n"));
    EXPECT_NE(std::string::npos, log.find("| ACTION [T:2,M:+4791234567,E:kari@example.no,U:Kari Nordmann,C:] \n"));

    // Back on the validation page leads to the one form page, whose number the validation
    // page emptied.
    Step(host, KVResult(KVRESULT_VALIDATE), KVACTION_REGISTER, [](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_VALIDATE);
        d.PressAlt('b');
        d.WaitForPage(KVPages::PAGE_USERINFO);
        EXPECT_EQ("", d.Text(KVInputId(COMPONENT_MSISDN)));
        EXPECT_FALSE(d.IsEnabled(ID_USERINFO_NEXT));
        d.Type(KVInputId(COMPONENT_MSISDN), "0046701234567");
        d.Click(ID_USERINFO_NEXT);
    });
    EXPECT_EQ("0046701234567", action.Msisdn);
    std::string home;
    EXPECT_TRUE(env.GetString(HKEY_CURRENT_USER, "", "HomeCountry", &home));
    EXPECT_EQ("SE", home);
    EXPECT_NE(std::string::npos, host.Log().find("| KVRegisterModel::NextPage | KVACTION_REGISTER \n"));

    const std::vector<std::string> messages = {"", kTwoAttemptsLeft, kOneAttemptLeft, "Wrong code."};
    for (size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE("wrong code " + std::to_string(i));
        const std::string code = std::to_string(1111 + 1111 * i);
        const KVResultRecord answer =
            i == 0 ? KVResult(KVRESULT_VALIDATE) : KVServerError("InvalidRegCode", "Wrong code.");
        Step(host, answer, KVACTION_VALIDATE, [&](KVWizardDriver& d) {
            if (i > 0) {
                const KVMessageBoxInfo box = d.WaitForMessageBox();
                EXPECT_EQ(messages[i], box.text);
                d.DismissMessageBox(box);
            }
            d.WaitForPage(KVPages::PAGE_VALIDATE);
            EXPECT_EQ("", d.Text(ID_REGCODE)) << "a message box empties the code field";
            d.Type(ID_REGCODE, code);
            d.Click(ID_VALIDATE_FINISH);
        });
        EXPECT_EQ(code, action.RegCode);
    }
    Step(host, KVServerError("RegCodeBlocked", "Blocked."), KVACTION_CANCEL, [](KVWizardDriver& d) {
        const KVMessageBoxInfo box = d.WaitForMessageBox();
        EXPECT_EQ(kNoMoreAttempts, box.text);
        EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), box.icon);
        d.DismissMessageBox(box);
    });
}

TEST_F(KVRegisterE2ETest, NoFormPageRegistersAtOnce) {
    env.SetString(HKEY_LOCAL_MACHINE, "", "CampaignID", "SPRING");
    KVWizardHost& host = Install({"460,360", "", "1,0"});
    Step(host, KVResult(5), KVACTION_CANCEL);  // a result nobody knows ends the run
    Step(host, KVResult(KVRESULT_NONE), KVACTION_REGISTER);
    EXPECT_EQ("SPRING", action.GroupId);
    // A pending answer without time registers again at once, and leaves the host's fields alone.
    action.GroupId = "from the host";
    KVResultRecord pending = KVResult(KVRESULT_PENDING);
    pending.WaitSeconds = 0;
    Step(host, pending, KVACTION_REGISTER);
    EXPECT_EQ("from the host", action.GroupId);
    Step(host, KVResult(KVRESULT_REGISTERED), KVACTION_FINISHED);
}

// Every server error key after a request from the query page: the text shown (the server's
// own for most keys), an information box and a wait on the page named for keys the user can
// correct, a warning and the end of the run for the others, unknown keys among them.
TEST_F(KVRegisterE2ETest, EveryServerErrorKeyGetsItsTreatment) {
    struct Row {
        const char* key;
        bool ends;
        KVPages::Page page;  // where the user corrects it
        const char* shown;  // the server sent "server text", or nothing with the empty key
    };
    const KVPages::Page kQuery = KVPages::PAGE_QUERYREGISTER, kUserInfo = KVPages::PAGE_USERINFO,
                       kNone = KVPages::PAGE_NONE;
    const Row rows[] = {
        {"SERVER NOT FOUND", true, kNone, "The Remote Host could not be found. Are you connected to the Internet?"},
        {"HTTPERROR", true, kNone, "The service could not be located on the Remote Host."},
        {"MSISDN ERROR", false, kQuery, kInvalidMsisdn},
        {"UNKNOWN ERROR", true, kNone, "An unknown error occurred."},
        {"SPIsNotAllowed", true, kNone, "server text"},
        {"InvalidFormat-MSISDN", false, kQuery, "server text"},
        {"CorporateDisallow", false, kQuery, "server text"},
        {"GroupIdNotValid", false, kQuery, "server text"},
        {"RemoteIPNotValid", false, kQuery, "server text"},
        {"ExternalDisallow", false, kQuery, "server text"},
        {"ExternalError", true, kNone, "server text"},
        {"RegMSISDNNotAllowed", false, kQuery, "server text"},
        {"InvalidRegCode", false, KVPages::PAGE_VALIDATE, kTwoAttemptsLeft},
        {"RegCodeBlocked", true, kNone, "server text"},  // after one wrong code only
        {"RegTaskFailed", false, kUserInfo, "server text"},
        {"RegCodeExpired", false, kUserInfo, "server text"},
        {"EmailNotValid", false, kQuery, "server text"},
        {"RegError", true, kNone, "server text"},
        {"RegCodeNotSent", false, kUserInfo, "server text"},
        {"CorporateNotValid", false, kQuery, "server text"},
        {"NoMatchMSISDNAccountID", false, kQuery, "server text"},
        {"invalidregcode", true, kNone, "server text"},  // keys match case-sensitively
        {"NoSuchKey", true, kNone, "server text"},
        {"", true, kNone, "An unknown error occurred."},
    };
    KVWizardHost& host = Install(TwoPages());
    // The first step of a run may already be an error: the person corrects the number on the
    // first form page and goes on.
    Step(host, KVServerError("MSISDN ERROR", "server text"), KVACTION_QUERYREGISTER, [](KVWizardDriver& d) {
        const KVMessageBoxInfo box = d.WaitForMessageBox();
        EXPECT_EQ(kInvalidMsisdn, box.text);
        d.DismissMessageBox(box);
        FillFirstPage(d, true);
        d.Click(ID_QUERYREGISTER_NEXT);
    });
    EXPECT_EQ(kMsisdn, action.Msisdn);
    bool running = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        if (!running) SubmitFirstPage(host, true);
        const int expected = row.ends                            ? KVACTION_CANCEL
                             : row.page == KVPages::PAGE_VALIDATE ? KVACTION_VALIDATE
                                                                  : KVACTION_QUERYREGISTER;
        Step(host, KVServerError(row.key, *row.key ? "server text" : ""), expected, [&row](KVWizardDriver& d) {
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_EQ("Error", box.caption);
            EXPECT_EQ(row.shown, box.text);
            EXPECT_EQ(LoadIconA(nullptr, row.ends ? IDI_WARNING : IDI_INFORMATION), box.icon);
            EXPECT_EQ(d.Wizard(), box.owner);
            d.DismissMessageBox(box);
            if (row.ends) return d.WaitForWizardGone();
            d.WaitForPage(row.page);
            if (row.page == KVPages::PAGE_VALIDATE) {
                d.Type(ID_REGCODE, "4711");
                return d.Click(ID_VALIDATE_FINISH);
            }
            if (row.page == kUserInfo) {
                d.Click(ID_USERINFO_BACK);
                d.WaitForPage(kQuery);
            }
            EXPECT_EQ("", d.Text(KVInputId(COMPONENT_MSISDN))) << "a message box empties the number field";
            d.Type(KVInputId(COMPONENT_MSISDN), kMsisdn);
            d.Click(ID_QUERYREGISTER_NEXT);
        });
        running = !row.ends;
    }
}

TEST_F(KVRegisterE2ETest, CountryListHoldsEveryRegionOfTheRealLibraryWithTheHomeCountryChosen) {
    env.SetString(HKEY_CURRENT_USER, "", "HomeCountry", "NO");
    KVWizardHost& host = Install(CountryPage());
    std::vector<std::string> shown;
    Step(host, KVResult(KVRESULT_NONE), KVACTION_CANCEL, [&](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_USERINFO);
        shown = d.ListItems(KVInputId(COMPONENT_COUNTRY));
        EXPECT_TRUE(d.IsEnabled(KVInputId(COMPONENT_COUNTRY)));
        EXPECT_EQ("Norway", d.ListSelection(KVInputId(COMPONENT_COUNTRY)));
        d.Click(ID_CANCEL);
    });

    // What the library's built-in table names.
    std::string error;
    const auto table = kvcc::KVCountryTable::Parse(kvcc::EmbeddedTable(), error);
    ASSERT_TRUE(table) << error;
    std::vector<std::string> names;
    for (const auto& region : table->Regions()) names.push_back(region->name);
    EXPECT_GT(names.size(), 200u);

    // In the order a person looks them up in, accents and all.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(names, shown);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "C\xF4te d'Ivoire"));
}

// The host's application ends while the wizard waits for the user: the process ends with the
// library loaded. Its unload writes the last entry and leaves the window, whose thread is gone,
// and the country-code library to the system.
TEST_F(KVRegisterE2ETest, ProcessEndingWithARunOpenEndsCleanly) {
    KVWizardHost& host = Install(TwoPages());
    host.Unload();  // the other process writes the log
    // The command processor takes the command without its outer quotes.
    const std::string command = "\"\"" KV_EXIT_HOST "\" \"" KV_REGISTER_DLL "\" \"" + env.KeyPath() + "\" 7\"";
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(7, std::system(command.c_str()))
        << "6: no wizard was shown; anything else: the process did not end as asked";
    EXPECT_LT(GetTickCount64() - start, 10000u) << "nothing waits for the window's thread";
    const std::string log = host.Log();
    EXPECT_NE(std::string::npos, log.find("| KVRegister::~KVRegister | Process ending: the run is left to the system \n"));
    EXPECT_NE(std::string::npos, log.find("| KVRegister::~KVRegister | Destructor \n"));
}

// The reader's own tests go through every check; here a register.cfg that is missing or too big
// stops the step, and the rest of what is too big is taken as it comes.
TEST_F(KVRegisterE2ETest, MissingOrOversizedInputHasADefinedResult) {
    {
        SCOPED_TRACE("no register.cfg");
        KVWizardHost& missing = Install({});
        ExpectFileError(missing, "| KVRegisterView::CreateUserInfoPages | File open error [" + missing.Folder() + "] \n");
    }
    {
        SCOPED_TRACE("a register.cfg of 1 MB");
        std::vector<std::string> lines = TwoPages();
        for (int i = 0; i < 1024 * 1024 / 32; ++i) lines.push_back("20,80,420,110,1,2,3,4,5,6,7,8,9");
        CancelStep(Install(lines), KVResult(KVRESULT_NONE), KVPages::PAGE_QUERYREGISTER);
    }
    {
        SCOPED_TRACE("10,000 components");
        std::string ids;
        for (int i = 0; i < 10000; ++i) ids += "1,";
        std::vector<std::string> lines = {"460,360", ids, "1,2"};
        for (int i = 0; i < 10000; ++i) lines.push_back("20,80,420,110,0");
        ExpectFileError(Install(lines), "| KVRegisterView::CreateUserInfoPages | File duplicate component error [1] \n");
    }
    {
        SCOPED_TRACE("a field of 10,000 digits");
        Step(Install({"460,360", "1", "1,2", std::string(10000, '9') + ",80,420,110,0"}), KVResult(KVRESULT_NONE), -1,
             CancelIfAPageShows(true));
        EXPECT_TRUE(action.Action == KVACTION_CANCEL || action.Action == KVACTION_ERROR) << action.Action;
    }
    {
        SCOPED_TRACE("a label of 10 KB");
        Step(Install({"460,360", "1,8", "1,2", "20,62,420,76,0", "20,80,150,100,0,160,78,420,100,0"},
                     {"lblInfo1=" + std::string(10240, 'x')}),
             KVResult(KVRESULT_NONE), KVACTION_CANCEL, [](KVWizardDriver& d) {
                 d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
                 EXPECT_EQ(10240u, d.Text(KVLabelId(1)).size());
                 d.Click(ID_CANCEL);
             });
    }
    {
        SCOPED_TRACE("10 KB typed into a field");
        Step(Install(TwoPages()), KVResult(KVRESULT_NONE), KVACTION_CANCEL, [](KVWizardDriver& d) {
            FillFirstPage(d, true);
            d.Type(KVInputId(COMPONENT_MSISDN), "+47" + std::string(10237, '4'));
            d.Click(ID_QUERYREGISTER_NEXT);
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            EXPECT_EQ(kInvalidMsisdn, box.text);
            d.DismissMessageBox(box);
            CancelOnPage(d, KVPages::PAGE_QUERYREGISTER);
        });
    }
}

}  // namespace
