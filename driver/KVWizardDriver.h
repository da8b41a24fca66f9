// Plays a person at the wizard window of this process, on a thread of its own.
//   KVMessageBoxInfo   what a message box shows
//   KVDriverError      a wait that ran out, or a move a person could not make; says which
//   KVWizardDriver     the thread, the scripts it plays, and the moves a script makes
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/KVRgbImage.h"
#include "register/model/KVModelCodes.h"
#include "register/view/KVFormComponents.h"

struct KVMessageBoxInfo {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    HICON icon = nullptr;
};

class KVDriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One driver at a time per process: the hooks it sets on the wizard's threads report to it.
class KVWizardDriver {
public:
    using Script = std::function<void(KVWizardDriver&)>;
    static constexpr uint32_t kDefaultTimeoutMs = 10000;

    KVWizardDriver();
    ~KVWizardDriver();
    KVWizardDriver(const KVWizardDriver&) = delete;
    KVWizardDriver& operator=(const KVWizardDriver&) = delete;

    // Hands a script to the driver's thread and returns at once. A script that throws is
    // ended; the driver then cancels the wizard (closes its message boxes and the window) so
    // that a step waiting for the user returns, and Await reports what went wrong.
    void Play(Script script);
    // Waits for the last script handed over: empty when it ran through, else the failure.
    std::string Await(uint32_t timeoutMs = 60000);

    // Everything below is for scripts, on the driver's thread; each wait ends after the
    // timeout with a KVDriverError naming what it waited for.
    void SetTimeout(uint32_t milliseconds) { timeoutMs_ = milliseconds; }

    // Watches a thread that will show message boxes of the wizard (the host's thread, which
    // shows the server's errors): Wine reports a new window too late to see it appear.
    void WatchThread(DWORD thread);

    // The visible top-level window of class "KV Registration"; waits for it to appear.
    HWND WaitForWizard();
    void WaitForWizardGone();
    // The wizard found last, or null when it has gone.
    HWND Wizard();
    // The page shown, told apart by which of its controls are visible.
    KVPages::Page Page();
    // The page shown with its controls enabled, else None (between steps, or no wizard).
    KVPages::Page ReadyPage();
    // Until `page` is shown with its controls enabled (they are disabled between steps).
    void WaitForPage(KVPages::Page page);
    // Until the wizard's thread has handled what was posted to it before this call.
    void Settle();
    // Takes the driver's hooks off every thread, for measurements that a hook would slow;
    // the next script sets them again as it finds the wizard.
    void StopWatching();
    void WaitUntil(const std::string& what, const std::function<bool()>& done);
    // From any thread: makes a waiting script look at its condition again (for conditions
    // that are no window's state, such as the end of a host's step).
    void Wake();

    // Moves of a person. Each checks that a person could make it (the control is visible,
    // enabled, and the wizard is not behind a message box) and settles afterwards.
    // Typing leaves the field (which hands its text to the model) unless `leave` is false:
    // then the caret stays in it, as for a person who presses Enter next.
    void Type(int id, const std::string& text, bool leave = true);
    void Click(int id);
    void PressEnter();
    void PressEscape();
    void PressTab();
    void PressAlt(char mnemonic);
    // The system menu's Close (the title bar's close box).
    void Close();

    // What a person sees. For ids that two pages share, the visible control counts.
    bool Exists(int id);
    std::string Text(int id);
    bool IsVisible(int id);
    bool IsEnabled(int id);
    // A visible push button with this id (an id may also name a label).
    bool HasButton(int id);
    // What a person does not see: every control with this id, the hidden ones included.
    std::vector<HWND> Controls(int id);
    // Id of the control with the keyboard focus in the wizard; 0 when none of its controls.
    int FocusedId();
    // Presses Tab until the focus comes back: the ids in the order visited, the start last.
    std::vector<int> TabOrder();
    // Entries of the country list, in the order shown; the selected one, or empty.
    std::vector<std::string> ListItems(int id);
    std::string ListSelection(int id);

    // A message box (class #32770) of this process; waits for one to be shown.
    KVMessageBoxInfo WaitForMessageBox();
    // True when a message box of this process is shown.
    bool HasMessageBox();
    // Clicks the box's button `button` and waits for the box to close; for a box of the
    // wizard, also until the wizard has emptied the fields a message empties. A person looks
    // back at the page only then, while a script could type into a field about to be emptied.
    void DismissMessageBox(const KVMessageBoxInfo& box, int button = IDOK);

    // Colour at a client point of the wizard as drawn on the screen.
    COLORREF ClientPixel(int x, int y);
    // The wizard as shown on the screen; the window is topmost and nothing covers it.
    KVRgbImage Capture();
    void SavePng(const std::string& path);
    // Any thread.
    static void WritePng(const KVRgbImage& picture, const std::string& path);

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    void WatchEvents();
    void WaitUntil(const std::string& what, const std::function<bool()>& done, ULONGLONG deadline);
    void RunScript(const Script& script);
    void Rescue();
    void Pump();
    void Watch(HWND window);
    void Unwatch(bool onlyEndedThreads);
    HWND FindWizard();
    HWND Visible(int id, const char* className = nullptr);
    HWND Operable(int id, const char* className, const char* move);
    void PostKey(UINT down, UINT up, WORD vk, LPARAM extra);
    void Refresh();
    std::string Describe();
    std::vector<HWND> MessageBoxes();
    static void CALLBACK OnWinEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD thread, DWORD time);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE work_ = nullptr;     // a script is waiting
    HANDLE done_ = nullptr;     // the script has ended
    HANDLE changed_ = nullptr;  // a watched thread handled something a person could see
    Script script_;
    std::string failure_;
    bool stop_ = false;

    // Driver thread only.
    uint32_t timeoutMs_ = kDefaultTimeoutMs;
    HWND wizard_ = nullptr;
    HWINEVENTHOOK winEvents_ = nullptr;
    std::map<DWORD, std::vector<HHOOK>> hooks_;
};
