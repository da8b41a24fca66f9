#include "vuda32/Window/QWinBase.h"

#include "vuda32/Application/QDll.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Window\\QWinBase.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineClientToScreenPoint = 220;
constexpr int kLineClientToScreenTopLeft = 228;
constexpr int kLineClientToScreenBottomRight = 240;
constexpr int kLineDestroy = 334;
constexpr int kLineGetClientRectInto = 389;
constexpr int kLineGetClientRectReturned = 405;
constexpr int kLineGetStyle = 434;
constexpr int kLineGetWindowRectInto = 451;
constexpr int kLineGetWindowRectReturned = 467;
constexpr int kLineKillTimer = 550;
constexpr int kLineMessageBox = 585;
constexpr int kLineModifyStyleGet = 617;
constexpr int kLineModifyStyleSet = 631;
constexpr int kLineModifyStyleUpdate = 638;
constexpr int kLineScreenToClientPoint = 657;
constexpr int kLineScreenToClientTopLeft = 673;
constexpr int kLineScreenToClientBottomRight = 693;
constexpr int kLineSetBkColor = 764;
constexpr int kLineSetFocus = 798;
constexpr int kLineSetTimer = 861;
constexpr int kLineSetWindowPos = 883;
constexpr int kLineSetWindowPosAfter = 891;
constexpr int kLineSetWindowPosRect = 899;
constexpr int kLineSetWindowText = 916;
constexpr int kLineSetWindowTopMost = 931;
constexpr int kLineUpdateWindow = 1050;
constexpr int kLineWindowTypeRefused = 1130;
constexpr int kLineInternalCreate = 1134;
constexpr int kLineSetDefault = 1186;

// The application object's pending-window slot, set under the window-creation lock for
// exactly as long as the creation call runs, whichever way it ends.
class PendingWindow {
public:
    explicit PendingWindow(QWinBase* window) : m_app(GetApp()) {
        GetGlobalData().LockWindowCreation();
        if (m_app != nullptr)
            m_app->SetPendingWindow(window);
    }
    ~PendingWindow() {
        if (m_app != nullptr)
            m_app->SetPendingWindow(nullptr);
        GetGlobalData().UnlockWindowCreation();
    }
    PendingWindow(const PendingWindow&) = delete;
    PendingWindow& operator=(const PendingWindow&) = delete;

private:
    QDll* m_app;
};

// GetWindowLongA and SetWindowLongA answer 0 both for failure and for a zero value.
LONG_PTR GetLongChecked(HWND hwnd, int index, const char* method, int line, uint32_t code) {
    SetLastError(0);
    LONG_PTR value = GetWindowLongPtrA(hwnd, index);
    if (value == 0 && GetLastError() != 0)
        RaiseWin(kFile, method, line, code);
    return value;
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor == nullptr || !GetMonitorInfoA(monitor, &info))
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return info.rcWork;
}

// Centres length at the middle of target's span and keeps it inside bounds' span.
LONG CentreSpan(LONG targetLow, LONG targetHigh, LONG boundsLow, LONG boundsHigh, LONG length) {
    LONG at = (targetLow + targetHigh) / 2 - length / 2;
    if (at < boundsLow)
        at = boundsLow;
    else if (at + length > boundsHigh)
        at = boundsHigh - length;
    return at;
}
}  // namespace

QWinBase::QWinBase() = default;

