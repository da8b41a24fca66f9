// KVRegister.dll under stress and faults: many runs in one host process, presses at random
// moments, hand-overs while the person types on, a host that is slow between steps, a window
// thread that hangs, and an installation that breaks under a run. KV_STRESS_RUNS sets how many
// runs the soak, the races and the hand-overs make (tools/stress asks for a thousand);
// KV_STRESS_SEED replays the races of an earlier output.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "driver/KVWindowText.h"
#include "register/model/KVRegisterModel.h"
#include "register/view/KVViewMessages.h"
#include "tests/common/KVTestCountryLibrary.h"
#include "tests/e2e/KVWizardFixture.h"

namespace {

const uint32_t kDefaultSeed = 20240611;

// A positive number from the environment (or zero where allowed), or `fallback`.
uint32_t EnvNumber(const char* name, uint32_t fallback, bool zeroAllowed = false) {
    const char* text = std::getenv(name);
    if (text == nullptr) return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end != text && *end == '\0' && (value != 0 || zeroAllowed)) return static_cast<uint32_t>(value);
    std::printf("%s=%s is not a number; %u is used\n", name, text, fallback);
    return fallback;
}

class KVRegisterStressTest : public KVWizardFixture {
protected:
    // The user-info page of the run, with a name typed and Next clicked.
    void SubmitUserInfo(KVWizardHost& host) {
        Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_REGISTER, [](KVWizardDriver& d) {
            d.WaitForPage(KVPages::PAGE_USERINFO);
            d.Type(KVInputId(COMPONENT_USERNAME), "Kari Nordmann");
            d.Click(ID_USERINFO_NEXT);
        });
    }

    // Ends a script once the host's step has returned.
    void AwaitStepEnd(KVWizardDriver& d) {
        d.WaitUntil("the host's step to return", [this] { return stepEnded_.load(); });
    }
};

TEST_F(KVRegisterStressTest, SoakOfRunsEndedEveryWayLeavesNothingBehind) {
    const uint32_t runs = EnvNumber("KV_STRESS_RUNS", 120);
    KVWizardHost& host = Install(TwoPages());
    const char* const endings[] = {"finished", "cancelled", "error", "window closed"};
    const uint32_t kEndings = 4;
    ProcessFigures first;
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t run = 0; run < runs; ++run) {
        const uint32_t ending = run % kEndings;
        if (ending == 0) {
            SubmitFirstPage(host, true);
            SubmitUserInfo(host);
            Step(host, KVResult(KVRESULT_VALIDATE), KVACTION_VALIDATE, [](KVWizardDriver& d) {
                d.WaitForPage(KVPages::PAGE_VALIDATE);
                d.Type(ID_REGCODE, "4711");
                d.Click(ID_VALIDATE_FINISH);
            });
            KVResultRecord registered = KVResult(KVRESULT_REGISTERED);
            registered.InfoText = "welcome";
            Step(host, registered, KVACTION_FINISHED, [](KVWizardDriver& d) {
                d.WaitForPage(KVPages::PAGE_REGISTERINFO);
                d.Click(ID_VALIDATE_FINISH);
            });
        } else if (ending == 2) {
            host.WriteFile("register.cfg", {"460,360", "1"});
            Step(host, KVResult(KVRESULT_NONE), KVACTION_ERROR, CancelIfAPageShows(false));
            EXPECT_EQ("errMissingOrCorruptFile", action.ErrorKey);
            host.WriteFile("register.cfg", TwoPages());
        } else {
            Step(host, KVResult(KVRESULT_NONE), KVACTION_CANCEL, [ending](KVWizardDriver& d) {
                d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
                ending == 1 ? d.Click(ID_CANCEL) : d.Close();
            });
        }
        ASSERT_FALSE(HasFailure()) << "run " << run + 1 << " (" << endings[ending] << ")";
        if (run + 1 == kEndings) first = ProcessFigures();
    }
    const ProcessFigures last;
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %u runs in %.0f s, ended in turn finished, cancelled, error, window closed\n", runs, seconds);
    first.Print(("soak after run " + std::to_string(kEndings)).c_str());
    last.Print(("soak after run " + std::to_string(runs)).c_str());
    if (runs > kEndings) last.ExpectNoGrowthSince(first);
}

