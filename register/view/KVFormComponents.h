// The components a register.cfg may place on the two form pages, and the texts of the
// window's own controls: one table each, read by the file's reader, the window, the preview
// and the driver (no <windows.h>).
//   KVComponentKind     text line, edit field, masked edit field or country list
//   KVComponentNumber   the numbers of the components that take input
//   KVComponentRow      one component: its number, control ids, label key and default text,
//                       kind, required bit and the model's notification for its text
//   KVControlKind       label, button or default button
//   KVPageText          one of the window's own texts: its page, control, key and default
// Free functions: KVFindComponent, KVComponentWithInput, KVComponentWithNotification,
// KVFindPageText, KVInputId, KVLabelId.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "register/model/KVModelCodes.h"
#include "register/view/KVRegisterViewIds.h"

enum class KVComponentKind { TextLine, Edit, Password, Country };

enum KVComponentNumber : int {
    COMPONENT_MSISDN = 8,
    COMPONENT_USEREMAIL = 9,
    COMPONENT_GROUPID = 10,
    COMPONENT_USERNAME = 11,
    COMPONENT_USERPASSWORD = 12,
    COMPONENT_CONTACTPERSON = 13,
    COMPONENT_CONTACTINFO = 14,
    COMPONENT_COUNTRY = 15,
    COMPONENT_CONFIRMUSEREMAIL = 16,
};
// Text lines 1 to 7 and 21 to 27 and the nine components above.
constexpr size_t kComponentCount = 7 + (COMPONENT_CONFIRMUSEREMAIL - COMPONENT_MSISDN + 1) + 7;
// Numbers above this one are unknown.
constexpr int kHighestComponent = 27;

struct KVComponentRow {
    int number;
    int labelControlId;
    int inputControlId;       // 0 for text lines
    const char* labelKey;     // language-table key of the label
    const char* defaultLabel; // the label's text when the language table has none
    KVComponentKind kind;
    uint32_t requiredBit;     // 0 for text lines and the country list
    uint32_t notification;    // the model's code for a change of the component's text; 0: none
};

// A line of text the file may place: its number, its label's id and its key "lblInfo<number>";
// it has no default text, no input and no required bit.
#define KV_TEXT_LINE(number, labelId) {number, labelId, 0, "lblInfo" #number, "", KVComponentKind::TextLine, 0, 0}

inline constexpr KVComponentRow kFormComponents[] = {
    KV_TEXT_LINE(1, 222), KV_TEXT_LINE(2, 223), KV_TEXT_LINE(3, 224), KV_TEXT_LINE(4, 225),
    KV_TEXT_LINE(5, 226), KV_TEXT_LINE(6, 227), KV_TEXT_LINE(7, 228),
    {COMPONENT_MSISDN, 229, 230, "lblMsisdn", "Mobile Phone Number:", KVComponentKind::Edit, 1,
     KVNotifications::NOTIFY_MSISDN},
    {COMPONENT_USEREMAIL, 231, 232, "lblUserEmail", "Email:", KVComponentKind::Edit, 2,
     KVNotifications::NOTIFY_USEREMAIL},
    {COMPONENT_GROUPID, 233, 234, "lblGroupId", "Group Name:", KVComponentKind::Edit, 4,
     KVNotifications::NOTIFY_GROUPID},
    {COMPONENT_USERNAME, 235, 236, "lblUserName", "Name:", KVComponentKind::Edit, 8,
     KVNotifications::NOTIFY_USERNAME},
    {COMPONENT_USERPASSWORD, 237, 238, "lblUserPassword", "Password:", KVComponentKind::Password, 16,
     KVNotifications::NOTIFY_USERPASSWORD},
    {COMPONENT_CONTACTPERSON, 239, 240, "lblContactPerson", "Name:", KVComponentKind::Edit, 32,
     KVNotifications::NOTIFY_CONTACTPERSON},
    {COMPONENT_CONTACTINFO, 241, 242, "lblContactInfo", "Phone Number:", KVComponentKind::Edit, 64,
     KVNotifications::NOTIFY_CONTACTINFO},
    {COMPONENT_COUNTRY, 243, 244, "lblCountry", "Country:", KVComponentKind::Country, 0,
     KVNotifications::NOTIFY_COUNTRY},
    // The confirmation shares the e-mail field's bit: one required flag covers both.
    {COMPONENT_CONFIRMUSEREMAIL, 245, 246, "lblConfirmUserEmail", "Confirm email:", KVComponentKind::Edit, 2,
     KVNotifications::NOTIFY_CONFIRMUSEREMAIL},
    KV_TEXT_LINE(21, 252), KV_TEXT_LINE(22, 253), KV_TEXT_LINE(23, 254), KV_TEXT_LINE(24, 255),
    KV_TEXT_LINE(25, 256), KV_TEXT_LINE(26, 257), KV_TEXT_LINE(27, 258),
};
#undef KV_TEXT_LINE
static_assert(std::size(kFormComponents) == kComponentCount, "one row per component");

// Null for every number the file may not use (0, 17..20, above 27, negative).
constexpr const KVComponentRow* KVFindComponent(int number) {
    for (const KVComponentRow& row : kFormComponents)
        if (row.number == number) return &row;
    return nullptr;
}

// The row whose input control has this id; null for any other id.
constexpr const KVComponentRow* KVComponentWithInput(int controlId) {
    for (const KVComponentRow& row : kFormComponents)
        if (row.inputControlId != 0 && row.inputControlId == controlId) return &row;
    return nullptr;
}

// The row whose text the model announces with this code; null for any other code.
constexpr const KVComponentRow* KVComponentWithNotification(uint32_t code) {
    for (const KVComponentRow& row : kFormComponents)
        if (row.notification != 0 && row.notification == code) return &row;
    return nullptr;
}

