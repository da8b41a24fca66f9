// What the wizard shows, as pixels on the screen and as PNG files.
#include "driver/KVWizardDriver.h"

#include "driver/KVPng.h"

void KVWizardDriver::Refresh() {
    HWND wizard = FindWizard();
    if (!wizard) throw KVDriverError("no wizard window to look at");
    Settle();
    RedrawWindow(wizard, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
}

COLORREF KVWizardDriver::ClientPixel(int x, int y) {
    Refresh();
    POINT at{x, y};
    ClientToScreen(wizard_, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

KVRgbImage KVWizardDriver::Capture() {
    Refresh();
    RECT rect;
    GetWindowRect(wizard_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) throw KVDriverError("the wizard window has no size");

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height));
    const int rows = copied ? GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bits.data(), &format, DIB_RGB_COLORS) : 0;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) throw KVDriverError("cannot read the screen under the wizard window");

    KVRgbImage picture;
    picture.width = static_cast<uint32_t>(width);
    picture.height = static_cast<uint32_t>(height);
    picture.rgb.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* bgr = &bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
            picture.rgb.insert(picture.rgb.end(), {bgr[2], bgr[1], bgr[0]});
        }
    return picture;
}

void KVWizardDriver::SavePng(const std::string& path) { WritePng(Capture(), path); }

void KVWizardDriver::WritePng(const KVRgbImage& picture, const std::string& path) {
    const std::string png = KVPng::Encode(picture.width, picture.height, picture.rgb);
    if (png.empty()) throw KVDriverError("no picture to write to " + path);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw KVDriverError("cannot create " + path);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != png.size()) throw KVDriverError("cannot write " + path);
}