QWinBase::~QWinBase() {
    if (m_hwnd != nullptr && IsWindow(m_hwnd) &&
        GetWindowLongPtrA(m_hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
}

bool QWinBase::OnMinMaxInfo(MINMAXINFO* info) {
    if (!m_sizeLimits || info == nullptr)
        return false;
    if (m_minSize.cx != 0 || m_minSize.cy != 0)
        info->ptMinTrackSize = POINT{m_minSize.cx, m_minSize.cy};
    if (m_maxSize.cx != 0 || m_maxSize.cy != 0)
        info->ptMaxTrackSize = POINT{m_maxSize.cx, m_maxSize.cy};
    return true;
}

bool QWinBase::Create(QWinBase* parent) {
    m_parent = parent;
    SetDefault();
    return InternalCreate();
}

bool QWinBase::Create(bool mdiChild) {
    m_windowType = mdiChild ? 1 : 0;
    SetDefault();
    return InternalCreate();
}

void QWinBase::Destroy() {
    if (m_hwnd == nullptr)
        return;
    if (!DestroyWindow(m_hwnd))
        RaiseWin(kFile, "Destroy", kLineDestroy, 3506);
    // Controls that are not subclassed never see their destroy message here.
    m_hwnd = nullptr;
}

void QWinBase::OnBeforeFirstShow() {}
void QWinBase::Initialize() {}
void QWinBase::OnCreate() {}
bool QWinBase::PreCreate(CREATESTRUCTA&) { return true; }
void QWinBase::Attach() {}

void QWinBase::SetCreateTitle(const std::string& title) {
    m_title = title;
    m_params.lpszName = m_title.c_str();
}

void QWinBase::SetCreateClassName(const std::string& className) {
    m_className = className;
    m_params.lpszClass = m_className.c_str();
}

void QWinBase::SetDefault() {
    SetDefaultParams();
    if (!MakeDefaultBrush())
        RaiseWin(kFile, "SetDefault", kLineSetDefault, 3508);
}

void QWinBase::SetDefaultParams() {
    m_params = CREATESTRUCTA{};
    m_params.hInstance = GetGlobalData().GetInstance();
    m_params.hwndParent = m_parent != nullptr ? m_parent->GetHwnd() : nullptr;
    m_params.cx = 300;
    m_params.cy = 200;
    m_params.style = m_windowType == 0 ? WS_OVERLAPPEDWINDOW : 0;
    SetCreateTitle("QWINDOW");
    SetCreateClassName("QMainWindowClassName");
}

bool QWinBase::MakeDefaultBrush() {
    if (m_brush.GetHandle() != nullptr)
        return true;
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    if (brush == nullptr)
        return false;
    m_brush.Attach(brush, true);
    return true;
}

bool QWinBase::InternalCreate() {
    if (!PreCreate(m_params))
        return false;
    HWND hwnd = nullptr;
    DWORD error = 0;
    {
        PendingWindow pending(this);
        const CREATESTRUCTA& p = m_params;
        if (m_windowType == 0) {
            hwnd = CreateWindowExA(p.dwExStyle, p.lpszClass, p.lpszName, p.style, p.x, p.y, p.cx,
                                   p.cy, p.hwndParent, p.hMenu, p.hInstance, p.lpCreateParams);
        } else if (m_windowType == 1) {
            hwnd = CreateMDIWindowA(p.lpszClass, p.lpszName, p.style, p.x, p.y, p.cx, p.cy,
                                    p.hwndParent, p.hInstance,
                                    reinterpret_cast<LPARAM>(p.lpCreateParams));
        } else {
            throw QWinException(kFile, "InternalCreate", kLineWindowTypeRefused, 3503, 0);
        }
        error = GetLastError();
    }
    // Also on failure: the object was bound at WM_NCCREATE, and the window may have refused
    // to exist after that, leaving a dead handle behind.
    m_hwnd = hwnd;
    if (hwnd == nullptr)
        throw QWinException(kFile, "InternalCreate", kLineInternalCreate, 3502, error);
    Attach();
    OnCreate();
    return true;
}

LRESULT CALLBACK QWinBase::SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* window = reinterpret_cast<QWinBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        QDll* app = GetApp();
        if (message != WM_NCCREATE || app == nullptr || app->GetPendingWindow() == nullptr)
            return DefMDIChildProcA(hwnd, message, wParam, lParam);
        window = app->GetPendingWindow();
        app->SetPendingWindow(nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->m_hwnd = hwnd;
    }
    LRESULT result = 0;
    bool handled = false;
    // Nothing unwinds through the platform: the window is marked failed instead.
    try {
        handled = window->WindowProc(hwnd, message, wParam, lParam, result, false);
    } catch (...) {
        window->m_failed = true;
        ReportCaughtError(kFile, "SharedWindowProc", __LINE__);
    }
    if (message == WM_DESTROY)
        window->m_hwnd = nullptr;
    if (handled)
        return result;
    if (window->m_windowType == 0)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return DefMDIChildProcA(hwnd, message, wParam, lParam);
}

WNDPROC QWinBase::Subclass(HWND hwnd) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QWinBase::SharedWindowProc)));
}

void QWinBase::Unsubclass(HWND hwnd, WNDPROC previous) {
    if (hwnd == nullptr || previous == nullptr || !IsWindow(hwnd))
        return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

bool QWinBase::OfferAcceleratorToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != 1 || m_parent == nullptr)
        return false;
    return m_parent->WindowProc(hwnd, message, wParam, lParam, result, false);
}

void QWinBase::SetControlDefault(const char* className, DWORD style, DWORD exStyle) {
    QWinBase::SetDefault();
    SetCreateClassName(className);
    SetCreateTitle("");
    m_params.cx = 80;
    m_params.cy = 23;
    m_params.style = style;
    m_params.dwExStyle = exStyle;
}

bool QWinBase::CreateControl(QWinBase* parent, int id, const RECT& rect,
                             const std::string& title) {
    m_parent = parent;
    SetDefault();
    return CreateControlFromDefaults(id, rect, title, m_params.style, m_params.dwExStyle);
}

