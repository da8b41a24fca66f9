// Control ids of the wizard window, kept in one place: the window, the tools that show its
// pages and the driver that plays a user all read them from here (no <windows.h>).
//   KVControlId   the controls of the five pages that register.cfg does not place
#pragma once

enum KVControlId : int {
    ID_CANCEL = 201,
    ID_QUERYREGISTER_TITLE = 220,
    ID_QUERYREGISTER_SUBTITLE = 221,
    // 222 to 258 but 247 to 250: the form components (KVFormComponents.h).
    ID_QUERYREGISTER_NEXT = 247,
    ID_USERINFO_NEXT = 248,
    // The user-info title sends no commands, so it shares its id with the Back button.
    ID_USERINFO_TITLE = 249,
    ID_USERINFO_BACK = 249,
    ID_USERINFO_SUBTITLE = 250,
    ID_PENDING_TITLE = 260,
    ID_PENDING_SUBTITLE = 261,
    ID_PENDING_TEXT1 = 262,
    ID_PENDING_TEXT2 = 263,
    // The validation and information pages are never shown together and share 280 to 282
    // and the id of their default button.
    ID_VALIDATE_TITLE = 280,
    ID_VALIDATE_SUBTITLE = 281,
    ID_VALIDATE_TEXT1 = 282,
    ID_VALIDATE_TEXT2 = 283,
    ID_REGCODE_LABEL = 284,
    ID_REGCODE = 285,
    ID_VALIDATE_FINISH = 286,
    ID_VALIDATE_BACK = 287,
    ID_REGISTERINFO_TITLE = 280,
    ID_REGISTERINFO_SUBTITLE = 281,
    ID_REGISTERINFO_TEXT = 282,
    ID_REGISTERINFO_OK = 286,
};

// The window class every wizard window registers.
constexpr const char kWizardClassName[] = "KV Registration";
