// The wizard window's private messages, kept in one place for the window and the tools that
// watch its thread.
//   KVViewMessage   the messages the window sends and posts to itself
#pragma once

#include <windows.h>

enum KVViewMessage : UINT {
    // A model notification, its code in the first parameter.
    KVWM_OBSERVER = WM_USER + 1,
    // Shows the window (and, the first time, the model's page) on its own thread.
    KVWM_SHOW = WM_USER + 2,
    // Empties the fields the model names after a message box.
    KVWM_CLEARFIELDS = WM_USER + 3,
    // Starts the country-code service and fills the country list, once the first page is on
    // display.
    KVWM_COUNTRIES = WM_USER + 4,
};
