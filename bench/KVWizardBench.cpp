// How fast the wizard answers its host, against bare Win32 in the same run: from a run's first
// step to its first page shown and usable, and from a click on Next or Finish until the step
// returns. Not a test: run it by hand (see docs/benchmarks.md) and compare the printed ratios.
//   KVWizardBench.exe [runs]   the figures, each over `runs` runs (default 25)
//   KVWizardBench.exe trace    where the time goes: the wizard thread's messages in one run
//                              and the library's log at level 5
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/KVBenchWatch.h"
#include "driver/KVWizardDriver.h"
#include "include/KVRegisterApi.h"
#include "register/view/KVViewMessages.h"
#include "tests/support/KVTestEnv.h"

namespace {

using namespace kvbench;

const int kWarmUpRuns = 2;
const int kDefaultRuns = 25;
const int kRoundTripsPerRun = 100;

struct Summary {
    double median = 0;
    double lowQuartile = 0;
    double highQuartile = 0;
    size_t count = 0;
};

Summary Summarize(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1) + 0.5)]; };
    s.median = at(0.5);
    s.lowQuartile = at(0.25);
    s.highQuartile = at(0.75);
    return s;
}

void PrintFigure(const char* what, const Summary& s, const char* unit, double scale) {
    std::printf("%-42s median %9.1f %s  (quartiles %.1f-%.1f, %zu samples)\n", what, s.median / scale, unit,
                s.lowQuartile / scale, s.highQuartile / scale, s.count);
}

void PrintRatio(const char* what, double aim, const Summary& figure, const Summary& baseline) {
    const double ratio = figure.median / baseline.median;
    std::printf("time ratio %-24s (aim <= %.1f): %6.2f  %s\n", what, aim, ratio,
                ratio <= aim ? "met" : "missed");
}


// --- The installation the host runs from -------------------------------------------------------

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) Fail("no installation to copy in " + from);
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            Fail("cannot copy " + from + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// A copy of the built installation in a temporary folder with a registry key of its own
// (those of the tests' isolation, removed again at the end, the library's log with them).
class BenchInstallation {
public:
    // A log level above 0 is written for the library (its own default logs errors only).
    BenchInstallation(const std::string& source, DWORD logLevel) : folder_(env_.TempFolder() + "install") {
        CopyTree(source, folder_);
        env_.SetString(HKEY_CURRENT_USER, "", "InstallRoot", folder_);
        if (logLevel > 0) env_.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", logLevel);
    }
    BenchInstallation(const BenchInstallation&) = delete;
    BenchInstallation& operator=(const BenchInstallation&) = delete;

    const std::string& Folder() const { return folder_; }
    const std::string& KeyPath() const { return env_.KeyPath(); }

    // The library's logs (in the temporary folder's "Korvane"), to standard output.
    void PrintLogs() const {
        const std::string logs = env_.TempFolder() + "Korvane";
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((logs + "\\*.log").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            HANDLE file = CreateFileA((logs + "\\" + found.cFileName).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            char buffer[4096];
            DWORD read = 0;
            while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) std::fwrite(buffer, 1, read, stdout);
            CloseHandle(file);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

private:
    KVTestEnv env_;
    std::string folder_;
};

// KVRegister.dll as a host loads it: from the installation, by name, through its exports.
class Host {
public:
    Host(const std::string& folder, const std::string& keyPath) {
        module_ = LoadLibraryA((folder + "\\KVRegister.dll").c_str());
        if (!module_) Fail("cannot load KVRegister.dll from " + folder);
        using InitFn = int(__cdecl*)(const std::string&);
        const auto init = reinterpret_cast<InitFn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "KVRegisterInit")));
        internal_ = reinterpret_cast<InternalFn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "KVRegisterInternal")));
        if (!init || !internal_) Fail("KVRegister.dll lacks its exports");
        init(keyPath);
    }
    ~Host() { FreeLibrary(module_); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // One step; the action it asks for.
    int32_t Step(int32_t resultCode) {
        KVResultRecord result;
        result.Result = resultCode;
        internal_(&result, &action_);
        return action_.Action;
    }

private:
    using InternalFn = int(__cdecl*)(const KVResultRecord*, KVActionRecord*);
    HMODULE module_ = nullptr;
    InternalFn internal_ = nullptr;
    KVActionRecord action_;
};

// --- The bare Win32 baseline --------------------------------------------------------------------

