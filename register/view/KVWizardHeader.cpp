#include "register/view/KVWizardHeader.h"

#include <algorithm>

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

void KVWizardHeader::Paint(QDC& dc, const KVDpiLayout& layout, int width, int height, LONG clientRight) {
    RECT band = layout.ScaleRect(RECT{0, 0, width - 6, 59});
    band.right = std::max<LONG>(band.right, clientRight);
    dc.FillSolidRect(band, RGB(255, 255, 255));
    if (loaded_) layout.DrawPicture(dc, picture_, RECT{width - 48, 13, width - 16, 45}, 32);
    for (const RECT& base : {RECT{0, 59, width - 6, 61}, RECT{0, height - 72, width - 6, height - 70}}) {
        RECT line = layout.ScaleRect(base);
        line.right = band.right;
        dc.DrawEdge(line, EDGE_ETCHED, BF_TOP);
    }
}