TEST_F(KVRegisterStressTest, CancelOrCloseAtARandomMomentAlwaysEndsTheRun) {
    const uint32_t tries = EnvNumber("KV_STRESS_RUNS", 12);
    const uint32_t seed = EnvNumber("KV_STRESS_SEED", kDefaultSeed, true);
    std::printf("races: seed %u (KV_STRESS_SEED=%u replays them)\n", seed, seed);
    std::mt19937 random(seed);
    KVWizardHost& host = Install(TwoPages());
    enum Moment { kPageShows, kPendingWait, kPageSwitch, kMoments };
    const char* const moments[] = {"a page is shown", "the pending wait", "Back from the user-info page"};
    uint32_t counts[kMoments] = {};
    uint32_t timedOut = 0;
    double longestMs = 0;
    for (uint32_t i = 0; i < tries; ++i) {
        // The moments take turns so that a short run meets each; the rest is drawn the same
        // way whatever happens, so a seed always replays the same tries.
        const Moment moment = static_cast<Moment>(i % kMoments);
        const bool closeBox = random() % 2 == 1;
        const DWORD delayMs = random() % 61;
        ++counts[moment];
        if (moment != kPageShows) SubmitFirstPage(host, true);

        const int answers[kMoments] = {KVRESULT_NONE, KVRESULT_PENDING, KVRESULT_QUERIEDREGISTER};
        KVResultRecord result = KVResult(answers[moment]);
        result.WaitSeconds = moment == kPendingWait ? 1 : 0;
        const auto start = std::chrono::steady_clock::now();
        Step(host, result, -1, [this, moment, closeBox, delayMs](KVWizardDriver& d) {
            if (moment == kPageSwitch) {
                d.WaitForPage(KVPages::PAGE_USERINFO);
                d.Click(ID_USERINFO_BACK);
            }
            Sleep(delayMs);
            // A person presses as soon as the wizard takes it: the window is up and, for
            // Cancel, the button is enabled.
            if (closeBox) {
                d.WaitForWizard();
                d.Close();
            } else {
                d.WaitUntil("Cancel to take a click", [&d] {
                    HWND wizard = d.Wizard();
                    return wizard && IsWindowEnabled(wizard) && d.IsEnabled(ID_CANCEL);
                });
                d.Click(ID_CANCEL);
            }
            AwaitStepEnd(d);
            if (action.Action == KVACTION_CANCEL) d.WaitForWizardGone();
        });
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (ms > longestMs) longestMs = ms;
        if (moment == kPendingWait && action.Action == KVACTION_REGISTER) {
            // On a loaded machine the second may run out before the press: the host asks the
            // server again, and the press, kept from between the steps, ends the next step.
            EXPECT_GE(ms, 1000.0) << "the pending wait ended early";
            ++timedOut;
            Step(host, result, -1, [this](KVWizardDriver& d) {
                AwaitStepEnd(d);
                d.WaitForWizardGone();
            });
        }
        EXPECT_EQ(KVACTION_CANCEL, action.Action);
        ASSERT_FALSE(HasFailure()) << "try " << i + 1 << ": " << (closeBox ? "close box" : "Cancel") << " "
                                   << delayMs << " ms into " << moments[moment] << "; seed " << seed;
    }
    // Whatever the last try hit, the next run starts at its first page, empty.
    SubmitFirstPage(host, true);
    CancelStep(host, KVResult(KVRESULT_QUERIEDREGISTER), KVPages::PAGE_USERINFO);
    std::printf("races: %u tries (%u on a page shown, %u in the pending wait, %u after Back), "
                "each ended with KVACTION_CANCEL (%u pending waits ran out first, and the kept press "
                "ended the next step); longest step %.0f ms\n",
                tries, counts[kPageShows], counts[kPendingWait], counts[kPageSwitch], timedOut, longestMs);
}