// Set by the bare window's thread when one of its buttons reports a click.
HANDLE g_bareClicked = nullptr;

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        SetEvent(g_bareClicked);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct BareRequest {
    const Census* census;
    HWND window;
};

// The least a window thread does for the same controls: one class, one font, the controls of
// every kind (as many shown and hidden as the wizard has), the sorted list filled, shown.
DWORD WINAPI BareWindowThread(LPVOID param) {
    BareRequest& request = *static_cast<BareRequest*>(param);
    const Census& census = *request.census;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kBareClass, "Registration", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                  100, 100, census.width, census.height, nullptr, nullptr, instance, nullptr);
    request.window = window;
    if (!window) {
        // Nobody would see it ready: the wait ends here instead.
        g_watch.readyAt = NowUs();
        SetEvent(g_watch.ready);
        return 1;
    }
    HDC screen = GetDC(window);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, "Tahoma");
    ReleaseDC(window, screen);
    const DWORD styles[4] = {0, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                             WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT | CBS_HASSTRINGS, WS_TABSTOP};
    int id = 100;
    for (int k = 0; k < 4; ++k) {
        const ControlKind& kind = census.kinds[k];
        for (int i = 0; i < kind.total; ++i, ++id) {
            const DWORD style = WS_CHILD | styles[k] | (i < kind.shown ? WS_VISIBLE : 0);
            const int top = 20 + (i % 10) * 26;
            HWND control = CreateWindowExA(k == 1 ? WS_EX_CLIENTEDGE : 0, kind.className, k == 1 ? "" : "Label text",
                                           style, 20 + k * 100, top, 90, k == 2 ? 200 : 22, window,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
            if (!control) continue;
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            if (k == 2) {
                const int entries = census.listEntries / std::max(1, kind.total);
                for (int e = 0; e < entries; ++e) {
                    const std::string text = "Country " + std::to_string((e * 7919) % 1000);
                    SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
                }
            }
        }
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(font);
    return 0;
}

// From the request on the calling thread until the window is shown, in microseconds.
// With `clicks`, the window's first button is then clicked a few times, the focus in its first
// field before each: the time until the window's thread reports the click, for reference.
double BareFirstWindow(Watcher& watcher, const Census& census, std::vector<double>* clicks = nullptr) {
    BareRequest request{&census, nullptr};
    watcher.ExpectWindow(Want::BareWindow);
    const double start = NowUs();
    HANDLE thread = CreateThread(nullptr, 0, &BareWindowThread, &request, 0, nullptr);
    if (!thread) Fail("cannot start the bare window's thread");
    const double shown = WaitReady("the bare window") - start;
    if (!request.window) Fail("the bare window could not be created");
    HWND edit = GetWindow(request.window, GW_CHILD);
    while (edit && !(IsWindowVisible(edit) && (GetWindowLongA(edit, GWL_STYLE) & WS_TABSTOP))) edit = GetWindow(edit, GW_HWNDNEXT);
    HWND button = edit;
    while (button && !(IsWindowVisible(button) && GetDlgCtrlID(button) >= 100 + census.kinds[0].total +
                                                     census.kinds[1].total + census.kinds[2].total))
        button = GetWindow(button, GW_HWNDNEXT);
    for (int i = 0; clicks && edit && button && i < 3; ++i) {
        const DWORD me = GetCurrentThreadId(), it = GetWindowThreadProcessId(request.window, nullptr);
        AttachThreadInput(me, it, TRUE);
        SetFocus(edit);
        AttachThreadInput(me, it, FALSE);
        const double clicked = NowUs();
        PostMessageA(button, BM_CLICK, 0, 0);
        if (WaitForSingleObject(g_bareClicked, 30000) != WAIT_OBJECT_0) Fail("the bare button did not report its click");
        clicks->push_back(NowUs() - clicked);
    }
    PostMessageA(request.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return shown;
}

// A thread that answers every ping with a pong: the bare cross-thread round trip.
class Echo {
public:
    Echo() {
        ping_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        pong_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
        if (!ping_ || !pong_ || !thread_) Fail("cannot start the echo thread");
    }
    ~Echo() {
        stop_ = true;
        SetEvent(ping_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(pong_);
        CloseHandle(ping_);
    }
    Echo(const Echo&) = delete;
    Echo& operator=(const Echo&) = delete;

    double RoundTrip() {
        const double start = NowUs();
        SetEvent(ping_);
        WaitForSingleObject(pong_, INFINITE);
        return NowUs() - start;
    }

private:
    static DWORD WINAPI Run(LPVOID self) {
        Echo& echo = *static_cast<Echo*>(self);
        for (;;) {
            WaitForSingleObject(echo.ping_, INFINITE);
            if (echo.stop_) return 0;
            SetEvent(echo.pong_);
        }
    }
    HANDLE ping_ = nullptr;
    HANDLE pong_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
};

// --- The wizard, and a person at it --------------------------------------------------------------

// The shown control of an id (some ids serve two pages).
HWND ShownControl(HWND wizard, int id) {
    for (HWND child = GetWindow(wizard, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id && IsWindowVisible(child)) return child;
    return nullptr;
}

class WizardBench {
public:
    WizardBench(Host& host, Watcher& watcher) : host_(host), watcher_(watcher) {}

    // A run's first step until its first page is shown with its controls enabled; the run is
    // then cancelled as a person would. With a census, the wizard's controls are counted too.
    double FirstPage(Census* census = nullptr) {
        watcher_.ExpectWindow(Want::FirstPage);
        g_watch.census = census;
        const double start = NowUs();
        Step(KVRESULT_NONE, KVACTION_CANCEL, [] {
            WaitReady("the first page");
            PostMessageA(ShownControl(g_watch.window, ID_CANCEL), BM_CLICK, 0, 0);
        });
        return g_watch.readyAt - start;
    }

    // A whole sign-up: for the click on each page's Next or Finish, the time until its step
    // returns, added to clicks[0] to clicks[2].
    void SignUp(std::vector<double> clicks[3]) {
        watcher_.ExpectWindow(Want::FirstPageAnnounced);
        clicks_.clear();
        // Only for the sign-up: the driver's reports of new windows would slow a first page.
        KVWizardDriver driver;
        driver_ = &driver;
        clicks[0].push_back(ClickAndStep(KVRESULT_NONE, KVACTION_QUERYREGISTER, ID_QUERYREGISTER_NEXT, [](KVWizardDriver& d) {
            d.Type(KVInputId(COMPONENT_MSISDN), "+4791234567");
            d.Type(KVInputId(COMPONENT_USEREMAIL), "kari@example.no");
            d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), "kari@example.no");
        }));
        RewatchFor(Want::UserInfoPage);
        clicks[1].push_back(ClickAndStep(KVRESULT_QUERIEDREGISTER, KVACTION_REGISTER, ID_USERINFO_NEXT, [](KVWizardDriver& d) {
            d.Type(KVInputId(COMPONENT_USERNAME), "Kari Nordmann");
            d.Type(KVInputId(COMPONENT_USERPASSWORD), "hemmelig");
        }));
        RewatchFor(Want::ValidatePage);
        clicks[2].push_back(ClickAndStep(KVRESULT_VALIDATE, KVACTION_VALIDATE, ID_VALIDATE_FINISH,
                                         [](KVWizardDriver& d) { d.Type(ID_REGCODE, "4711"); }));
        // Registered without an information text: the run ends at once.
        Step(KVRESULT_REGISTERED, KVACTION_FINISHED, nullptr);
        driver_ = nullptr;
    }

    // While tracing, the wizard's thread stays watched through the clicks.
    void KeepWatchingClicks(bool keep) { keepWatching_ = keep; }
    struct Click {
        double clicked;
        double returned;
    };
    // The clicks of the last sign-up.
    const std::vector<Click>& Clicks() const { return clicks_; }

private:
    void RewatchFor(Want want) {
        watcher_.Expect(want);
        watcher_.Hook(GetWindowThreadProcessId(g_watch.window, nullptr));
    }

    // The person types with the driver, which then takes its hooks off: nothing but the
    // benchmark's own watch (and that only while tracing) sees the click.
    double ClickAndStep(int32_t result, int32_t expected, int button, const KVWizardDriver::Script& fill) {
        Step(result, expected, [&] {
            WaitReady("the page of the step");
            driver_->Play([&](KVWizardDriver& d) {
                fill(d);
                d.Settle();
                if (!d.IsEnabled(button)) throw KVDriverError("control " + std::to_string(button) + " is disabled");
                d.StopWatching();
            });
            const std::string failed = driver_->Await();
            if (!failed.empty()) Fail(failed);
            HWND target = ShownControl(g_watch.window, button);
            if (!keepWatching_) watcher_.Unhook();
            clicked_ = NowUs();
            PostMessageA(target, BM_CLICK, 0, 0);
        });
        const double returned = NowUs();
        clicks_.push_back({clicked_, returned});
        return returned - clicked_;
    }

    // One step of the host while `person` plays the user on a thread of its own. A person who
    // fails closes the wizard, so that the step returns, and the failure is reported.
    void Step(int32_t result, int32_t expected, const std::function<void()>& person) {
        std::string failure;
        std::thread user;
        if (person)
            user = std::thread([&] {
                try {
                    person();
                } catch (const std::exception& e) {
                    failure = e.what();
                    PostMessageA(g_watch.window, WM_SYSCOMMAND, SC_CLOSE, 0);
                }
            });
        const int32_t action = host_.Step(result);
        if (user.joinable()) user.join();
        if (!failure.empty()) Fail(failure);
        if (action != expected)
            Fail("a step asked for action " + std::to_string(action) + ", not " + std::to_string(expected));
    }

    Host& host_;
    Watcher& watcher_;
    KVWizardDriver* driver_ = nullptr;
    bool keepWatching_ = false;
    double clicked_ = 0;
    std::vector<Click> clicks_;
};

void RegisterBareClass() {
    WNDCLASSA bare{};
    bare.lpfnWndProc = &BareWindowProc;
    bare.hInstance = GetModuleHandleA(nullptr);
    bare.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    bare.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    bare.lpszClassName = kBareClass;
    if (!RegisterClassA(&bare)) Fail("cannot register the bare window's class");
    g_bareClicked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

// --- Where the time goes ------------------------------------------------------------------------

const char* MessageName(UINT message) {
    switch (message) {
    case WM_NULL: return "WM_NULL";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_PAINT: return "WM_PAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_CTLCOLORSTATIC: return "WM_CTLCOLORSTATIC";
    case WM_CTLCOLOREDIT: return "WM_CTLCOLOREDIT";
    case WM_CTLCOLORBTN: return "WM_CTLCOLORBTN";
    case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case BM_CLICK: return "BM_CLICK";
    case BM_SETSTATE: return "BM_SETSTATE";
    case BM_SETSTYLE: return "BM_SETSTYLE";
    case EM_SETSEL: return "EM_SETSEL";
    case KVWM_OBSERVER: return "KVWM_OBSERVER (model notification)";
    case KVWM_SHOW: return "KVWM_SHOW (show the model's page)";
    default: return nullptr;
    }
}

// The wizard thread's messages traced between `from` and `to`, sent ones nested as handled and
// with the time their handling took.
void PrintTrace(double from, double to, int maxDepth) {
    const size_t count = std::min(g_watch.traced.load(), sizeof g_watch.trace / sizeof g_watch.trace[0]);
    for (size_t i = 0; i < count; ++i) {
        const TraceEntry& e = g_watch.trace[i];
        if (e.us < from || e.us > to || e.kind == 'R' || e.depth > maxDepth) continue;
        double took = -1;
        if (e.kind == 'S')
            for (size_t j = i + 1; j < count && took < 0; ++j)
                if (g_watch.trace[j].kind == 'R' && g_watch.trace[j].depth == e.depth) took = g_watch.trace[j].us - e.us;
        char name[16];
        const char* known = MessageName(e.message);
        if (!known) std::snprintf(name, sizeof name, "0x%04x", e.message);
        std::printf("  %+9.3f ms  %*s%s %s", (e.us - from) / 1000, e.depth * 2, "", e.kind == 'T' ? "taken" : "sent",
                    known ? known : name);
        if (took >= 0) std::printf(", %.3f ms", took / 1000);
        std::printf("\n");
    }
}

void RunTrace(const BenchInstallation& installation, WizardBench& wizard) {
    Census census;
    wizard.FirstPage(&census);
    wizard.FirstPage();
    g_watch.tracing = true;
    g_watch.traced = 0;
    const double start = NowUs();
    const double page = wizard.FirstPage();
    std::printf("first page after %.3f ms; taken from the wizard thread's queue since the step began:\n",
                page / 1000);
    PrintTrace(start, start + page, 0);

    wizard.KeepWatchingClicks(true);
    g_watch.tracingSent = true;
    std::vector<double> clicks[3];
    g_watch.traced = 0;
    wizard.SignUp(clicks);
    g_watch.tracing = false;
    const char* buttons[3] = {"Next on the query page", "Next on the user-info page", "Finish"};
    for (size_t i = 0; i < wizard.Clicks().size() && i < 3; ++i) {
        const WizardBench::Click& c = wizard.Clicks()[i];
        std::printf("%s clicked, the step returned %.3f ms later; the wizard thread meanwhile (its sent "
                    "messages hooked as well, which makes them slower):\n",
                    buttons[i], (c.returned - c.clicked) / 1000);
        PrintTrace(c.clicked, c.returned, 4);
    }
    std::printf("clicks until their steps returned: Next %.3f ms, Next %.3f ms, Finish %.3f ms\n",
                clicks[0][0] / 1000, clicks[1][0] / 1000, clicks[2][0] / 1000);
    std::printf("the library's log (LogLevel 5) of the last runs:\n");
    std::fflush(stdout);
    installation.PrintLogs();
}

void Run(int runs, bool trace) {
    BenchInstallation installation(KV_INSTALL_ROOT, trace ? 5 : 0);
    std::optional<Host> host;
    host.emplace(installation.Folder(), installation.KeyPath());
    Watcher watcher;
    WizardBench wizard(*host, watcher);
    RegisterBareClass();
    if (trace) {
        RunTrace(installation, wizard);
        return;
    }

    // Warm-up: the language files are read once per load of the library.
    Census census;
    wizard.FirstPage(&census);
    for (int i = 1; i < kWarmUpRuns; ++i) wizard.FirstPage();
    BareFirstWindow(watcher, census);
    census.Print();

    // The two sides alternate, so that both see the same load on the shared machine.
    std::vector<double> firstPage, bareWindow;
    for (int i = 0; i < runs; ++i) {
        bareWindow.push_back(BareFirstWindow(watcher, census));
        firstPage.push_back(wizard.FirstPage());
    }
    std::vector<double> clicks[3], allClicks, roundTrips, bareClicks;
    {
        Echo echo;
        for (int i = 0; i < runs; ++i) {
            for (int j = 0; j < kRoundTripsPerRun; ++j) roundTrips.push_back(echo.RoundTrip());
            wizard.SignUp(clicks);
            BareFirstWindow(watcher, census, &bareClicks);
        }
    }
    for (const std::vector<double>& each : clicks) allClicks.insert(allClicks.end(), each.begin(), each.end());

    // The first step of a library the host has only just loaded, as a host that loads it for
    // one sign-up has it: the language files and the country-code library are not there yet.
    // The library of the runs above goes first, so that each run loads it anew.
    host.reset();
    std::vector<double> freshPage, freshBare;
    for (int i = 0; i < runs; ++i) {
        freshBare.push_back(BareFirstWindow(watcher, census));
        Host fresh(installation.Folder(), installation.KeyPath());
        freshPage.push_back(WizardBench(fresh, watcher).FirstPage());
    }

    const Summary page = Summarize(firstPage), bare = Summarize(bareWindow);
    const Summary click = Summarize(allClicks), trip = Summarize(roundTrips);
    PrintFigure("first step until its page is shown:", page, "ms", 1000);
    PrintFigure("bare window with the same controls:", bare, "ms", 1000);
    PrintRatio("first page / bare", 1.3, page, bare);
    const Summary fresh = Summarize(freshPage), freshBareWindow = Summarize(freshBare);
    PrintFigure("the same, the library just loaded:", fresh, "ms", 1000);
    PrintFigure("bare window, alternating with it:", freshBareWindow, "ms", 1000);
    std::printf("time ratio first page / bare, library just loaded: %6.2f\n", fresh.median / freshBareWindow.median);
    PrintFigure("click until the step returns, all:", click, "us", 1);
    PrintFigure("  Next on the query page:", Summarize(clicks[0]), "us", 1);
    PrintFigure("  Next on the user-info page:", Summarize(clicks[1]), "us", 1);
    PrintFigure("  Finish on the validation page:", Summarize(clicks[2]), "us", 1);
    PrintFigure("bare cross-thread event round trip:", trip, "us", 1);
    PrintRatio("click / round trip", 2.0, click, trip);
    const Summary bareClick = Summarize(bareClicks);
    PrintFigure("for reference, a bare window's button:", bareClick, "us", 1);
    std::printf("time ratio click / bare button click:           %6.2f\n", click.median / bareClick.median);
    if (g_watch.late > 0) std::printf("(%d windows were watched too late to time)\n", g_watch.late.load());
}

}  // namespace

int main(int argc, char** argv) {
    const bool trace = argc > 1 && std::string(argv[1]) == "trace";
    const int runs = argc > 1 && !trace ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    try {
        Run(runs, trace);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "KVWizardBench: %s\n", e.what());
        return 1;
    }
    return 0;
}
