#include "register/view/KVWizardHeader.h"

#include "common/KVRunContext.h"
#include "register/entry/KVResourceIds.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLog.h"

namespace {

const char kOnCreate[] = "KVRegisterView::OnCreate";

QLog* Log() {
    KVRunContext* run = KVRunContext::Current();
    return run ? run->GetLog() : nullptr;
}

}  // namespace

void KVWizardHeader::Load(QDC& reference, const std::string& installRoot) {
    const HINSTANCE instance = GetGlobalData().GetInstance();
    const std::string file = installRoot + "\\Bitmaps\\Register.bmp";
    try {
        picture_.LoadBitmapFile(reference, file, instance);
        loaded_ = true;
        return;
    } catch (const QException&) {
        QLogEntry(Log(), QLog::LevelInfo, kOnCreate) << "Header image not loaded, using the built-in one [" << file << "]";
    }
    try {
        picture_.LoadBitmapResource(reference, KV_IDB_HEADER, instance);
        loaded_ = true;
    } catch (const QException&) {
        QLogEntry(Log(), QLog::LevelError, kOnCreate) << "Built-in header image missing";
    }
}

void KVWizardHeader::Paint(QDC& dc, int width, int height) {
    dc.FillSolidRect(RECT{0, 0, width - 6, 59}, RGB(255, 255, 255));
    if (loaded_) dc.BitBlt(width - 48, 13, 32, 32, picture_, 0, 0, SRCCOPY);
    dc.DrawEdge(RECT{0, 59, width - 6, 61}, EDGE_ETCHED, BF_TOP);
    dc.DrawEdge(RECT{0, height - 72, width - 6, height - 70}, EDGE_ETCHED, BF_TOP);
}
