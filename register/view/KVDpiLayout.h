// The wizard window at its display scale.
//   KVDpiLayout   the DPI the window is laid out at, every control's 96-DPI rectangle, the
//                 two fonts and the window's icons at that DPI; lays everything out again when
//                 the window's DPI changes
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "register/view/KVDpiScale.h"

class QDC;
class QFont;
class QWinBase;

class KVDpiLayout {
public:
    KVDpiLayout();
    ~KVDpiLayout();
    KVDpiLayout(const KVDpiLayout&) = delete;
    KVDpiLayout& operator=(const KVDpiLayout&) = delete;

    // The window's DPI where the system tells it per window (looked up at run time: older
    // systems lack it), else the screen's; the screen's for a null window. Fonts and
    // rectangles both take this one value.
    static int WindowDpi(HWND window);

    void SetDpi(int dpi) { scale_ = KVDpiScale(dpi); }
    int Dpi() const { return scale_.Dpi(); }
    int Scale(int pixels) const { return scale_.Scale(pixels); }
    RECT ScaleRect(const RECT& base) const { return scale_.ScaleRect(base); }

    // Remembers where the control stands at 96 DPI and answers the rectangle to create it
    // with at the current DPI.
    RECT Place(QWinBase& control, const RECT& base);
    // Every control placed and created, moved to its rectangle at the current DPI.
    void MoveControls();

    // Tahoma 8 points, normal and bold, at the current DPI. Fonts made before stay alive
    // until ReleaseOldFonts, so that controls showing them can be given the new ones first.
    void CreateFonts();
    void ReleaseOldFonts();
    HFONT NormalFont() const;
    HFONT BoldFont() const;

    // The installation's icons at the sizes the current DPI asks for, as the window's own;
    // at 96 DPI the window class's icons, which have those sizes. Both or none, as for the
    // class. Failures leave the icons the window had.
    void SetWindowIcons(HWND window, const std::string& iconFolder);

    // Draws the picture's top left size x size pixels into the 96-DPI square `base`, scaled
    // smoothly when the DPI asks for another size.
    void DrawPicture(QDC& dc, QDC& picture, const RECT& base, int size) const;

private:
    struct Placed {
        QWinBase* control;
        RECT base;
    };
    struct Icons;

    KVDpiScale scale_;
    std::vector<Placed> placed_;
    std::unique_ptr<QFont> normal_, bold_;
    std::vector<std::unique_ptr<QFont>> old_;
    std::unique_ptr<Icons> icons_;
};
