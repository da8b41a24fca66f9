#include "driver/KVWizardDriver.h"

#include <atomic>
#include <cctype>
#include <mutex>

#include "driver/KVWindowText.h"
#include "register/view/KVViewMessages.h"

namespace {

const char kMessageBoxClass[] = "#32770";
const int kMessageBoxText = 0xFFFF;

// Hooks carry no context: the procedures below report to the one driver of the process.
std::mutex g_mutex;
HANDLE g_changed = nullptr;
UINT g_settleMessage = 0;
std::atomic<uint32_t> g_settlePosted{0};
std::atomic<uint32_t> g_settleSeen{0};
// How often a wizard has emptied its fields after a message box.
std::atomic<uint32_t> g_fieldsEmptied{0};
thread_local KVWizardDriver* t_driver = nullptr;

void ReportChange() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_changed) SetEvent(g_changed);
}

// Wine 8 reports no show, hide, state or name events for child controls (only creation and
// focus), so the driver watches the messages that change what a person sees as the wizard's
// own threads handle them.
LRESULT CALLBACK OnMessageHandled(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        switch (reinterpret_cast<const CWPRETSTRUCT*>(lParam)->message) {
        case KVWM_CLEARFIELDS:
            ++g_fieldsEmptied;
            ReportChange();
            break;
        case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGED:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_SETFOCUS:
        case WM_NCDESTROY:
        case CB_ADDSTRING:
        case CB_SETCURSEL:
        case CB_RESETCONTENT:
            ReportChange();
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The settle marker: everything posted to the thread before it has been taken from the queue
// once the thread takes the marker. The window never sees it.
LRESULT CALLBACK OnMessageTaken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (g_settleMessage != 0 && msg->message == g_settleMessage) {
            uint32_t seen = g_settleSeen.load();
            const uint32_t marker = static_cast<uint32_t>(msg->wParam);
            while (seen < marker && !g_settleSeen.compare_exchange_weak(seen, marker)) {
            }
            msg->message = WM_NULL;
            ReportChange();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OfThisProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

struct TopLevelSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    TopLevelSearch* search = reinterpret_cast<TopLevelSearch*>(param);
    if (OfThisProcess(window) && KVWindowClass(window) == search->className) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevel(const char* className) {
    TopLevelSearch search{className, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Keeps the driver's thread attached to the input of the wizard's thread while a person's
// move needs the shared focus and key state.
class AttachedInput {
public:
    explicit AttachedInput(HWND window)
        : other_(GetWindowThreadProcessId(window, nullptr)),
          attached_(other_ != GetCurrentThreadId() && AttachThreadInput(GetCurrentThreadId(), other_, TRUE)) {}
    ~AttachedInput() {
        if (attached_) AttachThreadInput(GetCurrentThreadId(), other_, FALSE);
    }
    AttachedInput(const AttachedInput&) = delete;
    AttachedInput& operator=(const AttachedInput&) = delete;

private:
    DWORD other_;
    bool attached_;
};

// The control of each page that is enabled exactly while the page takes input.
int PageMarker(KVPages::Page page) {
    switch (page) {
    case KVPages::PAGE_QUERYREGISTER: return ID_QUERYREGISTER_SUBTITLE;
    case KVPages::PAGE_USERINFO: return ID_USERINFO_SUBTITLE;
    case KVPages::PAGE_PENDING: return ID_PENDING_SUBTITLE;
    case KVPages::PAGE_VALIDATE: return ID_REGCODE;
    case KVPages::PAGE_REGISTERINFO: return ID_VALIDATE_FINISH;
    case KVPages::PAGE_NONE: break;
    }
    return 0;
}

}  // namespace

KVWizardDriver::KVWizardDriver() {
    work_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    done_ = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    changed_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!work_ || !done_ || !changed_) throw KVDriverError("cannot create the driver's events");
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_changed = changed_;
        g_settleMessage = RegisterWindowMessageA("KVWizardDriver.Settle");
    }
    thread_ = CreateThread(nullptr, 0, &ThreadMain, this, 0, &threadId_);
    if (!thread_) throw KVDriverError("cannot start the driver's thread");
}

KVWizardDriver::~KVWizardDriver() {
    WaitForSingleObject(done_, INFINITE);
    stop_ = true;
    SetEvent(work_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_changed == changed_) g_changed = nullptr;
    }
    CloseHandle(changed_);
    CloseHandle(done_);
    CloseHandle(work_);
}

void KVWizardDriver::Play(Script script) {
    // One script at a time: the next waits for the last one to end.
    WaitForSingleObject(done_, INFINITE);
    script_ = std::move(script);
    failure_.clear();
    ResetEvent(done_);
    SetEvent(work_);
}

std::string KVWizardDriver::Await(uint32_t timeoutMs) {
    if (WaitForSingleObject(done_, timeoutMs) != WAIT_OBJECT_0)
        return "the driver's script did not end within " + std::to_string(timeoutMs) + " ms";
    return failure_;
}

DWORD WINAPI KVWizardDriver::ThreadMain(LPVOID self) {
    static_cast<KVWizardDriver*>(self)->Run();
    return 0;
}

void KVWizardDriver::Run() {
    t_driver = this;
    WatchEvents();
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &work_, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            if (stop_) break;
            RunScript(script_);
            script_ = nullptr;
            Unwatch(true);
            SetEvent(done_);
        } else {
            Pump();
        }
    }
    StopWatching();
    t_driver = nullptr;
}

