#pragma once
// A form: one top-level window and the controls on it, laid out in pixels at 96 dpi and
// scaled to the density of the monitor the window is on. The form owns its controls;
// they are destroyed with it.

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "ui/Fonts.h"
#include "ui/Window.h"

namespace korventa::ui {

class Form;

class Control : public Window {
public:
    Form& OwnerForm() const noexcept { return form_; }
    Control* ParentControl() const noexcept { return parent_; }
    FontStyle EffectiveFontStyle() const noexcept;

    // Places the control and gives it its font for the form's density.
    virtual void ApplyDpi(UINT dpi);

    // A key the form offers to every control before the window of the focus sees it;
    // true when the control has used it.
    virtual bool HandleDialogKey(WPARAM /*key*/, bool /*control*/, bool /*shift*/) { return false; }

protected:
    // parent: the control this one stands on, or null for the form's client area.
    Control(Form& form, Control* parent, const Bounds& bounds, FontChoice font);

    HWND ParentHandle() const noexcept;
    const Bounds& DesignBounds() const noexcept { return bounds_; }
    // Where the control stands in its parent's client area at this density.
    virtual RECT PlacementAt(UINT dpi) const { return ScaleToDpi(bounds_, dpi); }
    // Gives a newly created window its font.
    void ApplyFont();

private:
    Form& form_;
    Control* parent_;
    Bounds bounds_;
    FontChoice font_;
};

struct FormSpec {
    const wchar_t* className;
    const wchar_t* caption;
    POINT position;   // the outer top-left corner, on the screen
    SIZE clientSize;  // at 96 dpi
    DWORD style;
    FontSpec font;
};

class Form : public Window {
public:
    explicit Form(const FormSpec& spec);
    ~Form() override;

    UINT Dpi() const noexcept { return dpi_; }
    HFONT Font(FontStyle style) const noexcept { return fonts_->Get(style); }

    // Creates a control on this form; the form owns it.
    template <typename ControlType, typename... Args>
    ControlType& Add(Args&&... args) {
        auto control = std::make_unique<ControlType>(*this, std::forward<Args>(args)...);
        ControlType& added = *control;
        controls_.push_back(std::move(control));
        return added;
    }
    // Control ids start well above IDOK and IDCANCEL.
    UINT NextControlId() noexcept { return nextControlId_++; }

    // Shows the window as the start-up request asks: maximised, minimised without
    // activation, or otherwise at its designed place and size.
    void Show(int showCommand);

    // Keyboard handling of the form, before the message is dispatched: Tab and Shift+Tab
    // through the visible controls in creation order, and whatever a control claims.
    bool PreTranslateMessage(const MSG& message);

    // The main form ends the event loop when its window is destroyed.
    void SetMainForm() noexcept { isMainForm_ = true; }

    // The visible, enabled tab stops in creation order, descending into containers.
    std::vector<HWND> TabStops() const;
    static HWND FirstTabStopIn(HWND container);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyDpi(UINT dpi, POINT position);
    void MoveFocus(bool backward);
    void RestoreFocus();

    FormSpec spec_;
    UINT dpi_ = 96;
    std::unique_ptr<FontSet> fonts_;
    std::vector<std::unique_ptr<Control>> controls_;
    UINT nextControlId_ = 1000;
    bool isMainForm_ = false;
    HWND lastFocus_ = nullptr;
};

}  // namespace korventa::ui
