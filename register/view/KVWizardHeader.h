// The white band at the top of the wizard window with its picture, and the two etched lines.
//   KVWizardHeader   the 32 by 32 picture (the installation's Bitmaps\Register.bmp, else the
//                    library's own) and the drawing of the window's frame around the pages
#pragma once

#include <windows.h>

#include <string>

#include "register/view/KVDpiLayout.h"
#include "vuda32/Gdi/QDC.h"

class KVWizardHeader {
public:
    // A header without its picture still leaves a usable wizard: failures are only logged.
    void Load(QDC& reference, const std::string& installRoot);
    // Draws on `dc` for a window laid out at width by height pixels at 96 DPI, scaled by
    // `layout`; the band and the lines reach at least to `clientRight`, where the frame at
    // another scale leaves the client area's edge further out than the layout's width.
    void Paint(QDC& dc, const KVDpiLayout& layout, int width, int height, LONG clientRight);

private:
    QMemDC picture_;
    bool loaded_ = false;
};