void KVWizardDriver::WatchEvents() {
    // Creation of windows (the wizard, message boxes) and focus changes are reported by the
    // system; they arrive as messages of this thread, so every wait pumps.
    if (!winEvents_)
        winEvents_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS, nullptr, &OnWinEvent,
                                     GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNTHREAD);
}

void KVWizardDriver::RunScript(const Script& script) {
    timeoutMs_ = kDefaultTimeoutMs;
    WatchEvents();
    try {
        if (script) script(*this);
        return;
    } catch (const std::exception& e) {
        failure_ = e.what();
    } catch (...) {
        failure_ = "the script failed with an unknown exception";
    }
    try {
        Rescue();
    } catch (...) {
        // The failure is reported already; a rescue that fails adds nothing to it.
    }
}

void KVWizardDriver::Rescue() {
    // A step of the host waits for the user without a time limit: close what could hold it.
    for (HWND box : MessageBoxes()) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    if (HWND wizard = FindWizard()) PostMessageA(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void KVWizardDriver::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void CALLBACK KVWizardDriver::OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG,
                                         DWORD, DWORD) {
    // A new top-level window (the wizard, a message box) gets watched before it is shown.
    if (event == EVENT_OBJECT_CREATE && object == OBJID_WINDOW && window && t_driver &&
        GetAncestor(window, GA_PARENT) == GetDesktopWindow()) {
        const std::string name = KVWindowClass(window);
        if (name == kWizardClassName || name == kMessageBoxClass) {
            t_driver->Watch(window);
            // The event arrives late: the window may have been shown before the hooks were
            // set, and then no later change would wake a waiting script.
            ReportChange();
        }
    }
}

void KVWizardDriver::StopWatching() {
    Unwatch(false);
    if (winEvents_) UnhookWinEvent(winEvents_);
    winEvents_ = nullptr;
    wizard_ = nullptr;
}

void KVWizardDriver::Watch(HWND window) { WatchThread(GetWindowThreadProcessId(window, nullptr)); }

void KVWizardDriver::WatchThread(DWORD thread) {
    if (thread == 0 || thread == threadId_ || hooks_.count(thread)) return;
    std::vector<HHOOK>& hooks = hooks_[thread];
    if (HHOOK h = SetWindowsHookExA(WH_CALLWNDPROCRET, &OnMessageHandled, nullptr, thread)) hooks.push_back(h);
    if (HHOOK h = SetWindowsHookExA(WH_GETMESSAGE, &OnMessageTaken, nullptr, thread)) hooks.push_back(h);
}

void KVWizardDriver::Unwatch(bool onlyEndedThreads) {
    for (auto it = hooks_.begin(); it != hooks_.end();) {
        bool ended = true;
        if (onlyEndedThreads) {
            if (HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, it->first)) {
                ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
                CloseHandle(thread);
            }
        }
        if (!ended) {
            ++it;
            continue;
        }
        for (HHOOK h : it->second) UnhookWindowsHookEx(h);
        it = hooks_.erase(it);
    }
}