constexpr int KVInputId(KVComponentNumber number) { return KVFindComponent(number)->inputControlId; }
constexpr int KVLabelId(int number) { return KVFindComponent(number)->labelControlId; }

constexpr bool KVComponentsAreConsistent() {
    for (size_t i = 0; i < std::size(kFormComponents); ++i) {
        const KVComponentRow& row = kFormComponents[i];
        const bool input = row.kind != KVComponentKind::TextLine;
        if (row.number < 1 || row.number > kHighestComponent) return false;
        if (input != (row.inputControlId != 0) || input != (row.notification != 0)) return false;
        if ((row.requiredBit != 0) != (row.kind == KVComponentKind::Edit || row.kind == KVComponentKind::Password))
            return false;
        for (size_t j = 0; j < i; ++j) {
            const KVComponentRow& other = kFormComponents[j];
            if (other.number >= row.number || other.labelControlId == row.labelControlId) return false;
            if (input && other.inputControlId == row.inputControlId) return false;
        }
    }
    return true;
}
static_assert(KVComponentsAreConsistent(),
              "numbers ascend and are known, control ids are unique, and inputs have a notification");

enum class KVControlKind { Label, Button, DefaultButton };

struct KVPageText {
    int32_t page;  // PAGE_NONE: shown on every page
    int controlId;
    KVControlKind kind;
    const char* key;
    const char* defaultText;
};

// Ids are shared between pages, and on the user-info page between its title and Back.
inline constexpr KVPageText kPageTexts[] = {
    {KVPages::PAGE_QUERYREGISTER, ID_QUERYREGISTER_TITLE, KVControlKind::Label, "lblQueryRegisterTitle",
     "Registration"},
    {KVPages::PAGE_QUERYREGISTER, ID_QUERYREGISTER_SUBTITLE, KVControlKind::Label, "lblQueryRegisterSubTitle",
     "This wizard will help you to register an account."},
    {KVPages::PAGE_QUERYREGISTER, ID_QUERYREGISTER_NEXT, KVControlKind::DefaultButton, "cmdQueryRegisterNext",
     "&Next >"},
    {KVPages::PAGE_USERINFO, ID_USERINFO_TITLE, KVControlKind::Label, "lblUserInfoTitle", "Registration"},
    {KVPages::PAGE_USERINFO, ID_USERINFO_SUBTITLE, KVControlKind::Label, "lblUserInfoSubTitle",
     "This wizard will help you to register an account."},
    {KVPages::PAGE_USERINFO, ID_USERINFO_BACK, KVControlKind::Button, "cmdUserInfoBack", "< &Back"},
    {KVPages::PAGE_USERINFO, ID_USERINFO_NEXT, KVControlKind::DefaultButton, "cmdUserInfoNext", "&Next >"},
    {KVPages::PAGE_PENDING, ID_PENDING_TITLE, KVControlKind::Label, "lblPendingTitle", "Registering"},
    {KVPages::PAGE_PENDING, ID_PENDING_SUBTITLE, KVControlKind::Label, "lblPendingSubTitle",
     "Communicating with server."},
    {KVPages::PAGE_PENDING, ID_PENDING_TEXT1, KVControlKind::Label, "lblPending1",
     "The program is communicating with the server to see if you are allowed to register."},
    {KVPages::PAGE_PENDING, ID_PENDING_TEXT2, KVControlKind::Label, "lblPending2", "Please wait."},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_TITLE, KVControlKind::Label, "lblValidateTitle", "Validation"},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_SUBTITLE, KVControlKind::Label, "lblValidateSubTitle",
     "Assure the validity of the mobile phone number."},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_TEXT1, KVControlKind::Label, "lblValidate1",
     "A registration code has been sent to your mobile phone. This should arrive to you within a minute. "
     "Enter this registration code below to complete the registration."},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_TEXT2, KVControlKind::Label, "lblValidate2",
     "The registration code was sent to the mobile phone number <msisdn>."},
    {KVPages::PAGE_VALIDATE, ID_REGCODE_LABEL, KVControlKind::Label, "lblRegCode", "&Registration Code:"},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_BACK, KVControlKind::Button, "cmdValidateBack", "< &Back"},
    {KVPages::PAGE_VALIDATE, ID_VALIDATE_FINISH, KVControlKind::DefaultButton, "cmdValidateFinish", "&Finish"},
    {KVPages::PAGE_REGISTERINFO, ID_REGISTERINFO_TITLE, KVControlKind::Label, "lblRegisterInfoTitle", "Information"},
    {KVPages::PAGE_REGISTERINFO, ID_REGISTERINFO_SUBTITLE, KVControlKind::Label, "lblRegisterInfoSubTitle",
     "Registration successful."},
    {KVPages::PAGE_REGISTERINFO, ID_REGISTERINFO_TEXT, KVControlKind::Label, "lblRegisterInfo1",
     "An email message has been sent to your email address. Verify that this message arrives, because reply SMS "
     "messages sent to you will be sent to this email address."},
    {KVPages::PAGE_REGISTERINFO, ID_REGISTERINFO_OK, KVControlKind::DefaultButton, "cmdRegisterInfoOK", "OK"},
    {KVPages::PAGE_NONE, ID_CANCEL, KVControlKind::Button, "cmdCancel", "Cancel"},
};

// The text of a control on a page (or on every page); null when the pair has none.
constexpr const KVPageText* KVFindPageText(int32_t page, int controlId, bool isButton) {
    for (const KVPageText& text : kPageTexts)
        if ((text.page == page || text.page == KVPages::PAGE_NONE) && text.controlId == controlId &&
            (text.kind != KVControlKind::Label) == isButton)
            return &text;
    return nullptr;
}
