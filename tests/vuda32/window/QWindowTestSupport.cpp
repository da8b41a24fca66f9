#include "tests/vuda32/window/QWindowTestSupport.h"

#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"

QTestApp::QTestApp() {
    QDllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
    windowClass.Register(0, "QMainWindowClassName", GetGlobalData().GetInstance(),
                         &QWinBase::SharedWindowProc, nullptr, CS_DBLCLKS, nullptr, nullptr);
}

QTestApp::~QTestApp() = default;

bool QTestWindow::WindowProc(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&, bool) {
    messages.push_back(message);
    boundAtMessage.push_back(GetHwnd() == hwnd);
    return false;
}

bool QTestWindow::PreCreate(CREATESTRUCTA&) { return !refuseCreation; }

namespace {
void RecordingSink(const QException& error) {
    SinkRecorder::Reports().push_back(error.GetFirstInfo());
}
}  // namespace

SinkRecorder::SinkRecorder() {
    Reports().clear();
    SetSwallowedErrorSink(RecordingSink);
}

SinkRecorder::~SinkRecorder() { SetSwallowedErrorSink(nullptr); }

std::vector<ErrExcepInfo>& SinkRecorder::Reports() {
    static std::vector<ErrExcepInfo> reports;
    return reports;
}
