#include "ui/Window.h"

#include <exception>

#include "ui/Application.h"
#include "ui/Exceptions.h"

namespace korventa::ui {
namespace {

// Marks a window as ours and leads back to its object.
constexpr wchar_t kObjectProperty[] = L"Korventa.Window";

}  // namespace

RECT ScaleToDpi(const Bounds& bounds, UINT dpi) {
    const int left = ScaleToDpi(bounds.left, dpi);
    const int top = ScaleToDpi(bounds.top, dpi);
    return {left, top, left + ScaleToDpi(bounds.width, dpi), top + ScaleToDpi(bounds.height, dpi)};
}

Window::~Window() {
    if (!handle_) return;
    const HWND window = handle_;
    const bool stillOurs = IsWindow(window) && GetPropW(window, kObjectProperty) == this;
    // Detached first: the messages of the destruction must not reach an object that is
    // half destroyed.
    Detach();
    if (stillOurs) DestroyWindow(window);
}

Window* Window::FromHandle(HWND window) noexcept {
    return window ? static_cast<Window*>(GetPropW(window, kObjectProperty)) : nullptr;
}

void Window::RegisterOwnClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon, HICON smallIcon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) throw Exception(L"Error creating window class");
}

void Window::CreateOwn(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, const RECT& rect,
                       HWND parent, UINT id) {
    const HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    // WM_NCCREATE attaches the window to this object before any other message of ours.
    if (!CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), this))
        throw Exception(L"Error creating window");
}

void Window::CreateSystem(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, const RECT& rect,
                          HWND parent, UINT id) {
    const HWND window = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top, parent,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                                        nullptr);
    if (!window) throw Exception(L"Error creating window");
    Attach(window);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Controls are told apart by their handle, never by their id: the dialog keys
        // send the ids 1 and 2 with no control behind them.
        if (Window* control = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
            control->OnCommand(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (Window* control = FromHandle(header.hwndFrom)) return control->OnNotify(header);
        break;
    }
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (created) created->Attach(window);
    }
    Window* self = FromHandle(window);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Detach();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // The event is over; what went wrong is the user's to see, and the program runs on.
        if (GetCapture()) ReleaseCapture();
        Application::HandleEventException(std::current_exception());
        return 0;
    }
}

void Window::Attach(HWND window) noexcept {
    handle_ = window;
    SetPropW(window, kObjectProperty, this);
}

void Window::Detach() noexcept {
    if (handle_) RemovePropW(handle_, kObjectProperty);
    handle_ = nullptr;
}

}  // namespace korventa::ui
