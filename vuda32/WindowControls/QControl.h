// The bases of the control classes.
//   QControl             a control over one of the platform's control classes, with the two
//                        creation forms every control has
//   QSubclassedControl   a control whose messages reach its object: it keeps the class's own
//                        procedure and hands it everything the object does not take
#pragma once

#include <string>

#include "vuda32/Window/QWinBase.h"

class QControl : public QWinBase {
public:
    using QWinBase::Create;
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                DWORD style, DWORD exStyle) {
        return CreateControl(parent, id, rect, title, style, exStyle);
    }
    // With the class's default styles.
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title) {
        return CreateControl(parent, id, rect, title);
    }
};

class QSubclassedControl : public QControl {
public:
    ~QSubclassedControl() override { Unsubclass(GetHwnd(), m_previous); }
    void Attach() override { m_previous = Subclass(GetHwnd()); }
    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override {
        return ForwardToClass(hwnd, message, wParam, lParam, result, extra);
    }

protected:
    // Nothing when the call is not the object's own (extra); an accelerator's command goes
    // to the parent first; the rest to the class's own procedure (or to `previous`, for a
    // window of the control's own, such as a combo box's edit field).
    bool ForwardToClass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                        bool extra, WNDPROC previous = nullptr) {
        if (extra)
            return false;
        if (OfferAcceleratorToParent(hwnd, message, wParam, lParam, result))
            return true;
        result = CallWindowProcA(previous ? previous : m_previous, hwnd, message, wParam, lParam);
        return true;
    }

private:
    WNDPROC m_previous = nullptr;
};