TEST_F(KVRegisterStressTest, SlowHostKeepsOnlyTheCancelPressedBetweenSteps) {
    // Two form pages on which nothing of the second is required: its Next takes a press the
    // moment the page is shown, so a press kept from between steps would end the step at once.
    std::vector<std::string> config = OnePage();
    config[2] = "1,2,1";
    config.back() = "20,80,150,100,0,160,78,420,100,1";
    KVWizardHost& host = Install(config);
    const std::string sent = "| KVRegisterModel::NextPage | KVACTION_QUERYREGISTER \n";
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "Cancel pressed between steps" : "no Cancel between steps");
        SubmitFirstPage(host, true);
        const size_t sentBefore = Count(host.Log(), sent);

        // The host talks to its server for two seconds; the user keeps pressing meanwhile.
        std::atomic<bool> hostBack{false};
        int presses = 0;
        driver.Play([&hostBack, &presses](KVWizardDriver& d) {
            HWND next = GetDlgItem(d.WaitForWizard(), ID_QUERYREGISTER_NEXT);
            // The page disables its controls once the hand-over's notice has reached it.
            d.Settle();
            while (!hostBack) {
                EXPECT_FALSE(d.IsEnabled(ID_QUERYREGISTER_NEXT)) << "between steps Next takes no click";
                // Wine hands even a disabled button the click it is sent; a person could not.
                PostMessageA(next, BM_CLICK, 0, 0);
                d.PressEnter();
                d.PressAlt('n');
                ++presses;
                Sleep(20);
            }
        });
        Sleep(2000);
        hostBack = true;
        ASSERT_EQ("", driver.Await());
        EXPECT_GT(presses, 10);
        if (cancel) {
            driver.Play([](KVWizardDriver& d) { d.Click(ID_CANCEL); });
            ASSERT_EQ("", driver.Await());
            // A Cancel that got lost would leave the step waiting: the driver's deadline ends it.
            const auto start = std::chrono::steady_clock::now();
            Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_CANCEL,
                 [this](KVWizardDriver& d) { AwaitStepEnd(d); });
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500)) << "not at once";
        } else {
            Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_REGISTER, [this](KVWizardDriver& d) {
                d.WaitForPage(KVPages::PAGE_USERINFO);
                // A press kept from before would have ended the step by now.
                Sleep(300);
                d.Settle();
                EXPECT_FALSE(stepEnded_.load()) << "the step ended without the user";
                EXPECT_EQ(KVPages::PAGE_USERINFO, d.Page());
                d.Click(ID_USERINFO_NEXT);
            });
            CancelStep(host, KVResult(KVRESULT_VALIDATE), KVPages::PAGE_VALIDATE);
        }
        EXPECT_EQ(sentBefore, Count(host.Log(), sent)) << "a press between steps was taken as Next";
    }
}

