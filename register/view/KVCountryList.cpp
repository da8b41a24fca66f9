#include "register/view/KVCountryList.h"

#include <string_view>

#include "common/KVCountryCodesWrapper.h"

bool KVFillCountryList(QCombobox& list) {
    KVCountryCodesWrapper& service = KVCountryCodesWrapper::Instance();
    int status = 0;
    const std::string countries = service.GetCountries(&status);
    if (status != 0) return false;
    // Drawn once when filled, not after every entry: a shown list (the user-info page may be
    // the first) would otherwise redraw for each of its entries.
    list.SendMessage(WM_SETREDRAW, FALSE, 0);
    std::string_view rest(countries);
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        const std::string code(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (code.empty()) continue;
        KVCountryInfo info;
        if (service.GetCountryInfo(code, info) == 0) list.AddString(info.GetName());
    }
    list.SendMessage(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.GetHwnd(), nullptr, TRUE);
    const LRESULT count = list.SendMessage(CB_GETCOUNT, 0, 0);
    return count != CB_ERR && count > 0;
}

void KVSelectCountry(QCombobox& list, const std::string& name) {
    if (list.GetHwnd() == nullptr) return;
    const LRESULT count = list.SendMessage(CB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; i < count && found < 0; ++i) {
        std::string entry;
        list.GetText(static_cast<int>(i), entry);
        if (entry == name) found = i;
    }
    list.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}
