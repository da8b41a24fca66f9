// The codes the wizard model announces, for the model, the window, the driver and the tools,
// with the pages' names side by side (no <windows.h>).
//   KVPages       the page numbers (also the codes of the model's page notifications)
//   KVNotifications  the codes of the model's other notifications
//   KVPageNames   the names of one page: the model's constant, the host's short name, the
//                 preview's title
//   KVFirstShow   the page a window shows when it first shows itself
// Free functions: KVNamesOf, KVPageOfField, KVFirstShownPage, KVAnnouncedWith, KVFieldBit,
// KVWipedOnShow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

struct KVPages {
    enum Page : int32_t {
        PAGE_NONE = 0,
        PAGE_QUERYREGISTER = 1,
        PAGE_USERINFO = 2,
        PAGE_PENDING = 3,
        PAGE_VALIDATE = 4,
        PAGE_REGISTERINFO = 5,
    };
    static constexpr int kCount = PAGE_REGISTERINFO + 1;
};

struct KVNotifications {
    // Besides the page numbers 1 to 5.
    enum Notification : uint32_t {
        NOTIFY_MSISDN = 10,
        NOTIFY_USEREMAIL = 11,
        NOTIFY_GROUPID = 12,
        NOTIFY_USERNAME = 13,
        NOTIFY_USERPASSWORD = 14,
        NOTIFY_CONTACTPERSON = 15,
        NOTIFY_CONTACTINFO = 16,
        NOTIFY_COUNTRY = 17,
        NOTIFY_CONFIRMUSEREMAIL = 18,
        NOTIFY_REGCODE = 19,
        // Never sent by the model (it enables controls by showing a page); the window still
        // honours it, as it does every code of its table.
        NOTIFY_CONTROLSENABLED = 20,
        NOTIFY_CONTROLSDISABLED = 21,
        NOTIFY_ENDING = 30,
        NOTIFY_MESSAGE = 40,
    };
};

struct KVPageNames {
    KVPages::Page page;
    const char* constant;   // "PAGE_QUERYREGISTER"
    const char* shortName;  // "query", as a host's options name it
    const char* title;      // "query-register", as reports and pictures name it
};

inline constexpr KVPageNames kPageNames[] = {
    {KVPages::PAGE_NONE, "PAGE_NONE", "none", "none"},
    {KVPages::PAGE_QUERYREGISTER, "PAGE_QUERYREGISTER", "query", "query-register"},
    {KVPages::PAGE_USERINFO, "PAGE_USERINFO", "userinfo", "user-info"},
    {KVPages::PAGE_PENDING, "PAGE_PENDING", "pending", "pending"},
    {KVPages::PAGE_VALIDATE, "PAGE_VALIDATE", "validate", "validate"},
    {KVPages::PAGE_REGISTERINFO, "PAGE_REGISTERINFO", "info", "register-info"},
};
static_assert(std::size(kPageNames) == KVPages::kCount, "one row of names per page");

constexpr bool KVPageNamesInOrder() {
    for (size_t i = 0; i < std::size(kPageNames); ++i)
        if (kPageNames[i].page != static_cast<int32_t>(i)) return false;
    return true;
}
static_assert(KVPageNamesInOrder(), "the names are indexed by page number");

// The names of a page number; a number that is no page gets those of PAGE_NONE.
constexpr const KVPageNames& KVNamesOf(int32_t page) {
    return page > 0 && page < KVPages::kCount ? kPageNames[page] : kPageNames[0];
}

// The form page that a component's page field puts it on: the field counts back from the
// number of form pages, so with one form page field 0 is the user-info page. PAGE_NONE for
// any other difference. The difference is taken wide so that no field can overflow it.
constexpr KVPages::Page KVPageOfField(int32_t userInterface, int32_t field) {
    const int64_t fromEnd = int64_t{userInterface} - field;
    return fromEnd == 2 ? KVPages::PAGE_QUERYREGISTER : fromEnd == 1 ? KVPages::PAGE_USERINFO : KVPages::PAGE_NONE;
}

struct KVFirstShow {
    KVPages::Page page = KVPages::PAGE_NONE;  // PAGE_NONE: the window shows nothing yet
    bool failed = false;                      // the window cannot show the run
};

// What a window shows first, from the model's page and its number of form pages: the page
// already chosen (the information page only when a step announces it), else the first form
// page. Without form pages the first step hands the registration over at once and the pages
// come as the model announces them; any other number of form pages cannot be shown.
constexpr KVFirstShow KVFirstShownPage(int32_t page, int32_t userInterface) {
    if (page >= KVPages::PAGE_QUERYREGISTER && page <= KVPages::PAGE_VALIDATE)
        return {static_cast<KVPages::Page>(page), false};
    if (userInterface == 1) return {KVPages::PAGE_USERINFO, false};
    if (userInterface == 2) return {KVPages::PAGE_QUERYREGISTER, false};
    return {KVPages::PAGE_NONE, userInterface != 0 || page != KVPages::PAGE_NONE};
}

// What a page announces besides itself, 0 for nothing: the user-info page shows the
// country to select in its list.
constexpr uint32_t KVAnnouncedWith(int32_t page) {
    return page == KVPages::PAGE_USERINFO ? KVNotifications::NOTIFY_COUNTRY : 0u;
}

// A field by the code that announces its text (NOTIFY_MSISDN to NOTIFY_REGCODE), as one bit.
constexpr uint32_t KVFieldBit(uint32_t code) {
    return code >= KVNotifications::NOTIFY_MSISDN && code <= KVNotifications::NOTIFY_REGCODE
               ? 1u << (code - KVNotifications::NOTIFY_MSISDN)
               : 0u;
}

// The fields a window empties on the screen (the model keeps their texts): after a message
// box the number and the code are typed again, and the validation page asks for the code
// sent to a number that is no longer shown.
inline constexpr uint32_t kWipedAfterMessage =
    KVFieldBit(KVNotifications::NOTIFY_MSISDN) | KVFieldBit(KVNotifications::NOTIFY_REGCODE);
constexpr uint32_t KVWipedOnShow(int32_t page) {
    return page == KVPages::PAGE_VALIDATE ? KVFieldBit(KVNotifications::NOTIFY_MSISDN) : 0u;
}
