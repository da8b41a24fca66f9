// Static controls.
//   QStatic   a label; not subclassed, its messages stay with the platform
#pragma once

#include "vuda32/WindowControls/QControl.h"

class QStatic : public QControl {
public:
    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    void SetDefault() override;

    // For the answer to the control-colour message: draws the text on a transparent
    // background and hands back the hollow brush (16501 on failure).
    HBRUSH ChangeColor(HDC dc);
};
