// What the window suites share.
//   QTestApp      a fresh application object for one test, attached to the test program as
//                 its module, with the library's window class registered
//   QTestWindow   a top-level library window that records what reaches its WindowProc, refuses
//                 its creation where a test asks, and raises from its handler for two messages
//   SinkRecorder  collects the errors handed to the swallowed-error sink while it lives
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "vuda32/Application/QDll.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Window/QWinBase.h"
#include "vuda32/Window/QWinClass.h"

class QTestApp {
public:
    QTestApp();
    QTestApp(const QTestApp&) = delete;
    QTestApp& operator=(const QTestApp&) = delete;

    QDll app;
    QWinClass windowClass;
};

class QTestWindow : public QWinBase {
public:
    // Sent to the window, they raise a library exception and a standard one in its handler.
    static const UINT kRaiseError = WM_USER + 3, kRaiseStandardError = WM_USER + 4;

    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    bool PreCreate(CREATESTRUCTA&) override { return !refuseCreation; }
    void OnBeforeFirstShow() override { events.push_back("before-first-show"); }
    void Initialize() override { events.push_back("initialize"); }
    void OnCreate() override { events.push_back("create"); }

    bool refuseCreation = false;  // by the pre-create step
    // Creation refused by the handler at this message: FALSE to WM_NCCREATE, -1 to WM_CREATE.
    UINT refuseAt = WM_USER;
    // Messages in arrival order, and whether the object already knew its handle then.
    std::vector<UINT> messages;
    std::vector<bool> boundAtMessage;
    std::vector<std::string> events;
};

class SinkRecorder {
public:
    SinkRecorder();
    ~SinkRecorder();
    static std::vector<ErrExcepInfo>& Reports();
};