HWND KVWizardDriver::FindWizard() {
    // A wizard that was hidden (a window left behind by an earlier run) is no longer the one
    // a person works with.
    if (wizard_ && IsWindow(wizard_) && IsWindowVisible(wizard_)) return wizard_;
    wizard_ = nullptr;
    for (HWND window : TopLevel(kWizardClassName)) {
        Watch(window);
        if (IsWindowVisible(window)) wizard_ = window;
    }
    return wizard_;
}

HWND KVWizardDriver::Wizard() { return FindWizard(); }

HWND KVWizardDriver::WaitForWizard() {
    WaitUntil("the wizard window (class \"KV Registration\") to be shown", [this] { return FindWizard() != nullptr; });
    return wizard_;
}

void KVWizardDriver::WaitForWizardGone() {
    WaitUntil("the wizard window to close", [this] { return TopLevel(kWizardClassName).empty(); });
}

std::vector<HWND> KVWizardDriver::Controls(int id) {
    std::vector<HWND> found;
    HWND wizard = FindWizard();
    if (!wizard) return found;
    for (HWND child = GetWindow(wizard, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id) found.push_back(child);
    return found;
}

HWND KVWizardDriver::Visible(int id, const char* className) {
    HWND first = nullptr;
    for (HWND control : Controls(id)) {
        if (className && _stricmp(KVWindowClass(control).c_str(), className) != 0) continue;
        if (IsWindowVisible(control)) return control;
        if (!first) first = control;
    }
    return first;
}

KVPages::Page KVWizardDriver::Page() {
    if (IsVisible(ID_QUERYREGISTER_NEXT)) return KVPages::PAGE_QUERYREGISTER;
    if (IsVisible(ID_USERINFO_NEXT)) return KVPages::PAGE_USERINFO;
    if (IsVisible(ID_PENDING_TEXT1) || IsVisible(ID_PENDING_TEXT2)) return KVPages::PAGE_PENDING;
    if (IsVisible(ID_REGCODE)) return KVPages::PAGE_VALIDATE;
    if (IsVisible(ID_VALIDATE_FINISH)) return KVPages::PAGE_REGISTERINFO;
    return KVPages::PAGE_NONE;
}

KVPages::Page KVWizardDriver::ReadyPage() {
    if (!FindWizard()) return KVPages::PAGE_NONE;
    const KVPages::Page page = Page();
    // A page switch hides and shows the controls one by one, and this thread may look in the
    // middle of it: the marker is among the first a page shows and the buttons the last.
    const int marker = PageMarker(page);
    return page != KVPages::PAGE_NONE && IsVisible(marker) && IsEnabled(marker) ? page : KVPages::PAGE_NONE;
}

void KVWizardDriver::WaitForPage(KVPages::Page page) {
    WaitForWizard();
    Settle();
    const std::string what = std::string(KVNamesOf(page).constant) + " to be shown with its controls enabled";
    auto ready = [this, page] { return ReadyPage() == page; };
    // A page is switched by several messages of the wizard's thread: what still holds once
    // the thread has handled everything queued is what a person gets to see.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs_;
    for (;;) {
        WaitUntil(what, ready, deadline);
        Settle();
        if (ready()) return;
    }
}

void KVWizardDriver::Settle() {
    HWND wizard = FindWizard();
    if (!wizard) return;
    const uint32_t marker = ++g_settlePosted;
    if (!PostMessageA(wizard, g_settleMessage, marker, 0)) return;
    WaitUntil("the wizard's thread to handle the messages queued for it", [this, wizard, marker] {
        return g_settleSeen.load() >= marker || !IsWindow(wizard);
    });
}

void KVWizardDriver::WaitUntil(const std::string& what, const std::function<bool()>& done) {
    WaitUntil(what, done, GetTickCount64() + timeoutMs_);
}

void KVWizardDriver::WaitUntil(const std::string& what, const std::function<bool()>& done, ULONGLONG deadline) {
    for (;;) {
        Pump();
        if (done()) return;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            throw KVDriverError("waited " + std::to_string(timeoutMs_) + " ms for " + what + "; " + Describe());
        MsgWaitForMultipleObjects(1, &changed_, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

void KVWizardDriver::Wake() { SetEvent(changed_); }

std::string KVWizardDriver::Describe() {
    std::string text = "the wizard shows ";
    text += FindWizard() ? KVNamesOf(Page()).constant : "no window";
    for (HWND box : MessageBoxes())
        if (IsWindowVisible(box)) text += ", a message box says \"" + KVWindowText(GetDlgItem(box, kMessageBoxText)) + "\"";
    return text;
}

HWND KVWizardDriver::Operable(int id, const char* className, const char* move) {
    const std::string what = std::string(move) + " control " + std::to_string(id);
    HWND control = nullptr;
    auto problem = [&]() -> const char* {
        HWND wizard = FindWizard();
        if (!wizard) return "no wizard window";
        control = Visible(id, className);
        if (!control || !IsWindowVisible(control)) return "not shown";
        if (!IsWindowEnabled(control)) return "disabled";
        if (!IsWindowEnabled(wizard)) return "the wizard is disabled";
        return nullptr;
    };
    const char* found = problem();
    if (found) {
        // Seen in the middle of a page switch, which shows and enables the controls one by
        // one, and while the wizard is built, when a page flickers between enabled and
        // disabled until the host's step reaches it: a person glances again a moment later.
        const uint32_t kGlanceMs = 2000;
        Settle();
        try {
            WaitUntil(what, [&] { return (found = problem()) == nullptr; }, GetTickCount64() + kGlanceMs);
        } catch (const KVDriverError&) {
        }
    }
    if (found) throw KVDriverError("cannot " + what + ": " + found + "; " + Describe());
    return control;
}

void KVWizardDriver::Type(int id, const std::string& text, bool leave) {
    HWND edit = Operable(id, "Edit", "type into");
    HWND wizard = FindWizard();
    {
        AttachedInput input(edit);
        SetFocus(edit);
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                                 timeoutMs_, &answer))
            throw KVDriverError("the wizard's thread did not take the text for control " + std::to_string(id));
        // Leaving the field is what hands its text to the model.
        HWND next = GetNextDlgTabItem(wizard, edit, FALSE);
        if (leave) SetFocus(next && next != edit ? next : wizard);
    }
    Settle();
}

void KVWizardDriver::Click(int id) {
    HWND button = Operable(id, "Button", "click");
    PostMessageA(button, BM_CLICK, 0, 0);
    Settle();
}

void KVWizardDriver::PostKey(UINT down, UINT up, WORD vk, LPARAM extra) {
    HWND wizard = FindWizard();
    if (!wizard) throw KVDriverError("cannot press a key: no wizard window");
    if (!IsWindowEnabled(wizard)) throw KVDriverError("cannot press a key: the wizard is disabled; " + Describe());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = wizard;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == wizard || IsChild(wizard, info.hwndFocus)))
        target = info.hwndFocus;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    // Only the key strokes: the thread's own translation makes the characters, as for a
    // person, so a key its accelerators take produces nothing else.
    PostMessageA(target, down, vk, 1 | scan | extra);
    PostMessageA(target, up, vk, 1 | scan | extra | 0xC0000000);
}

