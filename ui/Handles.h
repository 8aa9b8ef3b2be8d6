#pragma once
// Owners for the native handles the user interface takes: each releases what it holds
// on every path, exceptions included.

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace korventa::ui {

// One handle with the function that gives it back; movable, not copyable.
template <typename Handle, auto Release>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) noexcept : handle_(handle) {}
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    void Reset(Handle handle = Handle{}) noexcept {
        if (handle_ != Handle{}) Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }

using FontHandle = Unique<HFONT, DeleteGdiObject>;
using BitmapHandle = Unique<HBITMAP, DeleteGdiObject>;
using MemoryDc = Unique<HDC, DeleteDC>;

// A COM interface pointer that releases its reference.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    Interface* Get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    // For the out-parameter of a creating call; drops what was held.
    Interface** Receive() noexcept {
        Reset();
        return &pointer_;
    }
    void Reset() noexcept {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// COM on this thread for the lifetime of the object (the picture decoder needs it).
class ComApartment {
public:
    ComApartment() noexcept : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

// An object selected into a device context, put back when the scope ends.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The painting of one WM_PAINT: the region is validated even if drawing throws.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const noexcept { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// A window's device context borrowed for measuring.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace korventa::ui