// The person types into the focused field, presses Enter or clicks, and types on: the keys
// after the press reach the field before the hand-over's notice disables it, and the field,
// which has the focus after Enter, reports its text again as it is disabled, while the host's
// thread is still painting its own window. Every step record holds what was typed before the
// press.
TEST_F(KVRegisterStressTest, HandOversKeepWhatWasTypedBeforeThePress) {
    const uint32_t handOvers = EnvNumber("KV_STRESS_RUNS", 50);
    KVWizardHost& host = Install(TwoPages());
    // The host's own window, whose painting takes a while: a press comes in while the host's
    // thread is busy with it.
    const KVHostWindow hostWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 40}, 50);
    // Keys the person types on after a press, arriving just before the hand-over's notice that
    // disables the page: the field they land in has the focus and reports its text again as it
    // is disabled. The hook types them into the field armed when the wizard's thread takes
    // that notice.
    std::atomic<HWND> typingOn{nullptr};
    std::optional<KVWizardThreadHook> hook;
    uint32_t typedOn = 0;
    SubmitFirstPage(host, true);
    uint32_t byEnter = 0;
    double longestMs = 0;
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < handOvers; ++i) {
        const bool codePage = i % 2 == 0;
        const bool enter = i % 4 < 2;
        const std::string typed = std::to_string(100000 + i);
        const int field = codePage ? ID_REGCODE : KVInputId(COMPONENT_USERNAME);
        const auto stepStart = std::chrono::steady_clock::now();
        const int expected = codePage ? KVACTION_VALIDATE : KVACTION_REGISTER;
        Step(host, KVResult(codePage ? KVRESULT_VALIDATE : KVRESULT_QUERIEDREGISTER), expected, [&](KVWizardDriver& d) {
            d.WaitForPage(codePage ? KVPages::PAGE_VALIDATE : KVPages::PAGE_USERINFO);
            if (i == 0) {
                hook.emplace(GetWindowThreadProcessId(d.Wizard(), nullptr), [&typingOn](const MSG& message) {
                    if (message.message != KVWM_OBSERVER || message.wParam != KVRegisterModel::NOTIFY_CONTROLSDISABLED)
                        return;
                    if (const HWND into = typingOn.exchange(nullptr)) {
                        SendMessageA(into, WM_CHAR, '9', 1);
                        SendMessageA(into, WM_CHAR, '9', 1);
                    }
                });
            }
            d.Type(field, typed, false);
            typingOn = d.Controls(field).front();
            InvalidateRect(hostWindow.Handle(), nullptr, FALSE);
            if (enter)
                d.PressEnter();
            else
                d.Click(codePage ? ID_VALIDATE_FINISH : ID_USERINFO_NEXT);
        });
        typedOn += typingOn.exchange(nullptr) ? 0 : 1;  // the keys arrived before the step ended
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - stepStart).count();
        if (ms > longestMs) longestMs = ms;
        byEnter += enter ? 1 : 0;
        EXPECT_EQ(typed, codePage ? action.RegCode : action.UserName);
        ASSERT_FALSE(HasFailure()) << "hand-over " << i + 1 << (enter ? " by Enter" : " by a click") << " on the "
                                   << (codePage ? "validation" : "user-info") << " page";
    }
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The keys typed on race the host's thread; on a loaded machine the host now and then wins
    // before the window has taken its notice. Most hand-overs must have met the race, or the
    // test would prove nothing; each one's record is checked above either way.
    EXPECT_GE(typedOn * 10, handOvers * 9) << "the keys typed on came too late in " << handOvers - typedOn
                                           << " of " << handOvers << " hand-overs";
    std::printf("hand-overs: %u in %.0f s (%u by Enter, %u by a click; half on the code field, half on the name; "
                "keys typed on after %u of the presses before the step ended), each step record held what was "
                "typed before the press; longest step %.0f ms\n",
                handOvers, seconds, byEnter, handOvers - byEnter, typedOn, longestMs);
    CancelStep(host, KVResult(KVRESULT_VALIDATE), KVPages::PAGE_VALIDATE);
}

