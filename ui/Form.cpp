#include "ui/Form.h"

#include "ui/Application.h"

namespace korventa::ui {
namespace {

void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (style & WS_TABSTOP) stops.push_back(child);
        CollectTabStops(child, stops);
    }
}

bool IsKeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

// ---------------------------------------------------------------------------------------

Control::Control(Form& form, Control* parent, const Bounds& bounds, FontChoice font)
    : form_(form), parent_(parent), bounds_(bounds), font_(font) {}

FontStyle Control::EffectiveFontStyle() const noexcept {
    if (!font_.fromParent) return font_.style;
    return parent_ ? parent_->EffectiveFontStyle() : FontStyle::Regular;
}

HWND Control::ParentHandle() const noexcept { return parent_ ? parent_->Handle() : form_.Handle(); }

void Control::ApplyFont() {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font(EffectiveFontStyle())), TRUE);
}

void Control::ApplyDpi(UINT dpi) {
    ApplyFont();
    const RECT place = PlacementAt(dpi);
    SetWindowPos(Handle(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------

Form::Form(const FormSpec& spec) : spec_(spec) {
    const Application* application = Application::CurrentOrNull();
    RegisterOwnClass(spec.className, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
                     application ? application->Icon() : nullptr, application ? application->SmallIcon() : nullptr);
    const RECT place{spec.position.x, spec.position.y, spec.position.x + spec.clientSize.cx,
                     spec.position.y + spec.clientSize.cy};
    CreateOwn(spec.className, 0, spec.style, spec.caption, place, nullptr, 0);
    // The window exists (hidden) before its size is known: the density is the monitor's.
    ApplyDpi(GetDpiForWindow(Handle()), spec.position);
}

Form::~Form() {
    // The window and its child windows go first; the control objects and fonts after them.
    if (HWND window = Handle(); window && IsWindow(window)) DestroyWindow(window);
}

void Form::ApplyDpi(UINT dpi, POINT position) {
    dpi_ = dpi ? dpi : 96;
    // The old fonts stay alive until every control has been given the new ones.
    auto previousFonts = std::exchange(fonts_, std::make_unique<FontSet>(spec_.font, dpi_));
    // The frame as the window system draws it now, which for a per-monitor aware window is
    // already at the new density; it may differ from what the system metrics predict.
    RECT outer{}, client{};
    GetWindowRect(Handle(), &outer);
    GetClientRect(Handle(), &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(Handle(), nullptr, position.x, position.y, ScaleToDpi(spec_.clientSize.cx, dpi_) + frameWidth,
                 ScaleToDpi(spec_.clientSize.cy, dpi_) + frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // Creation order: a container is placed before what stands on it.
    for (auto& control : controls_) control->ApplyDpi(dpi_);
}

void Form::Show(int showCommand) {
    switch (showCommand) {
    case SW_SHOWMAXIMIZED:
    case SW_SHOWMINNOACTIVE:
        ShowWindow(Handle(), showCommand);
        break;
    default:
        ShowWindow(Handle(), SW_SHOWNORMAL);
        break;
    }
    UpdateWindow(Handle());
}

std::vector<HWND> Form::TabStops() const {
    std::vector<HWND> stops;
    CollectTabStops(Handle(), stops);
    return stops;
}

HWND Form::FirstTabStopIn(HWND container) {
    std::vector<HWND> stops;
    CollectTabStops(container, stops);
    return stops.empty() ? nullptr : stops.front();
}

bool Form::PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
    const bool control = IsKeyDown(VK_CONTROL);
    const bool shift = IsKeyDown(VK_SHIFT);
    for (auto& each : controls_)
        if (each->HandleDialogKey(message.wParam, control, shift)) return true;
    if (message.wParam == VK_TAB && !control) {
        MoveFocus(shift);
        return true;
    }
    return false;
}

void Form::MoveFocus(bool backward) {
    const std::vector<HWND> stops = TabStops();
    if (stops.empty()) return;
    const HWND focus = GetFocus();
    size_t index = stops.size();
    for (size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == focus || IsChild(stops[i], focus)) index = i;
    size_t next;
    if (index == stops.size())
        next = backward ? stops.size() - 1 : 0;
    else
        next = backward ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    // Focus moved by the keyboard shows its rectangle.
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(stops[next]);
}

void Form::RestoreFocus() {
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_) && IsWindowVisible(lastFocus_) &&
        IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    // First activation: the first control in the tab order.
    const std::vector<HWND> stops = TabStops();
    if (!stops.empty()) SetFocus(stops.front());
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_DPICHANGED: {
        const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(LOWORD(wParam), {suggested.left, suggested.top});
        return 0;
    }
    case WM_DESTROY:
        if (isMainForm_) PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace korventa::ui
