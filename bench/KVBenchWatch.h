// The benchmark's clock and its watch over a window's thread: when a window (the wizard or the
// bare one) is ready for input, as its own thread sees it, and, for the trace, the messages
// that thread handles.
//   Census    the wizard's controls by kind, for the bare window to copy
//   Watch     what the hooked thread reports (one per process: hooks carry no context)
//   Watcher   hooks the thread of each new window of the two classes as it is created
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>

#include "register/model/KVModelCodes.h"
#include "register/view/KVFormComponents.h"
#include "register/view/KVViewMessages.h"

namespace kvbench {

inline const char kBareClass[] = "KVWizardBench Bare";

inline double NowUs() {
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perUs;
}

[[noreturn]] inline void Fail(const std::string& what) { throw std::runtime_error(what); }

// --- What the wizard window is made of ----------------------------------------------------------

struct ControlKind {
    const char* className;
    const char* name;
    int total = 0;
    int shown = 0;
};

// The wizard's controls by kind, counted on its first page, for the bare window to copy.
struct Census {
    ControlKind kinds[4] = {{"Static", "labels"}, {"Edit", "edits"}, {"ComboBox", "combo boxes"}, {"Button", "buttons"}};
    int others = 0;
    int listEntries = 0;
    int width = 0;
    int height = 0;