void KVWizardDriver::PressEnter() {
    PostKey(WM_KEYDOWN, WM_KEYUP, VK_RETURN, 0);
    Settle();
}

void KVWizardDriver::PressEscape() {
    PostKey(WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0);
    Settle();
}

void KVWizardDriver::PressTab() {
    PostKey(WM_KEYDOWN, WM_KEYUP, VK_TAB, 0);
    Settle();
}

void KVWizardDriver::PressAlt(char mnemonic) {
    HWND wizard = FindWizard();
    if (!wizard) throw KVDriverError("cannot press Alt: no wizard window");
    const SHORT scan = VkKeyScanA(static_cast<char>(std::tolower(static_cast<unsigned char>(mnemonic))));
    if (scan == -1) throw KVDriverError(std::string("no key makes the character ") + mnemonic);
    // The accelerator translation reads Alt from the key state, which the attached threads
    // share; it stays down until the wizard's thread has handled the key.
    AttachedInput input(wizard);
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE alt = keys[VK_MENU];
    keys[VK_MENU] |= 0x80;
    SetKeyboardState(keys);
    try {
        PostKey(WM_SYSKEYDOWN, WM_SYSKEYUP, static_cast<WORD>(LOBYTE(scan)), 1 << 29);
        Settle();
    } catch (...) {
        keys[VK_MENU] = alt;
        SetKeyboardState(keys);
        throw;
    }
    keys[VK_MENU] = alt;
    SetKeyboardState(keys);
}

