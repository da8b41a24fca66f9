// Windows of the library.
//   QWinBase   owns the creation parameters and background brush of one native window and
//              routes every message of it to the virtual WindowProc, through the one shared
//              window procedure
#pragma once

#include <windows.h>

#include <string>

#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRect.h"

class QWinBase {
public:
    QWinBase();
    // Does not destroy the native window: the object must outlive it. If it does not, the
    // window is cut loose so that later messages never reach a dead object.
    virtual ~QWinBase();
    QWinBase(const QWinBase&) = delete;
    QWinBase& operator=(const QWinBase&) = delete;

    // Writes the size limits into the record when any is set; true when it did.
    virtual bool OnMinMaxInfo(MINMAXINFO* info);
    // Handles one message; true means handled with result. Callers pass extra as false.
    virtual bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result, bool extra) = 0;
    virtual bool Create(QWinBase* parent);
    virtual bool Create(bool mdiChild);
    virtual void Destroy();
    virtual void OnBeforeFirstShow();
    // Called once, right after the window is shown for the first time.
    virtual void Initialize();
    // Called once after the native window exists.
    virtual void OnCreate();
    // false cancels the creation without an error.
    virtual bool PreCreate(CREATESTRUCTA& params);
    virtual bool InternalCreate();
    // After creation, before OnCreate: controls subclass here.
    virtual void Attach();
    // Fills the creation parameters and makes the background brush.
    virtual void SetDefault();

    // The one procedure of every library window class and every subclassed control.
    static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    void ClientToScreen(POINT& point);
    void ClientToScreen(RECT& rect);
    void GetClientRect(RECT& rect);
    QRect GetClientRect();
    DWORD GetStyle();
    void GetWindowRect(RECT& rect);
    QRect GetWindowRect();
    void KillTimer(UINT_PTR id);
    int MessageBox(const std::string& text, const std::string& caption, UINT type);
    // Changes the long at index (GWL_STYLE, GWL_EXSTYLE); false when nothing changes. With
    // position flags, the frame is recalculated.
    bool ModifyStyle(int index, DWORD remove, DWORD add, UINT positionFlags);
    void ScreenToClient(POINT& point);
    void ScreenToClient(RECT& rect);
    void SetBkColor(COLORREF colour);
    void SetFocus();
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    void SetWindowPos(int x, int y, int cx, int cy, UINT flags);
    void SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Moves and sizes without touching the z-order or activation.
    void SetWindowPos(const RECT& rect);
    void SetWindowTopMost(bool on);
    void SetWindowText(const std::string& text);
    void UpdateWindow();

    // Whether the window was disabled before.
    bool EnableWindow(bool enable);
    bool IsWindowEnabled();
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetFont(HFONT font);
    // Whether the window was visible before. The first show runs OnBeforeFirstShow before
    // and Initialize after it.
    bool ShowWindow(int command);
    HWND GetHwnd() const { return m_hwnd; }
    void SetHwnd(HWND hwnd) { m_hwnd = hwnd; }
    QWinBase* GetParent() const { return m_parent; }
    void SetParent(QWinBase* parent);
    HBRUSH GetBrush() const { return m_brush.GetBrush(); }
    COLORREF GetBkColor() const { return m_bkColor; }
    // (0, 0) for both turns the limits off.
    void SetMinMaxSize(SIZE minimum, SIZE maximum);
    // On centreOn, or (when null) on the parent of a child or the owner of a top-level
    // window; a top-level window with nothing visible to centre on goes to the middle of
    // the primary monitor's work area.
    void CenterWindow(HWND centreOn);

    CREATESTRUCTA& GetCreateParams() { return m_params; }
    // Keep their own copies, which the creation parameters point at.
    void SetCreateTitle(const std::string& title);
    void SetCreateClassName(const std::string& className);
    int GetWindowType() const { return m_windowType; }
    void SetWindowType(int type) { m_windowType = type; }
    // Set when WindowProc let an error escape; the error went to ReportSwallowedError.
    bool IsFailed() const { return m_failed; }

protected:
    // The parts of SetDefault: the creation parameters of a top-level library window, and
    // the white background brush unless one exists (false when it cannot be made).
    void SetDefaultParams();
    bool MakeDefaultBrush();
    // Subclassing of controls: the object goes into the user-data slot and the shared
    // procedure replaces the control's own, which is returned.
    WNDPROC Subclass(HWND hwnd);
    // Undoes Subclass when the native window is still there.
    static void Unsubclass(HWND hwnd, WNDPROC previous);
    // A command from an accelerator (high word 1) that reached a control goes to the
    // parent's WindowProc first; true when the parent handled it.
    bool OfferAcceleratorToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result);
    // The defaults of a control: the base defaults, then class, empty title, 80 x 23 and
    // the styles.
    void SetControlDefault(const char* className, DWORD style, DWORD exStyle);
    // The control creation shared by every control class: SetDefault, then place, id,
    // title and (in the second form) the styles.
    bool CreateControl(QWinBase* parent, int id, const RECT& rect, const std::string& title);
    bool CreateControl(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                       DWORD style, DWORD exStyle);

private:
    bool CreateControlFromDefaults(int id, const RECT& rect, const std::string& title,
                                   DWORD style, DWORD exStyle);

    bool m_sizeLimits = false;
    QWinBase* m_parent = nullptr;
    HWND m_hwnd = nullptr;
    SIZE m_minSize = {0, 0};
    SIZE m_maxSize = {0, 0};
    CREATESTRUCTA m_params = {};
    QBrush m_brush;
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_windowType = 0;
    bool m_firstShowPending = true;
    bool m_failed = false;
    std::string m_title;
    std::string m_className;
};
