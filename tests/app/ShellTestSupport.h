#pragma once
// What the shell's tests share: bounded waiting, and the error boxes of a process found,
// read and dismissed the way a user would see and close them.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace korventa::test {

using namespace std::chrono_literals;

// Polls until the condition holds or the time is up; true when it held.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

inline std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// The first visible top-level window of the process with the class, or null.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        HWND found;
    } search{processId, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.processId || !IsWindowVisible(window) || ClassName(window) != s.className) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box as the user sees it.
struct ErrorBox {
    std::wstring text;
    std::wstring caption;
    HWND owner;
    bool ownerEnabled;
};

inline HWND FindErrorBox(DWORD processId) { return FindProcessWindow(processId, L"#32770"); }

inline ErrorBox ReadErrorBox(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
    const HWND owner = GetWindow(box, GW_OWNER);
    return {text, WindowText(box), owner, owner && IsWindowEnabled(owner) != FALSE};
}

// Presses OK and waits (bounded) until the box has gone.
inline bool DismissErrorBox(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); });
}

}  // namespace korventa::test
