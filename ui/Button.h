#pragma once
// A push button. However it is pressed (mouse, Space, or Enter while it has the focus),
// the press arrives as one click, which runs the handler it was given.

#include <windows.h>

#include <functional>

#include "ui/Form.h"

namespace korventa::ui {

class Button : public Control {
public:
    Button(Form& form, Control& parent, const wchar_t* caption, const Bounds& bounds, FontChoice font);

    void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // Runs the click handler, if there is one; what it throws goes to the caller.
    void Click() const;

    void OnCommand(WORD notification) override;
    bool HandleDialogKey(WPARAM key, bool control, bool shift) override;

private:
    std::function<void()> onClick_;
};

}  // namespace korventa::ui
