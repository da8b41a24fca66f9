#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "tests/vuda32/window/QWindowTestSupport.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QWinThread.h"
#include "vuda32/Exception/QException.h"

namespace {

const UINT kDestroyYourself = WM_USER + 40;

// Ends its loop when destroyed, as the wizard window does, but ignores closing.
class LoopWindow : public QWinThread {
public:
    bool WindowProc(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result, bool) override {
        if (message == kDestroyYourself)
            DestroyWindow(hwnd);
        else if (message == WM_DESTROY)
            PostQuitMessage(5);
        else if (message != WM_CLOSE)
            return false;
        result = 0;
        return true;
    }
    bool PreCreate(CREATESTRUCTA&) override { return !refuse; }

    bool refuse = false;
};

}  // namespace

class QWinBaseTest : public ::testing::Test {
protected:
    void TearDown() override { window.Destroy(); }

    KVTestEnv env;
    QTestApp testApp;
    QTestWindow window;
};

// The object is bound at the non-client-create message until the destroy one, the first show
// runs its hooks once around the show, and operations on a gone window raise their code and line.
TEST_F(QWinBaseTest, ObjectIsBoundFromNonClientCreateToDestroyAndOperationsOnAGoneWindowRaise) {
    ASSERT_TRUE(window.Create(static_cast<QWinBase*>(nullptr)));
    // Messages before the non-client-create one go to the default procedure.
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_TRUE(std::all_of(window.boundAtMessage.begin(), window.boundAtMessage.end(),
                            [](bool bound) { return bound; }));
    EXPECT_EQ(testApp.app.GetPendingWindow(), nullptr);

    EXPECT_FALSE(window.ShowWindow(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(window.ShowWindow(SW_HIDE));
    EXPECT_FALSE(window.ShowWindow(SW_SHOWNOACTIVATE));
    EXPECT_EQ(window.events,
              (std::vector<std::string>{"create", "before-first-show", "initialize"}));

    // Removing what is absent and adding what is present is no change.
    EXPECT_FALSE(window.ModifyStyle(GWL_STYLE, WS_VSCROLL, WS_CAPTION, SWP_FRAMECHANGED));
    EXPECT_TRUE(window.ModifyStyle(GWL_STYLE, WS_MAXIMIZEBOX, 0, SWP_FRAMECHANGED));
    EXPECT_EQ(window.GetStyle() & WS_MAXIMIZEBOX, 0u);

    // Destroyed behind the object's back: only the message can tell it.
    HWND stale = window.GetHwnd();
    DestroyWindow(stale);
    EXPECT_EQ(window.GetHwnd(), nullptr);
    EXPECT_NO_THROW(window.Destroy());  // nothing left to destroy

    // Operations on a gone window raise their code and line.
    window.SetHwnd(stale);
    auto expectRaise = [](auto operation, uint32_t code, const char* method, int line) {
        const ErrExcepInfo info = RaisedBy<QWinException>(operation);
        EXPECT_EQ(info.errorCode, code) << method;
        EXPECT_EQ(info.method, method);
        EXPECT_EQ(info.line, line) << method;
        EXPECT_NE(info.systemError, 0u) << method;  // which one differs between systems
    };
    expectRaise([&] { window.SetWindowText("x"); }, 3504, "SetWindowText", 916);
    expectRaise([&] { window.GetClientRect(); }, 3501, "GetClientRect", 405);
    expectRaise([&] { window.GetStyle(); }, 3509, "GetStyle", 434);
    expectRaise([&] { window.Destroy(); }, 3506, "Destroy", 334);
    window.SetHwnd(nullptr);
}

// A refusing pre-create step leaves no window and raises nothing. An unknown class, or a
// window refusing at WM_NCCREATE (after the object is bound) or at WM_CREATE raises: no window,
// no handle, no pending object.
TEST_F(QWinBaseTest, RefusedOrFailedCreationLeavesNoWindowAndFailuresRaise3502) {
    window.refuseCreation = true;
    bool created = true;
    EXPECT_NO_THROW(created = window.Create(static_cast<QWinBase*>(nullptr)));
    EXPECT_FALSE(created);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(FindWindowA("QMainWindowClassName", nullptr), nullptr);

    window.refuseCreation = false;
    window.SetDefault();
    window.SetCreateClassName("NoSuchClassAnywhere");
    const ErrExcepInfo failed = RaisedBy<QWinException>([&] { window.InternalCreate(); });
    EXPECT_EQ(failed.errorCode, 3502u);
    EXPECT_EQ(failed.line, 1134);
    EXPECT_NE(failed.systemError, 0u);  // which one differs between systems
    EXPECT_EQ(testApp.app.GetPendingWindow(), nullptr);
    for (UINT refuseAt : {static_cast<UINT>(WM_NCCREATE), static_cast<UINT>(WM_CREATE)}) {
        QTestWindow refusing;
        refusing.refuseAt = refuseAt;
        EXPECT_THROW(refusing.Create(static_cast<QWinBase*>(nullptr)), QWinException) << refuseAt;
        EXPECT_EQ(refusing.GetHwnd(), nullptr) << refuseAt;
        EXPECT_EQ(testApp.app.GetPendingWindow(), nullptr);
    }
}

TEST_F(QWinBaseTest, CenterWindowUsesThePrimaryWorkAreaForAHiddenWindow) {
    ASSERT_TRUE(window.Create(static_cast<QWinBase*>(nullptr)));
    window.SetWindowPos(0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    QTestWindow hidden;
    ASSERT_TRUE(hidden.Create(static_cast<QWinBase*>(nullptr)));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    window.CenterWindow(hidden.GetHwnd());
    QRect placed = window.GetWindowRect();
    EXPECT_EQ(placed.left, work.left + (work.right - work.left) / 2 - 200);
    EXPECT_EQ(placed.Width(), 400);
    EXPECT_EQ(placed.top, work.top + (work.bottom - work.top) / 2 - 150);
    hidden.Destroy();
}

TEST_F(QWinBaseTest, AnErrorInTheHandlerMarksTheWindowFailedInsteadOfUnwinding) {
    SinkRecorder sink;
    ASSERT_TRUE(window.Create(static_cast<QWinBase*>(nullptr)));
    EXPECT_FALSE(window.IsFailed());
    window.SendMessage(QTestWindow::kRaiseError, 0, 0);
    EXPECT_TRUE(window.IsFailed());
    ASSERT_EQ(SinkRecorder::Reports().size(), 1u);
    EXPECT_EQ(SinkRecorder::Reports()[0].errorCode, 2u);
    // An exception from outside the library is recorded too, with its text and where it was caught.
    window.SendMessage(QTestWindow::kRaiseStandardError, 0, 0);
    ASSERT_EQ(SinkRecorder::Reports().size(), 2u);
    EXPECT_EQ(SinkRecorder::Reports()[1].description, "Unexpected exception: out of range");
    EXPECT_EQ(SinkRecorder::Reports()[1].method, "SharedWindowProc");
}

using QWinClassTest = QWinBaseTest;

TEST_F(QWinClassTest, RegistersAndUnregistersWhenDestroyedAndReportsAFailedUnregister) {
    WNDCLASSEXA found = {};
    found.cbSize = sizeof(found);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    {
        QWinClass windowClass;
        windowClass.Register(1, "QWinClassTestClass", instance, &DefWindowProcA, nullptr,
                             CS_HREDRAW, nullptr, nullptr);
        EXPECT_NE(windowClass.GetAtom(), 0);
        ASSERT_TRUE(GetClassInfoExA(instance, "QWinClassTestClass", &found));
        EXPECT_EQ(found.style, static_cast<UINT>(CS_HREDRAW));
        EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_ARROW));

        QWinClass twice;
        EXPECT_EQ(Where(RaisedBy<QWinException>([&] {
                      twice.Register(1, "QWinClassTestClass", instance, &DefWindowProcA,
                                     nullptr, 0, nullptr, nullptr);
                  })),
                  "QWinException 1003 Register:147 error 1410 in .\\Window\\QWinClass.cpp");
    }
    EXPECT_FALSE(GetClassInfoExA(instance, "QWinClassTestClass", &found));

    // A failed unregister is reported, not raised.
    SinkRecorder sink;
    HWND alive = nullptr;
    {
        QWinClass windowClass;
        windowClass.Register(1, "QWinClassBusyClass", instance, &DefWindowProcA, nullptr, 0,
                             nullptr, nullptr);
        // A class with a window cannot be unregistered.
        alive = CreateWindowExA(0, "QWinClassBusyClass", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, instance, nullptr);
        ASSERT_NE(alive, nullptr);
    }
    ASSERT_EQ(SinkRecorder::Reports().size(), 1u);
    EXPECT_EQ(SinkRecorder::Reports()[0].errorCode, 1001u);
    EXPECT_EQ(SinkRecorder::Reports()[0].method, "~QWinClass");
    EXPECT_EQ(SinkRecorder::Reports()[0].line, 93);
    DestroyWindow(alive);
    UnregisterClassA("QWinClassBusyClass", instance);
}

using QWinThreadTest = QWinBaseTest;

TEST_F(QWinThreadTest, CreatesItsWindowOnItsOwnThreadAndCloseWaitsOnlyUntilItsTimeLimit) {
    LoopWindow window;
    ASSERT_TRUE(window.CreateThread(nullptr));
    HWND hwnd = window.GetHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_NE(GetWindowThreadProcessId(hwnd, nullptr), GetCurrentThreadId());
    EXPECT_NE(window.GetBrush(), nullptr);

    window.Close(50);
    EXPECT_NE(window.GetHwnd(), nullptr);
    DWORD exitCode = 0;
    ASSERT_TRUE(window.GetExitCode(&exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));

    window.SendMessage(kDestroyYourself, 0, 0);
    WaitForSingleObject(window.GetThreadHandle(), 10000);
    EXPECT_EQ(window.GetHwnd(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_TRUE(window.GetExitCode(&exitCode));
    EXPECT_EQ(exitCode, 5u);  // the quit message's value

    // A refused window fails the thread's start.
    LoopWindow refused;
    refused.refuse = true;
    EXPECT_FALSE(refused.CreateThread(nullptr));
    EXPECT_EQ(refused.GetHwnd(), nullptr);
}