void KVWizardDriver::Close() {
    HWND wizard = FindWizard();
    if (!wizard) throw KVDriverError("cannot close the wizard: no window");
    PostMessageA(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
}

bool KVWizardDriver::Exists(int id) { return !Controls(id).empty(); }

std::string KVWizardDriver::Text(int id) {
    HWND control = Visible(id);
    if (!control) throw KVDriverError("no control " + std::to_string(id) + " to read; " + Describe());
    return KVWindowText(control);
}

bool KVWizardDriver::IsVisible(int id) {
    HWND control = Visible(id);
    return control && IsWindowVisible(control);
}

bool KVWizardDriver::IsEnabled(int id) {
    HWND control = Visible(id);
    return control && IsWindowEnabled(control);
}

bool KVWizardDriver::HasButton(int id) {
    HWND button = Visible(id, "Button");
    return button && IsWindowVisible(button);
}

int KVWizardDriver::FocusedId() {
    HWND wizard = FindWizard();
    if (!wizard) return 0;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info) || !info.hwndFocus) return 0;
    if (!IsChild(wizard, info.hwndFocus)) return 0;
    // An edit inside a list box control reports the control's id through its parent.
    HWND control = info.hwndFocus;
    while (GetParent(control) != wizard) control = GetParent(control);
    return GetDlgCtrlID(control);
}

std::vector<int> KVWizardDriver::TabOrder() {
    std::vector<int> order;
    const int start = FocusedId();
    for (int i = 0; i < 64; ++i) {
        PressTab();
        const int id = FocusedId();
        order.push_back(id);
        if (id == start) break;
    }
    return order;
}

std::vector<std::string> KVWizardDriver::ListItems(int id) {
    std::vector<std::string> items;
    HWND list = Visible(id, "ComboBox");
    if (!list) return items;
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, i, 0);
        std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        const LRESULT got = SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        items.push_back(text);
    }
    return items;
}

std::string KVWizardDriver::ListSelection(int id) {
    HWND list = Visible(id, "ComboBox");
    if (!list) return std::string();
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return std::string();
    const std::vector<std::string> items = ListItems(id);
    return static_cast<size_t>(selected) < items.size() ? items[static_cast<size_t>(selected)] : std::string();
}

std::vector<HWND> KVWizardDriver::MessageBoxes() {
    std::vector<HWND> boxes = TopLevel(kMessageBoxClass);
    for (HWND box : boxes) Watch(box);
    return boxes;
}

bool KVWizardDriver::HasMessageBox() {
    for (HWND box : MessageBoxes())
        if (IsWindowVisible(box) && GetDlgItem(box, kMessageBoxText)) return true;
    return false;
}

KVMessageBoxInfo KVWizardDriver::WaitForMessageBox() {
    KVMessageBoxInfo info;
    WaitUntil("a message box to be shown", [this, &info] {
        for (HWND box : MessageBoxes()) {
            if (!IsWindowVisible(box) || !GetDlgItem(box, kMessageBoxText)) continue;
            info.window = box;
            return true;
        }
        return false;
    });
    info.owner = GetWindow(info.window, GW_OWNER);
    info.caption = KVWindowText(info.window);
    info.text = KVWindowText(GetDlgItem(info.window, kMessageBoxText));
    for (HWND child = GetWindow(info.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_stricmp(KVWindowClass(child).c_str(), "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            info.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return info;
}

void KVWizardDriver::DismissMessageBox(const KVMessageBoxInfo& box, int button) {
    HWND target = nullptr;
    for (HWND child = GetWindow(box.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == button && IsWindowVisible(child)) target = child;
    if (!target || !IsWindowEnabled(target))
        throw KVDriverError("the message box \"" + box.text + "\" has no button " + std::to_string(button) + " to press");
    const uint32_t emptied = g_fieldsEmptied.load();
    const HWND wizard = box.owner != nullptr && box.owner == FindWizard() ? box.owner : nullptr;
    PostMessageA(target, BM_CLICK, 0, 0);
    HWND window = box.window;
    WaitUntil("the message box \"" + box.text + "\" to close",
              [window] { return !IsWindow(window) || !IsWindowVisible(window); });
    if (wizard != nullptr)
        WaitUntil("the wizard to empty its fields after the message box",
                  [wizard, emptied] { return g_fieldsEmptied.load() != emptied || !IsWindow(wizard); });
}