    void Take(HWND wizard) {
        RECT r{};
        GetWindowRect(wizard, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
        for (HWND child = GetWindow(wizard, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            ControlKind* kind = nullptr;
            for (ControlKind& k : kinds)
                if (_stricmp(k.className, name) == 0) kind = &k;
            if (!kind) {
                ++others;
                continue;
            }
            ++kind->total;
            if (IsWindowVisible(child)) ++kind->shown;
            if (kind == &kinds[2]) listEntries += static_cast<int>(SendMessageA(child, CB_GETCOUNT, 0, 0));
        }
    }

    void Print() const {
        std::printf("controls of the wizard (default register.cfg), shown on the first page of all:\n   ");
        for (const ControlKind& k : kinds) std::printf(" %d %s (%d shown),", k.total, k.name, k.shown);
        std::printf(" %d list entries, %d others; window %dx%d\n", listEntries, others, width, height);
    }
};

// --- Watching a window's thread -----------------------------------------------------------------

// What a watched thread must show before it counts as ready.
// FirstPageAnnounced: the first page, once the window's thread takes the model's notification
// of it; before that the step has not begun, and Next stays disabled whatever is typed.
enum class Want { Nothing, BareWindow, FirstPage, FirstPageAnnounced, UserInfoPage, ValidatePage };

inline bool IsShown(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    return control && IsWindowVisible(control);
}

inline bool IsShownAndEnabled(HWND window, int id) { return IsShown(window, id) && IsWindowEnabled(GetDlgItem(window, id)); }

// A page alone, ready for input: the other pages' buttons hidden too.
inline bool IsReady(Want want, HWND window) {
    if (!window || !IsWindowVisible(window)) return false;
    switch (want) {
    case Want::BareWindow: return true;
    case Want::FirstPage:
    case Want::FirstPageAnnounced:
        return IsShown(window, ID_QUERYREGISTER_NEXT) && !IsShown(window, ID_USERINFO_NEXT) &&
               !IsShown(window, ID_REGCODE) && IsShownAndEnabled(window, KVInputId(COMPONENT_MSISDN));
    case Want::UserInfoPage:
        return IsShown(window, ID_USERINFO_NEXT) && !IsShown(window, ID_QUERYREGISTER_NEXT) &&
               IsShownAndEnabled(window, KVInputId(COMPONENT_USERNAME));
    case Want::ValidatePage:
        return IsShownAndEnabled(window, ID_REGCODE) && !IsShown(window, ID_USERINFO_NEXT);
    case Want::Nothing: break;
    }
    return false;
}

struct TraceEntry {
    double us;
    UINT message;
    char kind;  // 'T' taken from the queue, 'S' sent message begins, 'R' sent message returns
    int depth;  // of sent messages being handled
};

// Hooks carry no context: the watched thread reports here. Only the messages a thread takes
// from its queue are watched: under Wine every hooked message costs a call into the server,
// and a window's thread takes few messages but is sent many. A window is ready when its thread
// comes back to its queue with the window ready, so the thread takes the time itself and
// nothing polls; the bare window and the wizard are watched alike.
struct Watch {
    std::atomic<HWND> window{nullptr};
    std::atomic<Want> want{Want::Nothing};
    std::atomic<double> readyAt{0};
    HANDLE ready = nullptr;
    std::atomic<Census*> census{nullptr};
    std::atomic<int> late{0};
    std::atomic<bool> tracing{false};
    // Sent messages too: a call into the server for each, so the times of their handling grow.
    std::atomic<bool> tracingSent{false};
    TraceEntry trace[8192];
    std::atomic<size_t> traced{0};
};
inline Watch g_watch;

inline thread_local int t_depth = 0;

inline void Trace(double now, UINT message, char kind) {
    if (!g_watch.tracing) return;
    const size_t at = g_watch.traced++;
    if (at < sizeof g_watch.trace / sizeof g_watch.trace[0]) g_watch.trace[at] = {now, message, kind, t_depth};
}

inline LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        Trace(NowUs(), reinterpret_cast<const CWPSTRUCT*>(lParam)->message, 'S');
        ++t_depth;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline LRESULT CALLBACK OnReturned(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        --t_depth;
        Trace(NowUs(), reinterpret_cast<const CWPRETSTRUCT*>(lParam)->message, 'R');
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline LRESULT CALLBACK OnTaken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        const double now = NowUs();
        Trace(now, msg->message, 'T');
        const Want want = g_watch.want;
        HWND window = g_watch.window;
        const bool announced = msg->message == KVWM_OBSERVER && msg->wParam == KVPages::PAGE_QUERYREGISTER;
        if (want != Want::Nothing && (want != Want::FirstPageAnnounced || announced) && IsReady(want, window) &&
            g_watch.want.exchange(Want::Nothing) == want) {
            g_watch.readyAt = now;
            if (Census* census = g_watch.census.exchange(nullptr)) census->Take(window);
            SetEvent(g_watch.ready);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Finds each new window of the wizard's or the bare class as the system reports it created and
// hooks its thread. The report is switched on for one window at a time and off at once, so
// that the windows' many other reports cost nothing.
class Watcher {
public:
    Watcher() {
        g_watch.ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        armed_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Run, this, 0, &threadId_);
        if (!g_watch.ready || !armed_ || !thread_) Fail("cannot start the watcher");
        WaitForSingleObject(armed_, INFINITE);
        s_self = this;
    }
    ~Watcher() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(armed_);
        Unhook();
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // The next window created gets watched for `want`.
    void ExpectWindow(Want want) {
        Unhook();
        g_watch.window = nullptr;
        Expect(want);
        PostThreadMessageA(threadId_, kArm, 0, 0);
        WaitForSingleObject(armed_, INFINITE);
    }
    // The window watched now, for a new state.
    void Expect(Want want) {
        ResetEvent(g_watch.ready);
        g_watch.want = want;
    }
    void Hook(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!hook_) hook_ = SetWindowsHookExA(WH_GETMESSAGE, &OnTaken, nullptr, thread);
        if (g_watch.tracingSent && !sent_[0]) {
            sent_[0] = SetWindowsHookExA(WH_CALLWNDPROC, &OnSent, nullptr, thread);
            sent_[1] = SetWindowsHookExA(WH_CALLWNDPROCRET, &OnReturned, nullptr, thread);
        }
        // A thread gone idle before its hook was set takes this and looks again.
        PostMessageA(g_watch.window, WM_NULL, 0, 0);
    }
    void Unhook() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (HHOOK* h : {&hook_, &sent_[0], &sent_[1]}) {
            if (*h) UnhookWindowsHookEx(*h);
            *h = nullptr;
        }
    }

private:
    static constexpr UINT kArm = WM_APP + 1;
    static DWORD WINAPI Run(LPVOID self) {
        static_cast<Watcher*>(self)->Loop();
        return 0;
    }
    void Loop() {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anything is posted
        SetEvent(armed_);
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kArm) {
                if (!events_)
                    events_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, &OnCreated,
                                              GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNTHREAD);
                SetEvent(armed_);
            }
            DispatchMessageA(&msg);
        }
        if (events_) UnhookWinEvent(events_);
    }
    static void CALLBACK OnCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
        Watcher& self = *s_self;
        if (!self.events_ || object != OBJID_WINDOW || !window || GetAncestor(window, GA_PARENT) != GetDesktopWindow())
            return;
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != kWizardClassName && std::string(name) != kBareClass) return;
        UnhookWinEvent(self.events_);
        self.events_ = nullptr;
        g_watch.window = window;
        // Never seen so far: the thread's work before its window is ready outlasts the report.
        if (IsReady(g_watch.want, window)) ++g_watch.late;
        self.Hook(GetWindowThreadProcessId(window, nullptr));
    }

    inline static Watcher* s_self = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE armed_ = nullptr;
    HWINEVENTHOOK events_ = nullptr;  // watcher thread only
    std::mutex mutex_;
    HHOOK hook_ = nullptr;
    HHOOK sent_[2] = {};
};

// Waits until the watched window is ready; the time its thread took.
inline double WaitReady(const char* what) {
    if (WaitForSingleObject(g_watch.ready, 30000) != WAIT_OBJECT_0) Fail(std::string("waited 30 s for ") + what);
    return g_watch.readyAt;
}

}  // namespace kvbench
