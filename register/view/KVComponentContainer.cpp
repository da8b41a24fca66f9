#include "register/view/KVComponentContainer.h"

#include "vuda32/Window/QWinBase.h"

void KVComponentContainer::Add(QWinBase* window) { components_.push_back(window); }

template <typename F>
void KVComponentContainer::ForEachWindow(F action) {
    // A control that a failed layout never created has no window and is left alone.
    for (QWinBase* window : components_)
        if (window != nullptr && window->GetHwnd() != nullptr) action(window->GetHwnd());
}

void KVComponentContainer::ShowAll() {
    ForEachWindow([](HWND hwnd) { ::ShowWindow(hwnd, SW_SHOWNORMAL); });
}

void KVComponentContainer::HideAll() {
    ForEachWindow([](HWND hwnd) { ::ShowWindow(hwnd, SW_HIDE); });
}

void KVComponentContainer::EnableAll(const std::function<bool(const QWinBase*)>& wanted) {
    for (QWinBase* window : components_)
        if (window != nullptr && window->GetHwnd() != nullptr)
            ::EnableWindow(window->GetHwnd(), wanted(window) ? TRUE : FALSE);
}

void KVComponentContainer::DisableAll() {
    ForEachWindow([](HWND hwnd) { ::EnableWindow(hwnd, FALSE); });
}
