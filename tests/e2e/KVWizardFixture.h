// What the end-to-end suites share: a host making the steps on the test's thread while the
// wizard driver plays the user at the real window on its own.
//   KVWizardFixture   one test's environment, its freshly loaded DLL, the driver, and a step
//                     of the host with the user's moves played meanwhile
//   KVHostWindow      a window of the host on the thread that makes the steps
//   KVWizardThreadHook  a hook on a wizard's thread that sees each message it takes while it lives
//   ProcessFigures    the process's handle counts, committed private memory and threads when made
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/KVWizardDriver.h"
#include "tests/e2e/KVWizardHost.h"

inline constexpr char kMsisdn[] = "+4791234567";
inline constexpr char kEmail[] = "kari@example.no";
inline constexpr char kInvalidMsisdn[] = "The given phone number not a valid mobile phone number.";

// Mobile number, e-mail (both required) and confirmation on the query page; a text line, the
// name (required), the password and the country list on the user-info page.
inline std::vector<std::string> TwoPages() {
    return {"460,360",
            "8,9,16,1,11,12,15",
            "1,2,1",
            "20,80,150,100,1,160,78,420,100,0",
            "20,110,150,130,1,160,108,420,130,0",
            "20,140,150,160,0,160,138,420,160,0",
            "20,62,420,76,1",
            "20,80,150,100,1,160,78,420,100,1",
            "20,110,150,130,0,160,108,420,130,1",
            "20,140,150,160,160,138,420,260,1"};
}

// One form page: number and addresses, the name (required).
inline std::vector<std::string> OnePage() {
    return {"460,360",
            "8,9,16,11",
            "2,1",
            "20,80,150,100,1,160,78,420,100,0",
            "20,110,150,130,1,160,108,420,130,0",
            "20,140,150,160,0,160,138,420,160,0",
            "20,170,150,190,1,160,168,420,190,0"};
}

inline std::vector<std::string> CountryPage() {
    return {"460,360", "8,15", "1,1", "20,80,150,100,0,160,78,420,100,0", "20,110,150,130,160,108,420,300,0"};
}

// The first form page, which starts empty, filled in: the query page of TwoPages(), or the one
// page of OnePage(), which takes the name too.
inline void FillFirstPage(KVWizardDriver& d, bool queryPage) {
    d.WaitForPage(queryPage ? KVPages::PAGE_QUERYREGISTER : KVPages::PAGE_USERINFO);
    EXPECT_EQ("", d.Text(KVInputId(COMPONENT_MSISDN))) << "a new run starts with an empty page";
    d.Type(KVInputId(COMPONENT_MSISDN), kMsisdn);
    d.Type(KVInputId(COMPONENT_USEREMAIL), kEmail);
    d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), kEmail);
    if (!queryPage) d.Type(KVInputId(COMPONENT_USERNAME), "Kari Nordmann");
}

inline void CancelOnPage(KVWizardDriver& d, KVPages::Page page) {
    d.WaitForPage(page);
    d.Click(ID_CANCEL);
}

// A picture of the wizard as `name`.png in `folder`, which is made when missing.
inline void SavePage(KVWizardDriver& d, const std::string& name, const std::string& folder = KV_PAGES_DIR) {
    CreateDirectoryA(folder.c_str(), nullptr);
    d.SavePng(folder + "/" + name + ".png");
}

inline size_t Count(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

// The first line of the log that holds `text`; empty when none does.
inline std::string LogLine(const std::string& log, const std::string& text) {
    const size_t at = log.find(text);
    if (at == std::string::npos) return std::string();
    const size_t begin = log.rfind('\n', at) + 1;  // 0 for the first line
    return log.substr(begin, log.find('\n', at) - begin);
}

// A window of the host, made on the thread that makes the steps: a step that waits still
// dispatches its paint. Each paint takes `paintMs`, is counted and wakes the driver given.
class KVHostWindow {
public:
    // A system static window given this class's procedure: the host needs no class of its own.
    KVHostWindow(DWORD style, RECT place, DWORD paintMs = 0)
        : paintMs_(paintMs),
          window_(CreateWindowExA(0, "STATIC", "Host", style, place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, nullptr, nullptr, nullptr, nullptr)) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    }
    ~KVHostWindow() { DestroyWindow(window_); }
    KVHostWindow(const KVHostWindow&) = delete;
    KVHostWindow& operator=(const KVHostWindow&) = delete;

    HWND Handle() const { return window_; }

    std::atomic<int> paints{0};
    KVWizardDriver* wake = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<KVHostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_PAINT || !self) return DefWindowProcA(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        Sleep(self->paintMs_);
        EndPaint(window, &paint);
        ++self->paints;
        if (self->wake) self->wake->Wake();
        return 0;
    }

    const DWORD paintMs_;
    const HWND window_;
};

// A hook on a wizard's thread that hands each message the thread takes off its queue to
// `taken`, while it lives. One lives at a time.
class KVWizardThreadHook {
public:
    KVWizardThreadHook(DWORD thread, std::function<void(const MSG&)> taken)
        : hook_(SetWindowsHookExA(WH_GETMESSAGE, &OnMessage, nullptr, thread)), taken_(std::move(taken)) {
        if (!hook_) throw KVDriverError("cannot hook the wizard's thread");
        current_ = this;
    }
    ~KVWizardThreadHook() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    KVWizardThreadHook(const KVWizardThreadHook&) = delete;
    KVWizardThreadHook& operator=(const KVWizardThreadHook&) = delete;

private:
    static LRESULT CALLBACK OnMessage(int code, WPARAM removed, LPARAM lParam) {
        if (code == HC_ACTION && removed == PM_REMOVE && current_) current_->taken_(*reinterpret_cast<MSG*>(lParam));
        return CallNextHookEx(nullptr, code, removed, lParam);
    }

