#include "ui/Button.h"

namespace korventa::ui {

Button::Button(Form& form, Control& parent, const wchar_t* caption, const Bounds& bounds, FontChoice font)
    : Control(form, &parent, bounds, font) {
    CreateSystem(L"BUTTON", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, caption, PlacementAt(form.Dpi()),
                 parent.Handle(), form.NextControlId());
    ApplyFont();
}

void Button::Click() const {
    if (onClick_) onClick_();
}

void Button::OnCommand(WORD notification) {
    if (notification == BN_CLICKED) Click();
}

bool Button::HandleDialogKey(WPARAM key, bool control, bool /*shift*/) {
    // The window has no default button: Enter presses the button that has the focus.
    if (key != VK_RETURN || control || GetFocus() != Handle()) return false;
    Click();
    return true;
}

}  // namespace korventa::ui
