#pragma once
// Native windows tied to C++ objects. A window of one of our own classes sends every
// message to its object's HandleMessage; a system control (button, tab control) reports
// to its parent, which hands the notification to the control's object. Exceptions stop
// at the window procedure and go to the application's exception handling.

#include <windows.h>

namespace korventa::ui {

// Position and size in pixels at 96 dpi, relative to the parent's client area.
struct Bounds {
    int left, top, width, height;
};

// A design length at the given density: scaled by dpi/96 and rounded to the nearest pixel.
inline int ScaleToDpi(int designPixels, UINT dpi) { return MulDiv(designPixels, static_cast<int>(dpi), 96); }
RECT ScaleToDpi(const Bounds& bounds, UINT dpi);

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return handle_; }

    // The object of one of our windows, or null for any other window.
    static Window* FromHandle(HWND window) noexcept;

    // Notifications of a system control, passed on by its parent.
    virtual void OnCommand(WORD /*notification*/) {}
    virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }

protected:
    Window() = default;

    // Registers one of our window classes once; its messages reach HandleMessage.
    static void RegisterOwnClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon,
                                 HICON smallIcon);
    void CreateOwn(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, const RECT& rect,
                   HWND parent, UINT id);
    // A window of a system class; the object is found again through FromHandle.
    void CreateSystem(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, const RECT& rect,
                      HWND parent, UINT id);

    // For our own classes: the default passes notifications of child controls on to their
    // objects and leaves the rest to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window) noexcept;
    void Detach() noexcept;

    HWND handle_ = nullptr;
};

}  // namespace korventa::ui
