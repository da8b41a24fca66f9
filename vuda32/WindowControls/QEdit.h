// Edit controls.
//   QEdit   a subclassed edit control; optionally moves the focus on with Tab itself
#pragma once

#include "vuda32/WindowControls/QControl.h"

class QEdit : public QSubclassedControl {
public:
    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    void SetDefault() override;

    void SetText(const std::string& text);
    // Returns 1.
    int GetText(std::string& text);
    void SetSel(int start, int end);
    // 1 when the selection was copied, 2 (and empty text) when there is none.
    int GetSelectedText(std::string& text);
    void SetTabNavigation(bool on) { m_tabNavigation = on; }
    bool GetTabNavigation() const { return m_tabNavigation; }

private:
    bool m_tabNavigation = false;
};
