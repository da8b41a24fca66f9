#include "tests/vuda32/window/QWindowTestSupport.h"

#include <stdexcept>

#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"

QTestApp::QTestApp() {
    QDllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
    windowClass.Register(0, "QMainWindowClassName", GetGlobalData().GetInstance(),
                         &QWinBase::SharedWindowProc, nullptr, CS_DBLCLKS, nullptr, nullptr);
}

bool QTestWindow::WindowProc(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result, bool) {
    messages.push_back(message);
    boundAtMessage.push_back(GetHwnd() == hwnd);
    if (message == kRaiseError) throw QGenException("f", "m", 1, 2, 0);
    if (message == kRaiseStandardError) throw std::runtime_error("out of range");
    if (message != refuseAt) return false;
    result = message == WM_NCCREATE ? FALSE : -1;
    return true;
}

SinkRecorder::SinkRecorder() {
    Reports().clear();
    SetSwallowedErrorSink([](const QException& error) { Reports().push_back(error.GetFirstInfo()); });
}

SinkRecorder::~SinkRecorder() { SetSwallowedErrorSink(nullptr); }

std::vector<ErrExcepInfo>& SinkRecorder::Reports() {
    static std::vector<ErrExcepInfo> reports;
    return reports;
}
