// Whether the text of a label or push button fits what a person sees of its control, measured
// in the control's own font as the control draws it. The preview reports what does not fit;
// the end-to-end tests check that nothing of the shipped wording is cut off.
//   KVTextFit          what the text needs and what the control shows
//   KVMeasureTextFit   measures one control of the wizard
#pragma once

#include <windows.h>

#include <string>

struct KVTextFit {
    // False for a control that is no label or push button, shows no text, or lies wholly
    // outside the window: nothing was measured.
    bool measured = false;
    int neededWidth = 0, neededHeight = 0;
    int width = 0, height = 0;  // of the text area a person sees
    std::string font;           // "Tahoma 16 px"

    bool Fits() const { return !measured || (neededWidth <= width && neededHeight <= height); }
};

KVTextFit KVMeasureTextFit(HWND control);
