// Control ids and private messages of the wizard window, kept in one place: the window, the
// tools that show its pages and the driver that plays a user all read them from here.
//   KVControlId   every control of the five pages, the buttons and the form components
//   KVViewMessage the window's private messages
#pragma once

#include <cstdint>

enum KVControlId : int {
    ID_CANCEL = 201,
    ID_QUERYREGISTER_TITLE = 220,
    ID_QUERYREGISTER_SUBTITLE = 221,
    // Text lines "lblInfo1" to "lblInfo7".
    ID_INFO1 = 222,
    ID_MSISDN_LABEL = 229,
    ID_MSISDN = 230,
    ID_USEREMAIL_LABEL = 231,
    ID_USEREMAIL = 232,
    ID_GROUPID_LABEL = 233,
    ID_GROUPID = 234,
    ID_USERNAME_LABEL = 235,
    ID_USERNAME = 236,
    ID_USERPASSWORD_LABEL = 237,
    ID_USERPASSWORD = 238,
    ID_CONTACTPERSON_LABEL = 239,
    ID_CONTACTPERSON = 240,
    ID_CONTACTINFO_LABEL = 241,
    ID_CONTACTINFO = 242,
    ID_COUNTRY_LABEL = 243,
    ID_COUNTRY = 244,
    ID_CONFIRMUSEREMAIL_LABEL = 245,
    ID_CONFIRMUSEREMAIL = 246,
    ID_QUERYREGISTER_NEXT = 247,
    ID_USERINFO_NEXT = 248,
    // The user-info title sends no commands, so it shares its id with the Back button.
    ID_USERINFO_TITLE = 249,
    ID_USERINFO_BACK = 249,
    ID_USERINFO_SUBTITLE = 250,
    // Text lines "lblInfo21" to "lblInfo27".
    ID_INFO21 = 252,
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

enum KVViewMessage : uint32_t {
    // WM_USER + 1: a model notification, its code in the first parameter.
    KVWM_OBSERVER = 0x0400 + 1,
    // WM_USER + 2: shows the window (and, the first time, the model's page) on its own thread.
    KVWM_SHOW = 0x0400 + 2,
    // WM_USER + 3: empties the mobile number and code fields after a message box.
    KVWM_CLEARFIELDS = 0x0400 + 3,
    // WM_USER + 4: starts the country-code service and fills the country list, once the
    // first page is on display.
    KVWM_COUNTRIES = 0x0400 + 4,
};

// The window class every wizard window registers.
constexpr const char kWizardClassName[] = "KV Registration";