bool QWinBase::CreateControl(QWinBase* parent, int id, const RECT& rect,
                             const std::string& title, DWORD style, DWORD exStyle) {
    m_parent = parent;
    SetDefault();
    return CreateControlFromDefaults(id, rect, title, style, exStyle);
}

bool QWinBase::CreateControlFromDefaults(int id, const RECT& rect, const std::string& title,
                                         DWORD style, DWORD exStyle) {
    m_params.cx = rect.right - rect.left;
    m_params.cy = rect.bottom - rect.top;
    m_params.x = rect.left;
    m_params.y = rect.top;
    m_params.hMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    SetCreateTitle(title);
    m_params.style = style;
    m_params.dwExStyle = exStyle;
    return InternalCreate();
}

void QWinBase::ClientToScreen(POINT& point) {
    if (!::ClientToScreen(m_hwnd, &point))
        RaiseWin(kFile, "ClientToScreen", kLineClientToScreenPoint, 3514);
}

void QWinBase::ClientToScreen(RECT& rect) {
    POINT topLeft = {rect.left, rect.top};
    POINT bottomRight = {rect.right, rect.bottom};
    if (!::ClientToScreen(m_hwnd, &topLeft))
        RaiseWin(kFile, "ClientToScreen", kLineClientToScreenTopLeft, 3514);
    if (!::ClientToScreen(m_hwnd, &bottomRight))
        RaiseWin(kFile, "ClientToScreen", kLineClientToScreenBottomRight, 3514);
    rect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void QWinBase::ScreenToClient(POINT& point) {
    if (!::ScreenToClient(m_hwnd, &point))
        RaiseWin(kFile, "ScreenToClient", kLineScreenToClientPoint, 3514);
}

void QWinBase::ScreenToClient(RECT& rect) {
    POINT topLeft = {rect.left, rect.top};
    POINT bottomRight = {rect.right, rect.bottom};
    if (!::ScreenToClient(m_hwnd, &topLeft))
        RaiseWin(kFile, "ScreenToClient", kLineScreenToClientTopLeft, 3514);
    if (!::ScreenToClient(m_hwnd, &bottomRight))
        RaiseWin(kFile, "ScreenToClient", kLineScreenToClientBottomRight, 3514);
    rect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void QWinBase::GetClientRect(RECT& rect) {
    if (!::GetClientRect(m_hwnd, &rect))
        RaiseWin(kFile, "GetClientRect", kLineGetClientRectInto, 3501);
}

QRect QWinBase::GetClientRect() {
    QRect rect;
    if (!::GetClientRect(m_hwnd, &rect))
        RaiseWin(kFile, "GetClientRect", kLineGetClientRectReturned, 3501);
    return rect;
}

DWORD QWinBase::GetStyle() {
    return static_cast<DWORD>(
        GetLongChecked(m_hwnd, GWL_STYLE, "GetStyle", kLineGetStyle, 3509));
}

void QWinBase::GetWindowRect(RECT& rect) {
    if (!::GetWindowRect(m_hwnd, &rect))
        RaiseWin(kFile, "GetWindowRect", kLineGetWindowRectInto, 3507);
}

QRect QWinBase::GetWindowRect() {
    QRect rect;
    if (!::GetWindowRect(m_hwnd, &rect))
        RaiseWin(kFile, "GetWindowRect", kLineGetWindowRectReturned, 3507);
    return rect;
}

void QWinBase::KillTimer(UINT_PTR id) {
    if (!::KillTimer(m_hwnd, id))
        RaiseWin(kFile, "KillTimer", kLineKillTimer, 3518);
}

int QWinBase::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    int choice = ::MessageBoxA(m_hwnd, text.c_str(), caption.c_str(), type);
    if (choice == 0)
        RaiseWin(kFile, "MessageBox", kLineMessageBox, 3510);
    return choice;
}

bool QWinBase::ModifyStyle(int index, DWORD remove, DWORD add, UINT positionFlags) {
    DWORD old = static_cast<DWORD>(
        GetLongChecked(m_hwnd, index, "ModifyStyle", kLineModifyStyleGet, 3511));
    DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return false;
    SetLastError(0);
    if (SetWindowLongPtrA(m_hwnd, index, static_cast<LONG_PTR>(changed)) == 0 &&
        GetLastError() != 0)
        RaiseWin(kFile, "ModifyStyle", kLineModifyStyleSet, 3512);
    if (positionFlags != 0 &&
        !::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0,
                        positionFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        RaiseWin(kFile, "ModifyStyle", kLineModifyStyleUpdate, 3513);
    return true;
}

void QWinBase::SetBkColor(COLORREF colour) {
    m_brush.Delete();
    m_bkColor = colour;
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush == nullptr)
        RaiseWin(kFile, "SetBkColor", kLineSetBkColor, 3515);
    m_brush.Attach(brush, true);
}

void QWinBase::SetFocus() {
    SetLastError(0);
    // The previous focus may well be no window at all; only an error value says it failed.
    if (::SetFocus(m_hwnd) == nullptr && GetLastError() != 0)
        RaiseWin(kFile, "SetFocus", kLineSetFocus, 3519);
}

UINT_PTR QWinBase::SetTimer(UINT_PTR id, UINT milliseconds) {
    UINT_PTR timer = ::SetTimer(m_hwnd, id, milliseconds, nullptr);
    if (timer == 0)
        RaiseWin(kFile, "SetTimer", kLineSetTimer, 3505);
    return timer;
}

void QWinBase::SetWindowPos(int x, int y, int cx, int cy, UINT flags) {
    if (!::SetWindowPos(m_hwnd, nullptr, x, y, cx, cy, flags))
        RaiseWin(kFile, "SetWindowPos", kLineSetWindowPos, 3516);
}

void QWinBase::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!::SetWindowPos(m_hwnd, insertAfter, x, y, cx, cy, flags))
        RaiseWin(kFile, "SetWindowPos", kLineSetWindowPosAfter, 3516);
}

