// Combo boxes.
//   QCombobox   a subclassed combo box (and its edit field) that keeps the combo box's
//               automatic select-all after a move from reaching the text when the user is
//               not typing in it
#pragma once

#include "vuda32/WindowControls/QControl.h"

class QCombobox : public QSubclassedControl {
public:
    ~QCombobox() override;

    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    void SetDefault() override;
    void Attach() override;

    // Returns the index of the new item (15001 on failure).
    LRESULT AddString(const std::string& text);
    // The text of the edit field (or of the selection); returns 1.
    int GetText(std::string& text);
    // The text of list item index; returns 1 (15002 / 15003 on failure).
    int GetText(int index, std::string& text);
    HWND GetEditHwnd() const { return m_editHwnd; }

private:
    WNDPROC m_editPrevious = nullptr;
    HWND m_editHwnd = nullptr;
    bool m_suppressSelection = false;
};