    static inline KVWizardThreadHook* current_ = nullptr;
    HHOOK hook_ = nullptr;
    std::function<void(const MSG&)> taken_;
};

class KVWizardFixture : public ::testing::Test {
protected:
    // The user's moves, played by the driver while the host's thread makes a step.
    void PlayUser(KVWizardDriver::Script user) {
        const DWORD hostThread = GetCurrentThreadId();
        driver.Play([hostThread, user](KVWizardDriver& d) {
            d.WatchThread(hostThread);
            if (user) user(d);
        });
    }

    // One step of the host with `user` played meanwhile; the script must run through and the
    // step give the action `expected` (-1 takes any). A step returns 1 with KVACTION_ERROR.
    const KVActionRecord& Step(KVWizardHost& host, const KVResultRecord& result, int expected = -1,
                               KVWizardDriver::Script user = nullptr) {
        stepEnded_ = false;
        action.Action = -1;
        PlayUser(user);
        const int returned = host.Step(result, action);
        stepEnded_ = true;
        driver.Wake();
        EXPECT_EQ("", driver.Await());
        if (expected >= 0) {
            EXPECT_EQ(expected, action.Action);
        }
        EXPECT_EQ(action.Action == KVACTION_ERROR ? 1 : 0, returned);
        return action;
    }

    // A step whose page the user cancels.
    void CancelStep(KVWizardHost& host, const KVResultRecord& result, KVPages::Page page) {
        Step(host, result, KVACTION_CANCEL, [page](KVWizardDriver& d) { CancelOnPage(d, page); });
    }

    // For input that may or may not be usable: a page that shows is cancelled, and a step
    // that ends without one is fine.
    KVWizardDriver::Script CancelIfAPageShows(bool pageExpected) {
        return [this, pageExpected](KVWizardDriver& d) {
            d.WaitUntil("a page, or the end of the step", [this, &d] {
                return stepEnded_.load() || (d.Wizard() && d.Page() != KVPages::PAGE_NONE);
            });
            if (stepEnded_) return;
            if (!pageExpected) ADD_FAILURE() << "the wizard showed " << KVNamesOf(d.Page()).constant;
            d.Click(ID_CANCEL);
        };
    }

    // A freshly loaded DLL whose installation holds `config` as register.cfg (none when
    // empty), and `language` as register.lang when given.
    KVWizardHost& Install(const std::vector<std::string>& config, const std::vector<std::string>& language = {},
                          const std::string& countryLibrary = "real") {
        host_.reset();  // its DLL holds the country library that the next one replaces
        host_ = std::make_unique<KVWizardHost>(env, countryLibrary);
        if (config.empty())
            host_->RemoveFile("register.cfg");
        else
            host_->WriteFile("register.cfg", config);
        if (!language.empty()) host_->WriteFile("register.lang", language);
        host_->Load();
        return *host_;
    }

    // The first step of a run, its first form page filled in and sent.
    void SubmitFirstPage(KVWizardHost& host, bool queryPage) {
        Step(host, KVResult(KVRESULT_NONE), queryPage ? KVACTION_QUERYREGISTER : KVACTION_REGISTER,
             [queryPage](KVWizardDriver& d) {
                 FillFirstPage(d, queryPage);
                 d.Click(queryPage ? ID_QUERYREGISTER_NEXT : ID_USERINFO_NEXT);
             });
    }

    void ExpectFileError(KVWizardHost& host, const std::string& logLine) {
        const KVActionRecord& a = Step(host, KVResult(KVRESULT_NONE), KVACTION_ERROR, CancelIfAPageShows(false));
        EXPECT_EQ("errMissingOrCorruptFile", a.ErrorKey);
        EXPECT_NE(std::string::npos, host.Log().find(logLine)) << logLine;
    }

    KVTestEnv env;
    std::unique_ptr<KVWizardHost> host_;
    KVWizardDriver driver;
    KVActionRecord action;
    std::atomic<bool> stepEnded_{false};
};

struct ProcessFigures {
    KVHandleCounts handles = KVHandleCounts::Now();
    size_t privateBytes = 0;
    int threads = 0;

    ProcessFigures() {
        // Wine answers PrivateUsage with 0, so the committed private pages are counted directly.
        MEMORY_BASIC_INFORMATION region{};
        for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) privateBytes += region.RegionSize;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
        CloseHandle(snapshot);
    }
    // Growth beyond these margins is a leak: a run makes some sixty drawing objects, so a
    // leak of any of them over many runs shows as hundreds, while Wine adds a few objects of
    // its own now and then (up to 28 over 190 runs seen on a loaded machine, none on a quiet one).
    void ExpectNoGrowthSince(const ProcessFigures& before) const {
        EXPECT_LE(handles.kernel, before.handles.kernel + 10);
        EXPECT_LE(handles.gdi, before.handles.gdi + 40);
        EXPECT_LE(handles.user, before.handles.user + 5);
        EXPECT_LE(privateBytes, before.privateBytes + 4 * 1024 * 1024);
        EXPECT_LE(threads, before.threads + 1);
    }
    void Print(const char* when) const {
        std::printf("%s: %lu kernel, %lu GDI, %lu USER handles, %zu KB private, %d threads\n", when,
                    handles.kernel, handles.gdi, handles.user, privateBytes / 1024, threads);
    }
};