// A window thread that hangs when its run ends holds the step for the 10-second wait only.
// The runs after it work beside the window left behind, which is freed once its thread has
// ended; a host that unloads the library meanwhile leaves it to that thread.
TEST_F(KVRegisterStressTest, WindowThreadHungPastTheWaitLeavesLaterRunsWorking) {
    KVWizardHost& host = Install(TwoPages());
    const std::string leftBehind = "| KVRegister::DestroyWizard | Window thread still running; its window and model "
                                   "are kept until it ends \n";
    for (const bool unload : {false, true}) {
        SCOPED_TRACE(unload ? "the host unloads the library after the run" : "three more runs");
        // The wizard's thread hangs when its window is asked to close, until released, as a
        // thread does that waits on something that never comes. Its window is hidden first, so
        // that the driver plays the person at the next run's window.
        const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE thread = nullptr;
        std::optional<KVWizardThreadHook> hang;
        const auto start = std::chrono::steady_clock::now();
        Step(host, KVResult(KVRESULT_NONE), KVACTION_CANCEL, [&](KVWizardDriver& d) {
            d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
            const DWORD id = GetWindowThreadProcessId(d.Wizard(), nullptr);
            thread = OpenThread(SYNCHRONIZE, FALSE, id);
            hang.emplace(id, [release](const MSG& message) {
                if (message.message != WM_CLOSE) return;
                ShowWindow(message.hwnd, SW_HIDE);
                WaitForSingleObject(release, INFINITE);
            });
            d.Click(ID_CANCEL);
        });
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(seconds, 9.9);
        EXPECT_LT(seconds, 15.0);
        EXPECT_NE(std::string::npos, host.Log().find(leftBehind));
        std::printf("hung window thread: the step ended after %.1f s\n", seconds);
        if (!unload) {
            for (int run = 0; run < 3; ++run) {
                CancelStep(host, KVResult(KVRESULT_NONE), KVPages::PAGE_QUERYREGISTER);
                EXPECT_EQ("", action.ErrorKey) << "run " << run + 1 << " after the hang";
            }
            SetEvent(release);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
            CancelStep(host, KVResult(KVRESULT_NONE), KVPages::PAGE_QUERYREGISTER);
            EXPECT_NE(std::string::npos, host.Log().find("| KVRegister::DestroyWizard | Windows left behind have "
                                                         "ended: 1 freed \n"));
        } else {
            const HMODULE module = GetModuleHandleA("KVRegister.dll");
            const std::string sibling = host.Folder() + "\\KVCountryCodes.dll";
            EXPECT_NE(nullptr, GetModuleHandleA(sibling.c_str())) << "the run uses the country-code library";
            const auto before = std::chrono::steady_clock::now();
            host.Unload();
            EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
            char name[MAX_PATH];
            EXPECT_NE(0u, GetModuleFileNameA(module, name, MAX_PATH)) << "the hung thread keeps the library's code";
            SetEvent(release);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
            EXPECT_EQ(0u, GetModuleFileNameA(module, name, MAX_PATH)) << "its thread unloaded the library last";
            EXPECT_EQ(nullptr, GetModuleHandleA(sibling.c_str())) << "the country-code library went with it";
            EXPECT_NE(std::string::npos, host.Log().find("| KVRegister::~KVRegister | Destructor \n"));
            host.Load();
            CancelStep(host, KVResult(KVRESULT_NONE), KVPages::PAGE_QUERYREGISTER);
        }
        CloseHandle(thread);
        CloseHandle(release);
    }
}

// The installation changes under a loaded library. The product's registry key deleted while a
// run is open: the run goes on with what was typed, and the window saves its place under keys
// it makes again; without "InstallRoot" the next run finds no register.cfg, and with it back
// all is as before. register.lang deleted meanwhile: the wording is read once per load, and a
// fresh load without it is an error until the file is back.
TEST_F(KVRegisterStressTest, InstallationChangedUnderALoadedLibrary) {
    KVWizardHost& host = Install(TwoPages(), {"txtDialogName=Sign-up"});
    const std::string key = env.KeyPath();
    std::string title;
    Step(host, KVResult(KVRESULT_NONE), KVACTION_QUERYREGISTER, [&](KVWizardDriver& d) {
        FillFirstPage(d, true);
        title = KVWindowText(d.Wizard());
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()));
        d.Click(ID_QUERYREGISTER_NEXT);
    });
    EXPECT_EQ("Sign-up", title);
    EXPECT_EQ(kEmail, action.UserEmail);
    SubmitUserInfo(host);
    EXPECT_EQ("Kari Nordmann", action.UserName);
    CancelStep(host, KVResult(KVRESULT_VALIDATE), KVPages::PAGE_VALIDATE);
    int32_t saved[5] = {};
    DWORD size = sizeof saved;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, (key + "\\Positions").c_str(), "RegisterWindow",
                                          RRF_RT_REG_BINARY, nullptr, saved, &size));
    EXPECT_EQ(460, saved[3]);

    host.RemoveFile("register.lang");
    Step(host, KVResult(KVRESULT_NONE), KVACTION_ERROR, CancelIfAPageShows(false));
    EXPECT_EQ("errMissingOrCorruptFile", action.ErrorKey);
    env.SetString(HKEY_CURRENT_USER, "", "InstallRoot", host.Folder());
    const auto titledRun = [&] {
        Step(host, KVResult(KVRESULT_NONE), KVACTION_CANCEL, [&title](KVWizardDriver& d) {
            d.WaitForPage(KVPages::PAGE_QUERYREGISTER);
            title = KVWindowText(d.Wizard());
            d.Click(ID_CANCEL);
        });
    };
    titledRun();
    EXPECT_EQ("Sign-up", title) << "the wording is read once per load";

    env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
    host.Unload();
    host.Load();
    ExpectFileError(host, "| KVRegister::Initialize | errMissingOrCorruptFile [" + host.Folder() + "] \n");
    EXPECT_FALSE(action.ErrorText.empty()) << "the host gets a text to show";
    host.WriteFile("register.lang", {"txtDialogName=Sign-up again"});
    titledRun();
    EXPECT_EQ("Sign-up again", title);
}

