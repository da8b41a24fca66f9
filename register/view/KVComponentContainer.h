// The controls of one wizard page.
//   KVComponentContainer   the page's windows in creation order (not owned: they are members
//                          of the wizard window) and the page's accelerator table
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "vuda32/Utility/QAccelerator.h"

class QWinBase;

class KVComponentContainer {
public:
    void Add(QWinBase* window);
    void ShowAll();
    void HideAll();
    // Enables or disables each window as `wanted` says.
    void EnableAll(const std::function<bool(const QWinBase*)>& wanted);
    void DisableAll();
    // The table and its handle slot, for the window to fill and build.
    QAccelerator& GetAccelerator() { return accelerator_; }
    HACCEL& GetAcceleratorHandle() { return acceleratorHandle_; }
    const std::vector<QWinBase*>& GetComponents() const { return components_; }

private:
    template <typename F>
    void ForEachWindow(F action);

    std::vector<QWinBase*> components_;
    QAccelerator accelerator_;
    HACCEL acceleratorHandle_ = nullptr;
};
