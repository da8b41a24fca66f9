// Buttons.
//   QButton   a subclassed button: push, radio or any style the caller gives
#pragma once

#include "vuda32/WindowControls/QControl.h"

class QButton : public QSubclassedControl {
public:
    using QSubclassedControl::Create;
    // A button of the given style, made a visible child.
    bool Create(QWinBase* parent, DWORD style, int id, const RECT& rect,
                const std::string& title);
    // A radio button; automatic ones check themselves when clicked.
    bool Create(QWinBase* parent, int id, const RECT& rect, const std::string& title,
                bool automatic);

    void SetDefault() override;
};