// A library that cannot load is named in the log with the system's reason: one of the other
// size, and none at all.
TEST_F(KVRegisterStressTest, EveryFailingCountryLibraryHasItsDefinedResult) {
    char otherSize[MAX_PATH] = {};
#ifdef _WIN64
    ASSERT_NE(0u, GetSystemWow64DirectoryA(otherSize, MAX_PATH));
#else
    ASSERT_NE(0u, GetWindowsDirectoryA(otherSize, MAX_PATH));
    strcat(otherSize, "\\sysnative");  // the 64-bit system folder, seen from a 32-bit process
#endif
    struct Case {
        const char* library;  // a test library, else what stands in its place
        std::vector<std::string> countries;  // the list shown; empty: disabled
        bool numbersWork;
        const char* logged;  // the reason a library that cannot load is logged with
    };
    const std::vector<Case> cases = {
        {"scripted", {"Finland", "Norway", "Sweden"}, true, nullptr},
        {"nocountries", {}, true, nullptr},
        {"initfails", {}, false, nullptr},
        {"missing", {}, false, "(system error 126)"},
        {"the other size's version.dll", {}, false, "(system error 193)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        KVWizardHost& host = Install(CountryPage(), {}, c.logged ? "scripted" : c.library);
        const std::string library = host.Folder() + "\\KVCountryCodes.dll";
        if (c.logged) {
            host.Unload();
            host.RemoveFile("KVCountryCodes.dll");
            if (std::string(c.logged) == "(system error 193)") {
                EXPECT_TRUE(CopyFileA((std::string(otherSize) + "\\version.dll").c_str(), library.c_str(), FALSE));
            }
            host.Load();
        }
        const int expected = c.numbersWork ? KVACTION_REGISTER : KVACTION_CANCEL;
        Step(host, KVResult(KVRESULT_NONE), expected, [&](KVWizardDriver& d) {
            d.WaitForPage(KVPages::PAGE_USERINFO);
            EXPECT_EQ(c.countries, d.ListItems(KVInputId(COMPONENT_COUNTRY)));
            EXPECT_EQ(!c.countries.empty(), d.IsEnabled(KVInputId(COMPONENT_COUNTRY)));
            // "+99" makes the scripted library fill its answer without a terminator.
            for (const char* number : {"+9912345678", kMsisdn}) {
                d.Type(KVInputId(COMPONENT_MSISDN), number);
                d.Click(ID_USERINFO_NEXT);
                if (c.numbersWork && std::string(number) == kMsisdn) return;
                const KVMessageBoxInfo box = d.WaitForMessageBox();
                EXPECT_EQ(kInvalidMsisdn, box.text) << number;
                d.DismissMessageBox(box);
                d.WaitForPage(KVPages::PAGE_USERINFO);
            }
            d.Click(ID_CANCEL);
        });
        if (c.logged) {
            const std::string line = LogLine(host.Log(), c.logged);
            EXPECT_EQ(0u, line.find("1 | ")) << line;
            EXPECT_NE(std::string::npos, line.find("| KVCountryCodesWrapper::Prepare | Cannot load " + library + ": "))
                << line;
            EXPECT_EQ(std::string::npos, line.find("%1")) << "the system's text names the file";
        } else {
            // The first page waited for none of it: the library started once the page was shown.
            EXPECT_NE(std::string::npos, KVTestCountryLibrary::Calls().find("KVCountryInit "));
            EXPECT_EQ(0, KVTestCountryLibrary::InitsBeforePage());
        }
        if (c.numbersWork) {
            EXPECT_EQ(kMsisdn, action.Msisdn);
            Step(host, KVResult(KVRESULT_REGISTERED), KVACTION_FINISHED);
        }
    }
}

}  // namespace
