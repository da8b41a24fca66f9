// The white band at the top of the wizard window with its picture, and the two etched lines.
//   KVWizardHeader   the 32 by 32 picture (the installation's Bitmaps\Register.bmp, else the
//                    library's own) and the drawing of the window's frame around the pages
#pragma once

#include <windows.h>

#include <string>

#include "vuda32/Gdi/QDC.h"

class KVWizardHeader {
public:
    // A header without its picture still leaves a usable wizard: failures are only logged.
    void Load(QDC& reference, const std::string& installRoot);
    // Draws on `dc` for a window of width by height pixels.
    void Paint(QDC& dc, int width, int height);

private:
    QMemDC picture_;
    bool loaded_ = false;
};