void QWinBase::SetWindowPos(const RECT& rect) {
    if (!::SetWindowPos(m_hwnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER))
        RaiseWin(kFile, "SetWindowPos", kLineSetWindowPosRect, 3516);
}

void QWinBase::SetWindowTopMost(bool on) {
    if (!::SetWindowPos(m_hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE))
        RaiseWin(kFile, "SetWindowTopMost", kLineSetWindowTopMost, 3516);
}

void QWinBase::SetWindowText(const std::string& text) {
    if (!::SetWindowTextA(m_hwnd, text.c_str()))
        RaiseWin(kFile, "SetWindowText", kLineSetWindowText, 3504);
}

void QWinBase::UpdateWindow() {
    if (!::UpdateWindow(m_hwnd))
        RaiseWin(kFile, "UpdateWindow", kLineUpdateWindow, 3520);
}

bool QWinBase::EnableWindow(bool enable) {
    return ::EnableWindow(m_hwnd, enable ? TRUE : FALSE) != FALSE;
}

bool QWinBase::IsWindowEnabled() { return ::IsWindowEnabled(m_hwnd) != FALSE; }

LRESULT QWinBase::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hwnd, message, wParam, lParam);
}

void QWinBase::SetFont(HFONT font) {
    ::SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool QWinBase::ShowWindow(int command) {
    bool first = m_firstShowPending;
    if (first)
        OnBeforeFirstShow();
    bool wasVisible = ::ShowWindow(m_hwnd, command) != FALSE;
    if (first) {
        m_firstShowPending = false;
        Initialize();
    }
    return wasVisible;
}

void QWinBase::SetParent(QWinBase* parent) {
    m_parent = parent;
    // A window that exists already moves too; before creation the parent is only remembered.
    if (m_hwnd != nullptr)
        ::SetParent(m_hwnd, parent != nullptr ? parent->GetHwnd() : nullptr);
}

void QWinBase::SetMinMaxSize(SIZE minimum, SIZE maximum) {
    m_minSize = minimum;
    m_maxSize = maximum;
    m_sizeLimits = minimum.cx != 0 || minimum.cy != 0 || maximum.cx != 0 || maximum.cy != 0;
}

void QWinBase::CenterWindow(HWND centreOn) {
    bool child = (GetStyle() & WS_CHILD) != 0;
    if (centreOn == nullptr)
        centreOn = child ? ::GetParent(m_hwnd) : GetWindow(m_hwnd, GW_OWNER);
    RECT bounds;
    RECT target;
    HWND parent = child ? ::GetParent(m_hwnd) : nullptr;
    if (parent != nullptr) {
        ::GetClientRect(parent, &bounds);
        if (centreOn != nullptr) {
            ::GetClientRect(centreOn, &target);
            MapWindowPoints(centreOn, parent, reinterpret_cast<POINT*>(&target), 2);
        } else {
            target = bounds;
        }
    } else {
        if (centreOn != nullptr && (!IsWindowVisible(centreOn) || IsIconic(centreOn)))
            centreOn = nullptr;
        if (centreOn != nullptr) {
            ::GetWindowRect(centreOn, &target);
            bounds = WorkAreaOf(MonitorFromWindow(centreOn, MONITOR_DEFAULTTONEAREST));
        } else {
            bounds = WorkAreaOf(MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTOPRIMARY));
            target = bounds;
        }
    }
    QRect own = GetWindowRect();
    LONG x = CentreSpan(target.left, target.right, bounds.left, bounds.right, own.Width());
    LONG y = CentreSpan(target.top, target.bottom, bounds.top, bounds.bottom, own.Height());
    SetWindowPos(x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
