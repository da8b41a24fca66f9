#include "register/view/KVDpiLayout.h"

#include "vuda32/Gdi/QDC.h"
#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRaise.h"
#include "vuda32/Window/QWinBase.h"

namespace {

const char* const kFile = ".\\KVDpiLayout.cpp";
// Our own number: the window library has no stretched copy.
constexpr int kLineStretchBlt = 118;
const char kFace[] = "Tahoma";
const int kPoints = 8;
const int kLargeIcon = 32;
const int kSmallIcon = 16;

using DpiForWindowFn = UINT(WINAPI*)(HWND);

DpiForWindowFn DpiForWindow() {
    static const DpiForWindowFn function = reinterpret_cast<DpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return KVDpiScale::kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HICON LoadIconFile(const std::string& path, int size) {
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

}  // namespace

// The window's own icons; destroyed only after the window has let go of them.
struct KVDpiLayout::Icons {
    HICON large = nullptr;
    HICON small = nullptr;
    ~Icons() {
        if (large != nullptr) DestroyIcon(large);
        if (small != nullptr) DestroyIcon(small);
    }
};

KVDpiLayout::KVDpiLayout() = default;
KVDpiLayout::~KVDpiLayout() = default;

int KVDpiLayout::WindowDpi(HWND window) {
    if (window != nullptr && DpiForWindow() != nullptr) {
        const UINT dpi = DpiForWindow()(window);
        if (dpi != 0) return KVDpiScale(static_cast<int>(dpi)).Dpi();
    }
    return KVDpiScale(ScreenDpi()).Dpi();
}

RECT KVDpiLayout::Place(QWinBase& control, const RECT& base) {
    placed_.push_back(Placed{&control, base});
    return ScaleRect(base);
}

void KVDpiLayout::MoveControls() {
    for (const Placed& p : placed_)
        if (p.control->GetHwnd() != nullptr) p.control->SetWindowPos(ScaleRect(p.base));
}

void KVDpiLayout::CreateFonts() {
    auto normal = std::make_unique<QFont>();
    auto bold = std::make_unique<QFont>();
    normal->Create(kFace, scale_.FontHeight(kPoints), FW_NORMAL, false, false);
    bold->Create(kFace, scale_.FontHeight(kPoints), FW_BOLD, false, false);
    if (normal_) old_.push_back(std::move(normal_));
    if (bold_) old_.push_back(std::move(bold_));
    normal_ = std::move(normal);
    bold_ = std::move(bold);
}

void KVDpiLayout::ReleaseOldFonts() { old_.clear(); }

HFONT KVDpiLayout::NormalFont() const { return normal_ ? normal_->GetFont() : nullptr; }

HFONT KVDpiLayout::BoldFont() const { return bold_ ? bold_->GetFont() : nullptr; }

void KVDpiLayout::SetWindowIcons(HWND window, const std::string& iconFolder) {
    if (window == nullptr) return;
    std::unique_ptr<Icons> icons;
    if (!scale_.IsBase()) {
        icons = std::make_unique<Icons>();
        icons->large = LoadIconFile(iconFolder + "\\ApplicationLarge.ico", Scale(kLargeIcon));
        icons->small = LoadIconFile(iconFolder + "\\ApplicationSmall.ico", Scale(kSmallIcon));
        if (icons->large == nullptr || icons->small == nullptr) return;
    } else if (!icons_) {
        return;
    }
    // Null icons hand the window back to its class's.
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons ? icons->large : nullptr));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons ? icons->small : nullptr));
    icons_ = std::move(icons);
}

void KVDpiLayout::DrawPicture(QDC& dc, QDC& picture, const RECT& base, int size) const {
    const RECT to = ScaleRect(base);
    const int width = to.right - to.left;
    const int height = to.bottom - to.top;
    if (width == size && height == size) {
        dc.BitBlt(to.left, to.top, size, size, picture, 0, 0, SRCCOPY);
        return;
    }
    // Halftone averages the source pixels each target pixel covers: no stair steps at 125 %
    // or 150 %. It wants the brush origin set after it.
    const int oldMode = dc.SetStretchBltMode(HALFTONE);
    POINT oldOrigin{};
    SetBrushOrgEx(dc.GetHdc(), 0, 0, &oldOrigin);
    const BOOL drawn = StretchBlt(dc.GetHdc(), to.left, to.top, width, height, picture.GetHdc(), 0, 0, size, size,
                                  SRCCOPY);
    if (!drawn) RaiseGen(kFile, "DrawPicture", kLineStretchBlt, 2522);
    SetBrushOrgEx(dc.GetHdc(), oldOrigin.x, oldOrigin.y, nullptr);
    dc.SetStretchBltMode(oldMode);
}
