// Buttons.
//   QButton   a subclassed button: push, radio or any style the caller gives
#pragma once

#include "vuda32/Window/QWinBase.h"

class QButton : public QWinBase {
public:
    ~QButton() override;
    using QWinBase::Create;
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                DWORD style, DWORD exStyle);
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title);
    // A button of the given style, made a visible child.
    bool Create(QWinBase* parent, DWORD style, int id, const RECT& rect,
                const std::string& title);
    // A radio button; automatic ones check themselves when clicked.
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                bool automatic);

    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    void SetDefault() override;
    void Attach() override;

private:
    WNDPROC m_previous = nullptr;
};
